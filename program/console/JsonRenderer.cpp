#include "program/console/JsonRenderer.h"

#include "program/console/ConsoleText.h"
#include "program/console/JsonFields.h"
#include "program/console/JsonWriter.h"

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
        AddWide(json, "profile", backup.profile);
        AddWide(json, "key", backup.key);
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
    AddWide(json, "profile", report.profile);
    AddOptional(json, "file", report.file);
    AddOptional(json, "backupFile", report.backupFile);
    AddWideList(json, "added", report.added);
    AddWideList(json, "missing", report.missing);
    AddString(json, "logFile", LogFilePath());
    json.EndObject();
    return json.GetText();
}
