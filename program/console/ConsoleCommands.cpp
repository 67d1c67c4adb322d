#include "program/console/ConsoleCommands.h"

#include "library/error/NvException.h"
#include "library/framework/TextConversion.h"
#include "program/core/CLogFile.h"
#include "program/core/GhostFinder.h"
#include "program/core/GhostPstRemover.h"
#include "program/core/ProfileSection.h"
#include "program/core/ProfilesRoot.h"
#include "program/core/ReferencedSections.h"
#include "program/core/RegistryFailure.h"
#include "program/core/TargetUser.h"
#include "program/console/CmdCommandLine.h"
#include "program/console/ConsoleText.h"
#include "program/console/ExitCode.h"
#include "program/console/HelpText.h"
#include "program/console/TextRenderer.h"
#include "program/console/commands/BackupsCommand.h"
#include "program/console/commands/CheckCommand.h"
#include "program/console/commands/RepairCommand.h"
#include "program/console/commands/ScanCommand.h"
#include "program/console/commands/SignedInUsers.h"
#include "program/console/commands/RestoreCommand.h"
#include "program/console/JsonFields.h"
#include "program/console/JsonRenderer.h"
#include "program/console/JsonWriter.h"

#include <algorithm>
#include <functional>

namespace
{
// Writes what `report` says, as text or as a JSON document; the errors and
// warnings go to standard error as text either way. The report's exit code.
template <typename Report> int Print(const Report& report, bool json, ConsoleStream& out, ConsoleStream& err)
{
    TextRenderer::Printed printed = TextRenderer::Render(report);
    if (json)
        out.WriteUtf8(JsonRenderer::Render(report) + "\n");
    else
        out.WriteAnsi(printed.out);
    err.WriteAnsi(printed.err);
    return report.exitCode;
}

struct SectionRow
{
    CString id;
    CString displayName;
    CString provider;
    bool tied;
    bool ghost;
};

const char* CommandName(ConsoleCommand command)
{
    switch (command)
    {
    case ConsoleCommand::Help:
        return "help";
    case ConsoleCommand::List:
        return "list";
    case ConsoleCommand::Check:
        return "check";
    case ConsoleCommand::Repair:
        return "repair";
    case ConsoleCommand::Scan:
        return "scan";
    case ConsoleCommand::Backups:
        return "backups";
    case ConsoleCommand::Restore:
        return "restore";
    }
    return "";
}

// The "profiles" of a list: each profile's name and whether it is the default.
void AddProfileList(JsonWriter& json, const std::vector<CString>& profiles, const CString& defaultProfile)
{
    json.Key("profiles").BeginArray();
    for (const CString& profile : profiles)
    {
        json.BeginObject();
        AddString(json, "name", profile);
        json.Key("default").Bool(IsDefaultProfile(profile, defaultProfile));
        json.EndObject();
    }
    json.EndArray();
}

// One indented line a profile, the default one marked.
CString ProfileLines(const std::vector<CString>& profiles, const CString& defaultProfile)
{
    CString lines;
    for (const CString& profile : profiles)
        lines += "  " + profile + (IsDefaultProfile(profile, defaultProfile) ? "  (default)\n" : "\n");
    return lines;
}

} // namespace

ConsoleCommands::ConsoleCommands(ConsoleStream& out, ConsoleStream& err) : m_out(out), m_err(err)
{
}

int ConsoleCommands::Run(const ConsoleArguments& arguments)
{
    m_arguments = arguments;
    if (!arguments.userSid.IsEmpty())
    {
        LONG result = TargetUser::Choose(arguments.userSid);
        if (result != ERROR_SUCCESS)
            return RefuseUser(result);
    }
    switch (arguments.command)
    {
    case ConsoleCommand::Help:
        m_out.WriteAnsi(GetHelpText().c_str());
        return ExitCode::Clean;
    case ConsoleCommand::List:
        if (arguments.allUsers)
            return ListAllUsers();
        return arguments.profile.IsEmpty() ? ListProfiles() : ListSections();
    case ConsoleCommand::Check:
        return Check();
    case ConsoleCommand::Repair:
        return Repair();
    case ConsoleCommand::Scan:
        return Scan();
    case ConsoleCommand::Backups:
        return Backups();
    case ConsoleCommand::Restore:
        return Restore();
    }
    return ExitCode::OtherFailure;
}

