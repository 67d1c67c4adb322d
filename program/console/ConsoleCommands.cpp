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

// How long a scan waits for the answers about its ghosts' files, all asked
// at once: a file on a server that is gone answers when the network gives
// up, tens of seconds later on Windows.
const DWORD FileQuestionBoundMs = 5000;

struct SectionRow
{
    CString id;
    CString displayName;
    CString provider;
    bool tied;
    bool ghost;
};

struct ProfileScan
{
    enum class Reading
    {
        Complete,
        // Some sections did not open; the candidates found stand.
        SectionsMissing,
        // An account or a listing was not read: no candidate counts.
        Withheld,
        // The profile key or its accounts key did not open.
        Failed,
    };

    CString name;
    bool isDefault = false;
    Reading reading = Reading::Complete;
    // Why the profile could not be read, or not completely; empty when it
    // was. The message on standard error says the same.
    CString error;
    CString message;
    std::vector<GhostFinder::Candidate> candidates;
};

// A key below the target user's root as the registry editor names it.
CString FullKey(const CString& path)
{
    return TargetUser::RootName() + "\\" + path;
}

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

// Runs `read` with each signed-in user chosen in turn, then works on the
// caller's own registry again; why HKEY_USERS cannot be listed, or empty.
CString ForEachSignedInUser(const std::function<void()>& read)
{
    std::vector<CString> sids;
    LONG listing = TargetUser::ListSignedInUsers(sids);
    for (const CString& sid : sids)
    {
        // A user who signed out since the listing is no longer there.
        if (TargetUser::Choose(sid) == ERROR_SUCCESS)
            read();
    }
    TargetUser::ChooseCaller();
    return listing == ERROR_SUCCESS ? CString() : RegistryFailureText(listing, "HKEY_USERS cannot be listed.");
}

// A user as the text output names one: the account and the SID, or the SID.
CString UserLabel(const CString& sid, const CString& account)
{
    return account.IsEmpty() ? sid : account + " (" + sid + ")";
}

// The profiles of the root in force in the window's order; none, with the
// reason in `error`, when the root does not open.
std::vector<CString> ReadProfiles(CString& error)
{
    std::vector<CString> profiles;
    try
    {
        profiles = ListProfiles();
    }
    catch (const Error::NvException& e)
    {
        error = e.GetText();
    }
    SortAsProfileList(profiles);
    return profiles;
}

