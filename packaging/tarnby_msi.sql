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
# Uninstalling takes away the user's own run entry when it starts this
# folder's tarnby.exe, written as Tarnby's "Start with Windows" writes it; an
# entry naming anything else stays. An upgrade writes it back after the older
# version has gone, as it does the machine-wide one: Wine's installer removes
# the older version without telling it that it is being replaced. reg.exe runs
# as the user who installs, once all else is done, so that it can neither undo
# nor fail the install (34: a program; 64: its result is ignored). Wine's
# installer reads a quoted value only up to its closing quote.
INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`) VALUES ('SetTarnbyRun', 51, 'TarnbyRun', '"[INSTALLFOLDER]tarnby.exe"')
INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES ('SetTarnbyRun', 1001)
INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`) VALUES ('SetTarnbyRunRead', 51, 'TarnbyRunRead', '"[INSTALLFOLDER]tarnby.exe')
INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES ('SetTarnbyRunRead', 1002)
INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`) VALUES ('RemoveUserRun', 98, 'System64Folder', '"[System64Folder]reg.exe" delete "HKCU\Software\Microsoft\Windows\CurrentVersion\Run" /v Tarnby /f')
INSERT INTO `InstallExecuteSequence` (`Action`, `Condition`, `Sequence`) VALUES ('RemoveUserRun', 'REMOVE~="ALL" AND (USERRUN ~= TarnbyRun OR USERRUN ~= TarnbyRunRead)', 6601)
INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`) VALUES ('KeepUserRun', 98, 'System64Folder', '"[System64Folder]reg.exe" add "HKCU\Software\Microsoft\Windows\CurrentVersion\Run" /v Tarnby /d "\"[INSTALLFOLDER]tarnby.exe\"" /f')
INSERT INTO `InstallExecuteSequence` (`Action`, `Condition`, `Sequence`) VALUES ('KeepUserRun', 'WIX_UPGRADE_DETECTED AND (USERRUN ~= TarnbyRun OR USERRUN ~= TarnbyRunRead)', 6602)
# Public properties a managed install passes on to the installer's service.
UPDATE `Property` SET `Value` = 'WIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED;STARTWITHWINDOWS;MACHINERUN;USERRUN' WHERE `Property` = 'SecureCustomProperties'