int ConsoleCommands::RefuseUser(LONG result)
{
    CString user = Quote(m_arguments.user);
    if (m_arguments.user.CompareNoCase(m_arguments.userSid) != 0)
        user += " (" + m_arguments.userSid + ")";
    CString error = result == ERROR_FILE_NOT_FOUND
                        ? "the registry of the user " + user + " is not loaded; the user must be signed in."
                        : "the registry of the user " + user + " cannot be opened: " + RegistryFailureText(result, "");
    if (m_arguments.json)
    {
        JsonWriter json;
        BeginNamedDocument(json, CommandName(m_arguments.command), ExitCode::ProfileNotOpened, error,
                           m_arguments.profile, m_arguments.pst);
        AddString(json, "logFile", LogFilePath());
        WriteDocument(json);
    }
    WriteError(error);
    return ExitCode::ProfileNotOpened;
}

int ConsoleCommands::ListAllUsers()
{
    struct UserProfiles
    {
        CString sid;
        CString account;
        CString root;
        CString defaultProfile;
        CString error;
        std::vector<CString> profiles;
    };
    std::vector<UserProfiles> users;
    bool unreadable = false;
    CString error = ForEachSignedInUser([&] {
        UserProfiles user{
            TargetUser::Sid(), TargetUser::Account(), FullKey(GetProfilesRoot()), ReadDefaultProfile(), CString(), {}};
        user.profiles = ReadProfiles(user.error);
        unreadable = unreadable || !user.error.IsEmpty();
        users.push_back(user);
    });
    unreadable = unreadable || !error.IsEmpty();
    int exitCode = unreadable ? ExitCode::ProfileNotOpened : ExitCode::Clean;

    if (m_arguments.json)
    {
        JsonWriter json;
        BeginPlainDocument(json, "list", exitCode, error);
        json.Key("users").BeginArray();
        for (const UserProfiles& user : users)
        {
            json.BeginObject();
            AddString(json, "sid", user.sid);
            AddOptional(json, "account", user.account);
            AddString(json, "profilesRoot", user.root);
            AddOptional(json, "defaultProfile", user.defaultProfile);
            AddOptional(json, "error", user.error);
            AddProfileList(json, user.profiles, user.defaultProfile);
            json.EndObject();
        }
        json.EndArray();
        AddString(json, "logFile", LogFilePath());
        WriteDocument(json);
    }
    else
    {
        CString text =
            users.empty() ? CString("No signed-in user's registry was found below HKEY_USERS.\n") : CString();
        for (const UserProfiles& user : users)
        {
            text += UserLabel(user.sid, user.account) + ", " + user.root + ":\n";
            if (!user.error.IsEmpty())
                text += "  cannot be read: " + user.error + "\n";
            else if (user.profiles.empty())
                text += "  no Outlook profiles\n";
            text += ProfileLines(user.profiles, user.defaultProfile);
        }
        m_out.WriteAnsi(text);
    }
    if (!error.IsEmpty())
        WriteError(error);
    return exitCode;
}

int ConsoleCommands::ListProfiles()
{
    CString root = GetProfilesRoot();
    CString error;
    std::vector<CString> profiles = ReadProfiles(error);
    int exitCode = error.IsEmpty() ? ExitCode::Clean : ExitCode::ProfileNotOpened;
    CString defaultProfile = ReadDefaultProfile();

    if (m_arguments.json)
    {
        JsonWriter json;
        BeginNamedDocument(json, "list", exitCode, error, m_arguments.profile, m_arguments.pst);
        AddString(json, "profilesRoot", FullKey(root));
        AddOptional(json, "defaultProfile", defaultProfile);
        AddProfileList(json, profiles, defaultProfile);
        WriteDocument(json);
    }
    else if (error.IsEmpty())
    {
        if (profiles.empty())
        {
            m_out.WriteAnsi("No Outlook profiles were found in " + FullKey(root) + ".\n");
        }
        else
        {
            m_out.WriteAnsi("Outlook profiles in " + FullKey(root) + ":\n" + ProfileLines(profiles, defaultProfile));
        }
    }
    if (!error.IsEmpty())
        WriteError(error);
    return exitCode;
}

