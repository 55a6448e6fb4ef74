# What wixl cannot write into Tarnby's MSI, as msibuild queries, one a line.
# The run entry for every user only when STARTWITHWINDOWS=1 is given.
UPDATE `Component` SET `Condition` = 'STARTWITHWINDOWS = 1' WHERE `Component` = 'StartWithWindows'
# The install folder at the end of the system PATH, taken away again at uninstall.
CREATE TABLE `Environment` (`Environment` CHAR(72) NOT NULL, `Name` CHAR(255) NOT NULL LOCALIZABLE, `Value` CHAR(255) LOCALIZABLE, `Component_` CHAR(72) NOT NULL PRIMARY KEY `Environment`)
INSERT INTO `Environment` (`Environment`, `Name`, `Value`, `Component_`) VALUES ('Path', '=-*PATH', '[~];[INSTALLFOLDER]', 'TarnbyCom')
INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES ('RemoveEnvironmentStrings', 3300)
INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES ('WriteEnvironmentStrings', 5200)
# An upgrade keeps Tarnby starting with Windows when the version before did,
# unless the command line says otherwise (51: set a property).
INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`) VALUES ('KeepStartWithWindows', 51, 'STARTWITHWINDOWS', '1')
INSERT INTO `InstallExecuteSequence` (`Action`, `Condition`, `Sequence`) VALUES ('KeepStartWithWindows', 'NOT STARTWITHWINDOWS AND MACHINERUN ~>< "\Tarnby\tarnby.exe"', 51)
# Public properties a managed install passes on to the installer's service.
UPDATE `Property` SET `Value` = 'WIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED;STARTWITHWINDOWS;MACHINERUN' WHERE `Property` = 'SecureCustomProperties'
