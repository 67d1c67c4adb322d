#include "program/console/commands/BackupsCommand.h"

#include "library/base/NameComparison.h"
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
    report.error = AnsiToWide(RegistryBackupFile::ListBackupFolder(folder, all));
    report.folder = AnsiToWide(folder);
    const std::wstring& profile = arguments.profile;
    // Another user's are the backups of keys below that user's hive.
    std::wstring userRoot = TargetUser::RootName();
    bool ofUser = !TargetUser::Sid().IsEmpty();
    for (const RegistryBackupFile& backup : all)
    {
        if ((profile.empty() || SameName(backup.GetProfile(), profile)) &&
            (!ofUser || RegistryScript::IsAtOrBelow(backup.GetKey(), userRoot)))
            report.backups.push_back({AnsiToWide(backup.GetFile()), AnsiToWide(backup.GetTaken()), backup.GetProfile(),
                                      backup.GetKey(), backup.GetBytes(), backup.IsComplete()});
    }
    report.exitCode = report.error.empty() ? ExitCode::Clean : ExitCode::ProfileNotOpened;
    return report;
}
