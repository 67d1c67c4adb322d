#include "program/console/JsonRenderer.h"

#include "program/console/ConsoleText.h"
#include "program/console/JsonFields.h"
#include "program/console/JsonWriter.h"
#include "program/console/commands/SignedInUsers.h"

namespace
{
// The "profiles" of a list: each profile's name and whether it is the default.
void AddProfileList(JsonWriter& json, const ListCommand::Profiles& user)
{
    json.Key("profiles").BeginArray();
    for (const std::wstring& profile : user.profiles)
    {
        json.BeginObject();
        AddString(json, "name", profile);
        json.Key("default").Bool(IsDefaultProfile(profile, user.defaultProfile));
        json.EndObject();
    }
    json.EndArray();
}

void AddScannedProfiles(JsonWriter& json, const std::vector<ScanCommand::ProfileScan>& scans)
{
    json.Key("profiles").BeginArray();
    for (const ScanCommand::ProfileScan& scan : scans)
    {
        json.BeginObject();
        AddString(json, "name", scan.name);
        json.Key("default").Bool(scan.isDefault);
        AddOptional(json, "error", scan.error);
        json.Key("candidates").BeginArray();
        for (const GhostFinder::Candidate& candidate : scan.candidates)
        {
            json.BeginObject();
            AddString(json, "section", candidate.section);
            AddString(json, "displayName", candidate.displayName);
            AddOptional(json, "pstPath", candidate.pstPath);
            json.Key("pstFileExists");
            if (candidate.pstFileExists)
                json.Bool(*candidate.pstFileExists);
            else
                json.Null();
            json.EndObject();
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
}
} // namespace

std::string JsonRenderer::Render(const UserChoice::Report& report)
{
    JsonWriter json;
    BeginNamedDocument(json, report.command, report.exitCode, report.error, report.profile, report.pst);
    AddString(json, "logFile", LogFilePath());
    json.EndObject();
    return json.GetText();
}

std::string JsonRenderer::Render(const ListCommand::ProfilesReport& report)
{
    JsonWriter json;
    BeginNamedDocument(json, "list", report.exitCode, report.error, report.profile, report.pst);
    AddString(json, "profilesRoot", report.user.root);
    AddOptional(json, "defaultProfile", report.user.defaultProfile);
    AddProfileList(json, report.user);
    json.EndObject();
    return json.GetText();
}

std::string JsonRenderer::Render(const ListCommand::UsersReport& report)
{
    JsonWriter json;
    BeginPlainDocument(json, "list", report.exitCode, report.error);
    json.Key("users").BeginArray();
    for (const ListCommand::Profiles& user : report.users)
    {
        json.BeginObject();
        AddString(json, "sid", user.sid);
        AddOptional(json, "account", user.account);
        AddString(json, "profilesRoot", user.root);
        AddOptional(json, "defaultProfile", user.defaultProfile);
        AddOptional(json, "error", user.error);
        AddProfileList(json, user);
        json.EndObject();
    }
    json.EndArray();
    AddString(json, "logFile", LogFilePath());
    json.EndObject();
    return json.GetText();
}

std::string JsonRenderer::Render(const ListCommand::SectionsReport& report)
{
    JsonWriter json;
    BeginNamedDocument(json, "list", report.exitCode, report.error, report.profile, report.pst);
    AddString(json, "profileKey", report.profileKey);
    json.Key("sections").BeginArray();
    for (const ListCommand::Section& section : report.sections)
    {
        json.BeginObject();
        AddString(json, "id", section.id);
        AddString(json, "displayName", section.displayName);
        AddString(json, "provider", section.provider);
        json.Key("tied").Bool(section.tied);
        json.Key("ghost").Bool(section.ghost);
        json.EndObject();
    }
    json.EndArray();
    AddList(json, "unreadableAccounts", report.unreadableAccounts);
    AddList(json, "unreadableSections", report.unreadableSections);
    json.EndObject();
    return json.GetText();
}

std::string JsonRenderer::Render(const CheckCommand::Report& report)
{
    JsonWriter json;
    BeginNamedDocument(json, "check", report.exitCode, report.error, report.profile, report.pst);
    AddList(json, "invalidSections", report.invalidSections);
    AddString(json, "logFile", LogFilePath());
    json.EndObject();
    return json.GetText();
}

std::string JsonRenderer::Render(const RepairCommand::Report& report)
{
    JsonWriter json;
    BeginNamedDocument(json, "repair", report.exitCode, report.error, report.profile, report.pst);
    AddOptional(json, "backupFile", report.backupFile);
    AddOptional(json, "backupError", report.backupError);
    AddList(json, "removedSections", report.removedSections);
    AddList(json, "failedSections", report.failedSections);
    AddString(json, "logFile", LogFilePath());
    json.EndObject();
    return json.GetText();
}

std::string JsonRenderer::Render(const ScanCommand::Report& report)
{
    JsonWriter json;
    BeginPlainDocument(json, "scan", report.exitCode, report.error);
    if (!report.allUsers)
    {
        AddScannedProfiles(json, report.users[0].scans);
    }
    else
    {
        json.Key("users").BeginArray();
        for (const ScanCommand::UserScan& user : report.users)
        {
            json.BeginObject();
            AddString(json, "sid", user.sid);
            AddOptional(json, "account", user.account);
            AddString(json, "profilesKey", user.root);
            AddOptional(json, "error", user.error);
            AddScannedProfiles(json, user.scans);
            json.EndObject();
        }
        json.EndArray();
    }
    AddString(json, "logFile", LogFilePath());
    json.EndObject();
    return json.GetText();
}

std::string JsonRenderer::Render(const BackupsCommand::Report& report)
{
    JsonWriter json;
    BeginPlainDocument(json, "backups", report.exitCode, report.error);
    json.Key("backups").BeginArray();
    for (const BackupsCommand::Backup& backup : report.backups)
    {
        json.BeginObject();
        AddString(json, "file", backup.file);
        AddOptional(json, "taken", backup.taken);
        AddOptional(json, "profile", backup.profile);
        AddOptional(json, "key", backup.key);
        json.Key("bytes").Number(static_cast<long long>(backup.bytes));
        json.Key("complete").Bool(backup.complete);
        json.EndObject();
    }
    json.EndArray();
    AddString(json, "logFile", LogFilePath());
    json.EndObject();
    return json.GetText();
}

std::string JsonRenderer::Render(const RestoreCommand::Report& report)
{
    JsonWriter json;
    BeginPlainDocument(json, "restore", report.exitCode, report.error);
    AddOptional(json, "profile", report.profile);
    AddOptional(json, "file", report.file);
    AddOptional(json, "backupFile", report.backupFile);
    AddList(json, "added", report.added);
    AddList(json, "missing", report.missing);
    AddString(json, "logFile", LogFilePath());
    json.EndObject();
    return json.GetText();
}