bool IsDefaultProfile(const CString& name, const CString& defaultProfile)
{
    return !defaultProfile.IsEmpty() && name.CompareNoCase(defaultProfile) == 0;
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

// The candidates' display names, each once ignoring letter case: one repair
// by name removes every candidate of that name.
std::vector<CString> DistinctNames(const std::vector<GhostFinder::Candidate>& candidates)
{
    std::vector<CString> names;
    for (const GhostFinder::Candidate& candidate : candidates)
    {
        auto same = [&](const CString& name) { return name.CompareNoCase(candidate.displayName) == 0; };
        if (std::none_of(names.begin(), names.end(), same))
            names.push_back(candidate.displayName);
    }
    return names;
}

// Candidates that a reading with an unread account gives may be live stores,
// tied only through it: they are withheld. A section that does not open
// leaves the others' ties as they are, so what was found stands, but "none"
// cannot be said.
ProfileScan ScanProfile(const CString& name, bool isDefault)
{
    ProfileScan scan;
    scan.name = name;
    scan.isDefault = isDefault;
    GhostFinder::Result result;
    try
    {
        result = GhostFinder::Find(name);
    }
    catch (const Error::NvException& e)
    {
        scan.reading = ProfileScan::Reading::Failed;
        scan.error = e.GetText();
        scan.message = "the profile " + Quote(name) + " cannot be read: " + scan.error;
        return scan;
    }
    CString reasons = result.incomplete;
    for (const CString& section : result.unopenedSections)
        reasons += (reasons.IsEmpty() ? "" : "; ") + CString("the section ") + Quote(section) + " cannot be opened";
    CString consequence;
    if (!result.incomplete.IsEmpty())
    {
        scan.reading = ProfileScan::Reading::Withheld;
        consequence = "A store tied only through what was not read would look like a ghost, so none is offered.";
    }
    else
    {
        scan.candidates = std::move(result.candidates);
        if (!result.unopenedSections.empty())
            scan.reading = ProfileScan::Reading::SectionsMissing;
        consequence = "A section that does not open may be a ghost store that is not listed.";
    }
    if (scan.reading != ProfileScan::Reading::Complete)
    {
        CString detail = "cannot be read completely: " + reasons + ". " + consequence;
        scan.error = "The profile " + detail;
        scan.message = "the profile " + Quote(name) + " " + detail;
    }
    return scan;
}

// The ghosts of every profile of the target user.
struct UserScan
{
    CString sid;
    CString account;
    // The profiles key in force, named in full.
    CString root;
    // Why the profiles key cannot be read; empty when it was.
    CString error;
    std::vector<ProfileScan> scans;
    bool unreadable = false;
    bool found = false;
};

UserScan ScanTargetUser()
{
    UserScan user;
    user.sid = TargetUser::Sid();
    user.account = TargetUser::Account();
    user.root = FullKey(GetProfilesRoot());
    std::vector<CString> profiles = ReadProfiles(user.error);
    CString defaultProfile = ReadDefaultProfile();
    user.unreadable = !user.error.IsEmpty();
    for (const CString& profile : profiles)
    {
        user.scans.push_back(ScanProfile(profile, IsDefaultProfile(profile, defaultProfile)));
        user.unreadable = user.unreadable || !user.scans.back().error.IsEmpty();
        user.found = user.found || !user.scans.back().candidates.empty();
    }
    std::vector<GhostFinder::Candidate*> candidates;
    for (ProfileScan& scan : user.scans)
    {
        for (GhostFinder::Candidate& candidate : scan.candidates)
            candidates.push_back(&candidate);
    }
    GhostFinder::AskFiles(candidates, FileQuestionBoundMs);
    return user;
}

void AddScannedProfiles(JsonWriter& json, const std::vector<ProfileScan>& scans)
{
    json.Key("profiles").BeginArray();
    for (const ProfileScan& scan : scans)
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

// The text of each profile's ghosts; the commands that repair them are
// added to `repairs`, with --user `sid` unless it is empty.
CString ScannedProfilesText(const std::vector<ProfileScan>& scans, const CString& sid, CString& repairs)
{
    CString text;
    for (const ProfileScan& scan : scans)
    {
        text += "\n" + Quote(scan.name) + (scan.isDefault ? " (default)" : "");
        if (scan.reading == ProfileScan::Reading::Failed)
            text += ": cannot be read\n";
        else if (scan.reading == ProfileScan::Reading::Withheld)
            text += ": cannot be read completely\n";
        else if (!scan.candidates.empty())
            text += ":\n";
        else if (scan.reading == ProfileScan::Reading::SectionsMissing)
            text += ": none found, but not every section could be read\n";
        else
            text += ": none\n";
        for (const GhostFinder::Candidate& candidate : scan.candidates)
        {
            CString file = candidate.pstPath.IsEmpty() ? CString("(no PST file named)")
                           : !candidate.pstFileExists  ? candidate.pstPath + " (no answer in time)"
                           : *candidate.pstFileExists  ? candidate.pstPath
                                                       : candidate.pstPath + " (missing)";
            text += "  " + candidate.section + "  " + Quote(candidate.displayName) + "  " + file + "\n";
        }
        for (const CString& name : DistinctNames(scan.candidates))
        {
            std::vector<std::pair<CString, CString>> options;
            if (!sid.IsEmpty())
                options.emplace_back("--user", sid);
            options.emplace_back("--profile", scan.name);
            options.emplace_back("--pst", name);
            CString command = CmdCommandLine("straysweep repair", options);
            repairs += command.IsEmpty() ? "  The PST " + Quote(name) + " of the profile " + Quote(scan.name) +
                                               ": no command line can carry these names safely; repair it "
                                               "with the names that \"straysweep scan --json\" gives.\n"
                                         : "  " + command + "\n";
        }
    }
    return text;
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
    if (m_arguments.allUsers)
        return ScanAllUsers();
    UserScan user = ScanTargetUser();
    int exitCode = user.found        ? ExitCode::InvalidSections
                   : user.unreadable ? ExitCode::ProfileNotOpened
                                     : ExitCode::Clean;

    if (m_arguments.json)
    {
        JsonWriter json;
        BeginPlainDocument(json, "scan", exitCode, user.error);
        AddScannedProfiles(json, user.scans);
        AddString(json, "logFile", LogFilePath());
        WriteDocument(json);
    }
    else if (user.error.IsEmpty())
    {
        CString text;
        if (user.scans.empty())
            text = "No Outlook profiles were found in " + user.root + ".\n";
        else
            text = "Ghost PST stores in the Outlook profiles of " + user.root + ":\n";
        CString repairs;
        text += ScannedProfilesText(user.scans, {}, repairs);
        if (!repairs.IsEmpty())
            text += "\nTo remove them, close Outlook and run:\n" + repairs;
        m_out.WriteAnsi(text);
    }
    if (!user.error.IsEmpty())
        WriteError(user.error);
    for (const ProfileScan& scan : user.scans)
    {
        if (!scan.message.IsEmpty())
            WriteError(scan.message);
    }
    return exitCode;
}

int ConsoleCommands::ScanAllUsers()
{
    std::vector<UserScan> users;
    bool unreadable = false;
    bool found = false;
    CString error = ForEachSignedInUser([&] {
        users.push_back(ScanTargetUser());
        unreadable = unreadable || users.back().unreadable;
        found = found || users.back().found;
    });
    unreadable = unreadable || !error.IsEmpty();
    int exitCode = found ? ExitCode::InvalidSections : unreadable ? ExitCode::ProfileNotOpened : ExitCode::Clean;

    if (m_arguments.json)
    {
        JsonWriter json;
        BeginPlainDocument(json, "scan", exitCode, error);
        json.Key("users").BeginArray();
        for (const UserScan& user : users)
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
        AddString(json, "logFile", LogFilePath());
        WriteDocument(json);
    }
    else
    {
        CString text = users.empty() ? CString("No signed-in user's registry was found below HKEY_USERS.\n")
                                     : CString("Ghost PST stores of the signed-in users:\n");
        CString repairs;
        for (const UserScan& user : users)
        {
            text += "\n" + UserLabel(user.sid, user.account) + ", " + user.root + ":\n";
            if (!user.error.IsEmpty())
                text += "  cannot be read\n";
            else if (user.scans.empty())
                text += "  no Outlook profiles\n";
            text += ScannedProfilesText(user.scans, user.sid, repairs);
        }
        if (!repairs.IsEmpty())
            text += "\nTo remove them, close Outlook and run:\n" + repairs;
        m_out.WriteAnsi(text);
    }
    if (!error.IsEmpty())
        WriteError(error);
    for (const UserScan& user : users)
    {
        if (!user.error.IsEmpty())
            WriteError("the profiles of " + user.sid + " cannot be read: " + user.error);
        for (const ProfileScan& scan : user.scans)
        {
            if (!scan.message.IsEmpty())
                WriteError(scan.message);
        }
    }
    return exitCode;
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