int ConsoleCommands::ListSections()
{
    const CString& profile = m_arguments.profile;
    CString path = GetProfileKeyPath(profile);
    CRegKeyEx profileKey;
    CRegKeyEx accountsKey;
    CString error;
    try
    {
        GhostPstRemover::OpenProfileKeys(path, profileKey, accountsKey);
    }
    catch (const Error::NvException& e)
    {
        error = e.GetText();
    }

    std::vector<SectionRow> rows;
    std::vector<CString> unreadableSections;
    ReferencedSections referenced;
    if (error.IsEmpty())
    {
        referenced.Collect(profileKey, accountsKey, false);
        std::vector<CString> names;
        profileKey.EnumSubKeys(names);
        for (const CString& name : names)
        {
            if (name.IsEmpty() || ProfileSection::IsReservedName(name))
                continue;
            ProfileSection section;
            if (section.Open(profileKey, name) != ERROR_SUCCESS)
            {
                unreadableSections.push_back(name);
                continue;
            }
            section.ReadTexts(false);
            if (section.GetDisplayName().IsEmpty() && section.GetProvider().IsEmpty())
                continue;
            section.ReadReferences(false);
            bool tied = referenced.FindTie(name, section.GetReference1(), section.GetReference2()) !=
                        ReferencedSections::Tie::None;
            rows.push_back({name, section.GetDisplayName(), section.GetProvider(), tied,
                            GhostFinder::IsCandidate(name, section, referenced)});
        }
    }
    int exitCode = error.IsEmpty() ? ExitCode::Clean : ExitCode::ProfileNotOpened;
    const std::vector<CString>& unreadableAccounts = referenced.GetFailedAccounts();

    if (m_arguments.json)
    {
        JsonWriter json;
        BeginNamedDocument(json, "list", exitCode, error, m_arguments.profile, m_arguments.pst);
        AddString(json, "profileKey", FullKey(path));
        json.Key("sections").BeginArray();
        for (const SectionRow& row : rows)
        {
            json.BeginObject();
            AddString(json, "id", row.id);
            AddString(json, "displayName", row.displayName);
            AddString(json, "provider", row.provider);
            json.Key("tied").Bool(row.tied);
            json.Key("ghost").Bool(row.ghost);
            json.EndObject();
        }
        json.EndArray();
        AddList(json, "unreadableAccounts", unreadableAccounts);
        AddList(json, "unreadableSections", unreadableSections);
        WriteDocument(json);
    }
    else if (error.IsEmpty())
    {
        if (rows.empty())
        {
            m_out.WriteAnsi("The profile " + Quote(profile) +
                            " has no section with a display name or a provider library.\n");
        }
        else
        {
            const CString idTitle = "SECTION";
            const CString tieTitle = "TIE";
            const CString ghostTitle = "GHOST";
            const CString providerTitle = "PROVIDER";
            size_t idWidth = Width(idTitle);
            size_t providerWidth = Width(providerTitle);
            for (const SectionRow& row : rows)
            {
                idWidth = std::max(idWidth, Width(row.id));
                providerWidth = std::max(providerWidth, Width(row.provider));
            }
            CString text = "Sections of the profile " + Quote(profile) +
                           " with a display name or a provider library\n(" + FullKey(path) + "):\n\n";
            text += Pad(idTitle, idWidth) + "  " + Pad(tieTitle, 6) + "  " + ghostTitle + "  " +
                    Pad(providerTitle, providerWidth) + "  DISPLAY NAME\n";
            for (const SectionRow& row : rows)
            {
                CString line = Pad(row.id, idWidth) + "  " + Pad(row.tied ? "tied" : "untied", 6) + "  " +
                               Pad(row.ghost ? "yes" : "no", Width(ghostTitle)) + "  " +
                               Pad(row.provider, providerWidth) + "  ";
                // No blanks at the end of a line without a display name; a
                // display name keeps its own, which the check compares.
                text += (row.displayName.IsEmpty() ? line.TrimRight() : line + row.displayName) + "\n";
            }
            m_out.WriteAnsi(text);
        }
    }
    if (!error.IsEmpty())
        WriteError(error);
    for (const CString& account : unreadableAccounts)
        WriteWarning("the account key " + Quote(account) +
                     " cannot be read; sections tied only through it show as untied.");
    for (const CString& section : unreadableSections)
        WriteWarning("the section " + Quote(section) + " cannot be opened.");
    return exitCode;
}

int ConsoleCommands::Check()
{
    return Print(CheckCommand::Run(m_arguments), m_arguments.json, m_out, m_err);
}

int ConsoleCommands::Repair()
{
    return Print(RepairCommand::Run(m_arguments), m_arguments.json, m_out, m_err);
}

int ConsoleCommands::Scan()
{
    return Print(ScanCommand::Run(m_arguments), m_arguments.json, m_out, m_err);
}

void ConsoleCommands::WriteDocument(JsonWriter& json) const
{
    json.EndObject();
    m_out.WriteUtf8(json.GetText() + "\n");
}

void ConsoleCommands::WriteError(const CString& message) const
{
    m_err.WriteAnsi(ErrorLine(message));
}

void ConsoleCommands::WriteWarning(const CString& message) const
{
    m_err.WriteAnsi(WarningLine(message));
}

int ConsoleCommands::Backups()
{
    return Print(BackupsCommand::Run(m_arguments), m_arguments.json, m_out, m_err);
}

int ConsoleCommands::Restore()
{
    return Print(RestoreCommand::Run(m_arguments), m_arguments.json, m_out, m_err);
}
