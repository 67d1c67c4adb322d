#include "program/console/commands/BackupsCommand.h"

#include "library/base/TextConversion.h"
#include "library/registry/RegistryScript.h"
#include "program/console/ExitCode.h"
#include "program/core/RegistryBackupFile.h"
#include "program/core/TargetUser.h"

BackupsCommand::Report BackupsCommand::Run(const ConsoleArguments& arguments)
{
    Report report;
    report.profile = arguments.profile;
    NvFsPath folder;
    std::vector<RegistryBackupFile> all;
    report.error = RegistryBackupFile::ListBackupFolder(folder, all);
    report.folder = folder;
    std::wstring profile = AnsiToWide(arguments.profile);
    // Another user's are the backups of keys below that user's hive.
    std::wstring userRoot = AnsiToWide(TargetUser::RootName());
    bool ofUser = !TargetUser::Sid().IsEmpty();
    for (const RegistryBackupFile& backup : all)
    {
        if ((profile.empty() || RegistryScript::SameName(backup.GetProfile(), profile)) &&
            (!ofUser || RegistryScript::IsAtOrBelow(backup.GetKey(), userRoot)))
            report.backups.push_back({backup.GetFile(), backup.GetTaken(), backup.GetProfile(), backup.GetKey(),
                                      backup.GetBytes(), backup.IsComplete()});
    }
    report.exitCode = report.error.IsEmpty() ? ExitCode::Clean : ExitCode::ProfileNotOpened;
    return report;
}
