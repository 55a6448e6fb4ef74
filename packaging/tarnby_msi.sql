# What wixl cannot write into Tarnby's MSI, as msibuild queries, one a line.
# The run entry for every user only when STARTWITHWINDOWS=1 is given.
UPDATE `Component` SET `Condition` = 'STARTWITHWINDOWS = 1' WHERE `Component` = 'StartWithWindows'
# The install folder at the end of the system PATH, taken away again at uninstall.
CREATE TABLE `Environment` (`Environment` CHAR(72) NOT NULL, `Name` CHAR(255) NOT NULL LOCALIZABLE, `Value` CHAR(255) LOCALIZABLE, `Component_` CHAR(72) NOT NULL PRIMARY KEY `Environment`)
INSERT INTO `Environment` (`Environment`, `Name`, `Value`, `Component_`) VALUES ('Path', '=-*PATH', '[~];[INSTALLFOLDER]', 'TarnbyCom')
INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES ('RemoveEnvironmentStrings', 3300)
INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES ('WriteEnvironmentStrings', 5200)
# This folder's tarnby.exe as a run entry names it: bare, quoted, and quoted
# as Wine's installer reads it (up to the closing quote only). Known before the
# installer works out its folders, where an entry decides whether the
# component is installed.
INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`) VALUES ('SetTarnbyExe', 51, 'TarnbyExe', '[ProgramFiles64Folder]Tarnby\tarnby.exe')
INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES ('SetTarnbyExe', 46)
INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`) VALUES ('SetTarnbyRun', 51, 'TarnbyRun', '"[TarnbyExe]"')
INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES ('SetTarnbyRun', 47)
INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`) VALUES ('SetTarnbyRunRead', 51, 'TarnbyRunRead', '"[TarnbyExe]')
INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES ('SetTarnbyRunRead', 48)
# An upgrade keeps Tarnby starting with Windows when the version before did,
# unless the command line says otherwise (51: set a property); an entry for a
# copy of Tarnby elsewhere is not taken over. Not at uninstall, where it would
# hand the entry to a component never installed.
INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`) VALUES ('KeepStartWithWindows', 51, 'STARTWITHWINDOWS', '1')
INSERT INTO `InstallExecuteSequence` (`Action`, `Condition`, `Sequence`) VALUES ('KeepStartWithWindows', 'NOT Installed AND NOT STARTWITHWINDOWS AND (MACHINERUN ~= TarnbyExe OR MACHINERUN ~= TarnbyRun OR MACHINERUN ~= TarnbyRunRead)', 51)
# Uninstalling takes away the run entries that start this tarnby.exe; an entry
# naming anything else stays. reg.exe, its result ignored (34: a program; 64),
# takes away the machine-wide one as the system inside the uninstall (1024 +
# 2048), and the user's own as the user who uninstalls, once all else is done.
# An upgrade writes the user's back after the older version has gone, as it
# does the machine-wide one: Wine's installer removes the older version
# without telling it that it is being replaced.
INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`) VALUES ('RemoveMachineRun', 3170, 'System64Folder', '"[System64Folder]reg.exe" delete "HKLM\Software\Microsoft\Windows\CurrentVersion\Run" /v Tarnby /f')
INSERT INTO `InstallExecuteSequence` (`Action`, `Condition`, `Sequence`) VALUES ('RemoveMachineRun', 'REMOVE~="ALL" AND (MACHINERUN ~= TarnbyExe OR MACHINERUN ~= TarnbyRun OR MACHINERUN ~= TarnbyRunRead)', 6599)
INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`) VALUES ('RemoveUserRun', 98, 'System64Folder', '"[System64Folder]reg.exe" delete "HKCU\Software\Microsoft\Windows\CurrentVersion\Run" /v Tarnby /f')
INSERT INTO `InstallExecuteSequence` (`Action`, `Condition`, `Sequence`) VALUES ('RemoveUserRun', 'REMOVE~="ALL" AND (USERRUN ~= TarnbyExe OR USERRUN ~= TarnbyRun OR USERRUN ~= TarnbyRunRead)', 6601)
INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`) VALUES ('KeepUserRun', 98, 'System64Folder', '"[System64Folder]reg.exe" add "HKCU\Software\Microsoft\Windows\CurrentVersion\Run" /v Tarnby /d "\"[INSTALLFOLDER]tarnby.exe\"" /f')
INSERT INTO `InstallExecuteSequence` (`Action`, `Condition`, `Sequence`) VALUES ('KeepUserRun', 'WIX_UPGRADE_DETECTED AND (USERRUN ~= TarnbyExe OR USERRUN ~= TarnbyRun OR USERRUN ~= TarnbyRunRead)', 6602)
# Public properties a managed install passes on to the installer's service.
UPDATE `Property` SET `Value` = 'WIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED;STARTWITHWINDOWS;MACHINERUN;USERRUN' WHERE `Property` = 'SecureCustomProperties'
