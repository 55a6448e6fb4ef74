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
# Uninstalling takes away the run entries that start a program in this folder,
# Tarnby's own switch wrote them too; an entry for a copy elsewhere stays, and
# an upgrade keeps them. reg.exe in the installer's deferred script: the
# machine's as the system (34 + 64 ignore the result + 1024 deferred + 2048 no
# impersonation), the user's own as the user who uninstalls.
INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`) VALUES ('RemoveMachineRun', 3170, 'System64Folder', '"[System64Folder]reg.exe" delete "HKLM\Software\Microsoft\Windows\CurrentVersion\Run" /v Tarnby /f')
INSERT INTO `InstallExecuteSequence` (`Action`, `Condition`, `Sequence`) VALUES ('RemoveMachineRun', 'REMOVE~="ALL" AND NOT UPGRADINGPRODUCTCODE AND MACHINERUN ~>< INSTALLFOLDER', 2610)
INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`) VALUES ('RemoveUserRun', 1122, 'System64Folder', '"[System64Folder]reg.exe" delete "HKCU\Software\Microsoft\Windows\CurrentVersion\Run" /v Tarnby /f')
INSERT INTO `InstallExecuteSequence` (`Action`, `Condition`, `Sequence`) VALUES ('RemoveUserRun', 'REMOVE~="ALL" AND NOT UPGRADINGPRODUCTCODE AND USERRUN ~>< INSTALLFOLDER', 2620)
# Public properties a managed install passes on to the installer's service.
UPDATE `Property` SET `Value` = 'WIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED;STARTWITHWINDOWS;MACHINERUN;USERRUN' WHERE `Property` = 'SecureCustomProperties'
