#include "library/base/TextConversion.h"
#include "library/fs/CFileVersionInfo.h"
#include "program/console/HelpText.h"
#include "program/core/CLogFile.h"
#include "program/core/ProductFolder.h"
#include "tests/program/console/JsonValue.h"
#include "tests/program/console/LiveProfile.h"
#include "tests/program/console/ScopedRegistryText.h"
#include "tests/program/console/SecondUserHive.h"
#include "tests/program/console/StraysweepProcess.h"
#include "tests/support/BackupFolderAside.h"
#include "tests/support/KeptFile.h"
#include "tests/support/NewBackups.h"
#include "tests/support/LogTail.h"
#include "tests/support/RegistryTools.h"
#include "tests/support/StandInProcess.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TemporaryKey.h"
#include "resources/resource.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <thread>

#include <gtest/gtest.h>

// The command line program runs as a process of its own, on profiles under
// the real profiles root of the test prefix; every test takes the locks
// profilesroot, datafolder and processlist.
namespace
{
const char* const Pst = "Archiwum";
const char* const Office16Key = "HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\16.0\\Outlook\\Profiles\\";

std::string Id(char digit)
{
    return std::string(32, digit);
}

// Text as the program writes it to a pipe: every line ends in CR LF.
std::string Crlf(const std::string& text)
{
    std::string result;
    for (char ch : text)
    {
        if (ch == '\n')
            result += '\r';
        result += ch;
    }
    return result;
}

// The message of the engine's failure to open a profile of the root in force.
std::string OpenFailed(const std::string& profileName)
{
    return "Failed to open registry key \"" + std::string(Office16Key) + profileName +
           "\". Ensure you have read access to this key.";
}

std::vector<std::string> StartLines()
{
    return {"Info:  ", "Info: -------------------------------------------------", "Info: Program started."};
}

// The log of a whole run: the start lines, `action`, then the exit line.
std::vector<std::string> LoggedRun(const std::vector<std::string>& action)
{
    std::vector<std::string> lines = StartLines();
    lines.insert(lines.end(), action.begin(), action.end());
    lines.push_back("Info: Program exit.");
    return lines;
}

std::string Utf8(const std::string& ansi)
{
    std::wstring wide = Wide(ansi);
    int length = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &utf8[0], length, nullptr, nullptr);
    utf8.resize(utf8.size() - 1);
    return utf8;
}

std::vector<std::wstring> Args(std::initializer_list<std::string> arguments)
{
    std::vector<std::wstring> wide;
    for (const std::string& argument : arguments)
        wide.push_back(Wide(argument));
    return wide;
}

std::vector<std::string> Strings(const JsonValue& array)
{
    std::vector<std::string> strings;
    for (const JsonValue& element : array.AsArray())
        strings.push_back(element.AsString());
    return strings;
}

JsonValue ParseOutput(const StraysweepRun& run)
{
    EXPECT_EQ("\r\n", run.out.substr(run.out.size() < 2 ? 0 : run.out.size() - 2)) << "one document, one line";
    try
    {
        return JsonValue::Parse(run.out);
    }
    catch (const std::exception& e)
    {
        ADD_FAILURE() << e.what() << "\n" << run.out;
        throw;
    }
}

// One account ("Jan") whose service Id('1') refers to the store Id('2');
// Id('3') names the store (tied by reference 2); Id('4') carries the name in
// the narrow form and is tied to nothing: the ghost. Id('5') is another
// store, Id('6') has only a provider library, Id('7') nothing the list
// shows; the reserved store section carries a name but is no section.
void AddStandardSections(ProfileTreeBuilder& profile)
{
    profile.AddAccount("0001", "Jan", Id('1'));
    profile.AddService(Id('1'), Id('2'));
    profile.AddSection(Id('2'), SectionValues().WideDisplayName(Pst).WideProvider("mspst.dll"));
    profile.AddSection(Id('3'), SectionValues().WideDisplayName("ARCHIWUM").Reference1(Id('9')).Reference2(Id('2')));
    profile.AddSection(Id('4'), SectionValues().NarrowDisplayName(Pst).NarrowProvider("mspst.dll"));
    profile.AddSection(Id('5'), SectionValues().WideDisplayName("Kontakty").WideProvider("mspst.dll"));
    profile.AddSection(Id('6'), SectionValues().NarrowProvider("NvPFStore.dll"));
    profile.AddSection(Id('7'), SectionValues().Reference1(Id('2')));
    profile.AddSection("0a0d020000000000c000000000000046", SectionValues().WideDisplayName("Personal Folders"));
}

class Straysweep : public testing::Test
{
protected:
    // Opened before anything runs, so that a new log's header is not counted.
    LogTail log;
    NewBackups backups;
};

// --- list ------------------------------------------------------------------

// Sorted as the window's list sorts: an accented letter beside the plain one.
TEST_F(Straysweep, ListShowsTheProfilesSortedWithTheDefaultMarked)
{
    LiveProfile second("b second");
    LiveProfile first("A first");
    LiveProfile accented("\xc9milie");
    LiveProfile plain("Fryderyk");
    ScopedRegistryText defaultProfile("Software\\Microsoft\\Office\\16.0\\Outlook", "DefaultProfile", second.Name());

    StraysweepRun run = RunStraysweep({L"list"});

    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ("", run.err);
    std::string header = Crlf("Outlook profiles in " + std::string(Office16Key, strlen(Office16Key) - 1) + ":\n");
    EXPECT_EQ(header, run.out.substr(0, header.size()));
    size_t firstLine = run.out.find(Crlf("\n  " + first.Name() + "\n"));
    size_t secondLine = run.out.find(Crlf("\n  " + second.Name() + "  (default)\n"));
    EXPECT_NE(std::string::npos, firstLine) << run.out;
    EXPECT_NE(std::string::npos, secondLine) << run.out;
    EXPECT_LT(firstLine, secondLine);
    EXPECT_LT(run.out.find(Crlf("\n  " + accented.Name() + "\n")), run.out.find(Crlf("\n  " + plain.Name() + "\n")))
        << run.out;
    EXPECT_EQ(LoggedRun({}), log.Lines());
}

TEST_F(Straysweep, ListAsJsonGivesTheRootTheDefaultAndEveryProfile)
{
    LiveProfile profile("json list");
    ScopedRegistryText defaultProfile("Software\\Microsoft\\Office\\16.0\\Outlook", "DefaultProfile", profile.Name());

    StraysweepRun run = RunStraysweep({L"list", L"--json"});

    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ("", run.err);
    JsonValue document = ParseOutput(run);
    EXPECT_EQ((std::vector<std::string>{"command", "exitCode", "error", "profile", "pst", "profilesRoot",
                                        "defaultProfile", "profiles"}),
              document.Keys());
    EXPECT_EQ("list", document["command"].AsString());
    EXPECT_EQ(0, document["exitCode"].AsNumber());
    EXPECT_TRUE(document["error"].IsNull());
    EXPECT_TRUE(document["profile"].IsNull());
    EXPECT_EQ(std::string(Office16Key, strlen(Office16Key) - 1), document["profilesRoot"].AsString());
    EXPECT_EQ(profile.Name(), document["defaultProfile"].AsString());
    int found = 0;
    for (const JsonValue& entry : document["profiles"].AsArray())
    {
        bool ours = entry["name"].AsString() == profile.Name();
        found += ours ? 1 : 0;
        EXPECT_EQ(ours, entry["default"].AsBool()) << entry["name"].AsString();
    }
    EXPECT_EQ(1, found);
}

TEST_F(Straysweep, ListOfAProfileShowsItsNamedSectionsAndTheirTies)
{
    LiveProfile profile("sections");
    AddStandardSections(profile);
    std::string before = DumpTree(profile.ProfilePath());

    StraysweepRun run = RunStraysweep({L"list", L"--profile", Wide(profile.Name())});

    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ("", run.err);
    EXPECT_EQ(Crlf("Sections of the profile \"" + profile.Name() + "\" with a display name or a provider library\n(" +
                   Office16Key + profile.Name() +
                   "):\n\n"
                   "SECTION                           TIE     GHOST  PROVIDER       DISPLAY NAME\n" +
                   Id('2') + "  tied    no     mspst.dll      Archiwum\n" + Id('3') +
                   "  tied    no                    ARCHIWUM\n" + Id('4') +
                   "  untied  yes    mspst.dll      Archiwum\n" + Id('5') +
                   "  untied  yes    mspst.dll      Kontakty\n" + Id('6') + "  untied  no     NvPFStore.dll\n"),
              run.out);
    EXPECT_EQ(before, DumpTree(profile.ProfilePath()));
    EXPECT_EQ(LoggedRun({}), log.Lines());
}

// Names in the ANSI code page become UTF-8; quotes, backslashes and control
// characters are escaped. Unreadable accounts and sections are named.
TEST_F(Straysweep, ListOfAProfileAsJsonIsUtf8AndNamesWhatCannotBeRead)
{
    LiveProfile profile("json sections \xdc");
    profile.AddAccount("0001", "Jan", Id('1'));
    profile.AddService(Id('1'), Id('2'));
    profile.AddSection(Id('2'), SectionValues().WideDisplayName("\xc4rger \"alt\" C:\\pst\tx"));
    profile.AddKey(std::string(ProfileTreeBuilder::AccountsKey) + "\\0002");
    profile.AddSection(Id('3'), SectionValues().NarrowDisplayName("\xfc").Reference2(Id('1')));
    profile.AddUnopenableKey("unopenable");

    StraysweepRun run = RunStraysweep({L"list", L"--json", L"--profile", Wide(profile.Name())});

    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ("straysweep: warning: the account key \"0002\" cannot be read; sections tied only through it show "
              "as untied.\r\nstraysweep: warning: the section \"unopenable\" cannot be opened.\r\n",
              run.err);
    EXPECT_NE(std::string::npos, run.out.find("\"displayName\":\"\xc3\x84rger \\\"alt\\\" C:\\\\pst\\tx\"")) << run.out;
    JsonValue document = ParseOutput(run);
    EXPECT_EQ((std::vector<std::string>{"command", "exitCode", "error", "profile", "pst", "profileKey", "sections",
                                        "unreadableAccounts", "unreadableSections"}),
              document.Keys());
    EXPECT_EQ(Utf8(profile.Name()), document["profile"].AsString());
    EXPECT_EQ(Utf8(Office16Key + profile.Name()), document["profileKey"].AsString());
    const std::vector<JsonValue>& sections = document["sections"].AsArray();
    ASSERT_EQ(2u, sections.size());
    EXPECT_EQ(Id('2'), sections[0]["id"].AsString());
    EXPECT_EQ("\xc3\x84rger \"alt\" C:\\pst\tx", sections[0]["displayName"].AsString());
    EXPECT_EQ("", sections[0]["provider"].AsString());
    EXPECT_TRUE(sections[0]["tied"].AsBool());
    EXPECT_FALSE(sections[0]["ghost"].AsBool());
    EXPECT_EQ(Id('3'), sections[1]["id"].AsString());
    EXPECT_EQ("\xc3\xbc", sections[1]["displayName"].AsString());
    EXPECT_TRUE(sections[1]["tied"].AsBool());
    EXPECT_EQ(std::vector<std::string>{"0002"}, Strings(document["unreadableAccounts"]));
    EXPECT_EQ(std::vector<std::string>{"unopenable"}, Strings(document["unreadableSections"]));
}

TEST_F(Straysweep, ListOfAMissingProfileExits5)
{
    LiveProfile other("present");
    std::string missing = LiveProfile::NameFor("missing");

    StraysweepRun text = RunStraysweep({L"list", L"--profile", Wide(missing)});
    StraysweepRun json = RunStraysweep({L"list", L"--profile", Wide(missing), L"--json"});

    std::string message = "File not found. (0x2) \r\n\r\n" + OpenFailed(missing);
    EXPECT_EQ(5u, text.exitCode);
    EXPECT_EQ("", text.out);
    EXPECT_EQ("straysweep: " + message + "\r\n", text.err);
    EXPECT_EQ(5u, json.exitCode);
    JsonValue document = ParseOutput(json);
    EXPECT_EQ(5, document["exitCode"].AsNumber());
    EXPECT_EQ("File not found. (0x2) \n\n" + OpenFailed(missing), document["error"].AsString());
    EXPECT_TRUE(document["sections"].AsArray().empty());
}

// --- check -----------------------------------------------------------------

std::vector<std::string> Head(const std::vector<std::string>& lines, size_t count)
{
    return std::vector<std::string>(lines.begin(),
                                    lines.begin() + static_cast<std::ptrdiff_t>(std::min(count, lines.size())));
}

long Count(const std::vector<std::string>& lines, const std::string& line)
{
    return static_cast<long>(std::count(lines.begin(), lines.end(), line));
}

std::string OpeningLine(const LiveProfile& profile)
{
    return "Info: Otwieranie klucza profilów: " + std::string(Office16Key) + profile.Name();
}

std::string LogFile()
{
    return CLogFile::Instance().GetFilePath().Str();
}

TEST_F(Straysweep, CheckListsTheInvalidSectionsAndChangesNothing)
{
    LiveProfile profile("check");
    AddStandardSections(profile);
    profile.AddSection(Id('8'), SectionValues().WideDisplayName("archiwum"));
    std::string before = DumpTree(profile.ProfilePath());

    StraysweepRun run = RunStraysweep(Args({"check", "--profile", profile.Name(), "--pst", Pst}));

    EXPECT_EQ(1u, run.exitCode);
    EXPECT_EQ("", run.err);
    EXPECT_EQ(Crlf("Invalid sections that should be removed were found for the PST \"Archiwum\" in the profile \"" +
                   profile.Name() + "\":\n  " + Id('4') + "\n  " + Id('8') +
                   "\nTo remove them, run the repair command with the same profile and PST name.\n"),
              run.out);
    EXPECT_EQ(before, DumpTree(profile.ProfilePath()));
    std::vector<std::string> lines = log.Lines();
    std::vector<std::string> opening = StartLines();
    opening.insert(opening.end(),
                   {"Info:  ", "Info: -- CHECK --",
                    "Info: Proces sprawdzania dla profilu \"" + profile.Name() + "\" i magazynu PST \"Archiwum\".",
                    OpeningLine(profile)});
    EXPECT_EQ(opening, Head(lines, opening.size()));
    EXPECT_EQ(2, Count(lines, "Info: Ta sekcja jest niepoprawne i powinna zostać usunięta."));
    EXPECT_EQ("Info: Program exit.", lines.back());
}

// An account without its service identifier: a store tied only to it looks
// like a ghost. The check says what it found but that it cannot be trusted;
// the repair removes nothing.
TEST_F(Straysweep, UnreadableAccountMakesCheckAndRepairExit6AndTheRepairRemoveNothing)
{
    LiveProfile profile("unread account");
    AddStandardSections(profile);
    profile.SetValue("9375cff0413111d3b88a00104b2a6676\\0002", "Account Name", REG_SZ, std::string("Ewa\0", 4));
    std::string before = DumpTree(profile.ProfilePath());
    std::string error = "straysweep: The profile could not be read completely (see the log file \"" + LogFile() +
                        "\"), so the result cannot be trusted.\r\n";

    StraysweepRun check = RunStraysweep(Args({"check", "--profile", profile.Name(), "--pst", Pst, "--json"}));
    EXPECT_EQ(6u, check.exitCode);
    EXPECT_EQ(error, check.err);
    JsonValue document = ParseOutput(check);
    EXPECT_EQ(6, document["exitCode"].AsNumber());
    EXPECT_EQ(std::vector<std::string>{Id('4')}, Strings(document["invalidSections"]));

    StraysweepRun repair = RunStraysweep(Args({"repair", "--profile", profile.Name(), "--pst", Pst}));
    EXPECT_EQ(6u, repair.exitCode);
    EXPECT_EQ("straysweep: Some accounts of the profile cannot be read, so nothing was removed: a section tied only "
              "to an unread account would look invalid. See the log file \"" +
                  LogFile() + "\".\r\n",
              repair.err);
    EXPECT_EQ(before, DumpTree(profile.ProfilePath()));
    EXPECT_EQ(1u, backups.Names().size());
    std::vector<std::string> lines = log.Lines();
    const std::string unread = "Błąd podczas pobierania klucza serwisu.";
    EXPECT_EQ(2, std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
                  return line.size() > unread.size() &&
                         line.compare(line.size() - unread.size(), unread.size(), unread) == 0;
              }));
    EXPECT_EQ(1, Count(lines, "Error: Nie wszystkie konta zostały odczytane, żadna sekcja nie zostanie usunięta."));
    // The check listed the sections; the repair stopped before them.
    EXPECT_EQ(1, Count(lines, "Info: -- Listowanie sekcji -- "));
}

TEST_F(Straysweep, CheckAsJsonWithNothingInvalidExits0)
{
    LiveProfile profile("clean check");
    AddStandardSections(profile);

    StraysweepRun run =
        RunStraysweep(Args({"--json", "check", "--pst", "Personal Folders", "--profile", profile.Name()}));

    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ("", run.err);
    JsonValue document = ParseOutput(run);
    EXPECT_EQ(
        (std::vector<std::string>{"command", "exitCode", "error", "profile", "pst", "invalidSections", "logFile"}),
        document.Keys());
    EXPECT_EQ("check", document["command"].AsString());
    EXPECT_EQ(0, document["exitCode"].AsNumber());
    EXPECT_TRUE(document["error"].IsNull());
    EXPECT_EQ(profile.Name(), document["profile"].AsString());
    EXPECT_EQ("Personal Folders", document["pst"].AsString());
    EXPECT_TRUE(document["invalidSections"].AsArray().empty());
    EXPECT_EQ(Utf8(LogFile()), document["logFile"].AsString());
}

// A logon script's copy checking beside another: two copies append to the
// log at once, and every line of both must arrive whole. Each section gives
// lines of its own, and both copies write the same lines.
TEST_F(Straysweep, TwoCopiesCheckingAtOnceKeepEveryLogLineWhole)
{
    LiveProfile profile("two copies");
    AddStandardSections(profile);
    const int Sections = 2000;
    std::vector<std::string> ids;
    for (int i = 0; i < Sections; ++i)
    {
        char id[33];
        wsprintfA(id, "ee%030x", i);
        ids.push_back(id);
        profile.AddSection(id, SectionValues().WideDisplayName("Inny " + std::to_string(i)));
    }
    std::vector<std::wstring> arguments = Args({"check", "--profile", profile.Name(), "--pst", Pst});
    // Without this process's copy the first copy writes alone until the
    // second one joins, and the one that ends last alone again.
    CLogFile::Instance().Close();

    StraysweepRun second;
    std::thread secondCopy([&] { second = RunStraysweep(arguments); });
    StraysweepRun first = RunStraysweep(arguments);
    secondCopy.join();

    EXPECT_EQ(1u, first.exitCode);
    EXPECT_EQ(1u, second.exitCode);
    std::vector<std::string> lines = log.Lines();
    std::map<std::string, long> counts;
    for (const std::string& line : lines)
        ++counts[line];
    std::vector<std::string> broken;
    for (const auto& [line, count] : counts)
    {
        if (count % 2 != 0 || line.compare(0, 2, "UN") == 0)
            broken.push_back(line);
    }
    EXPECT_TRUE(broken.empty()) << broken.size() << " lines torn or lost, such as " << broken.front();
    for (int i = 0; i < Sections; ++i)
    {
        ASSERT_EQ(2, counts["Info: Otwieranie sekcji: " + ids[i]]) << ids[i];
        ASSERT_EQ(2, counts["Info: Wartość1 = Inny " + std::to_string(i)]) << i;
    }
}

TEST_F(Straysweep, CheckOfAMissingProfileExits5AndLogsTheFailure)
{
    LiveProfile other("present");
    std::string missing = LiveProfile::NameFor("missing");

    StraysweepRun run = RunStraysweep(Args({"check", "--profile", missing, "--pst", Pst, "--json"}));

    EXPECT_EQ(5u, run.exitCode);
    std::string message = OpenFailed(missing);
    EXPECT_EQ("straysweep: File not found. (0x2) \r\n\r\n" + message + "\r\n", run.err);
    JsonValue document = ParseOutput(run);
    EXPECT_EQ(5, document["exitCode"].AsNumber());
    EXPECT_EQ("File not found. (0x2) \n\n" + message, document["error"].AsString());
    EXPECT_TRUE(document["invalidSections"].AsArray().empty());
    EXPECT_EQ(LoggedRun({"Info:  ", "Info: -- CHECK --",
                         "Info: Proces sprawdzania dla profilu \"" + missing + "\" i magazynu PST \"Archiwum\".",
                         "Info: Otwieranie klucza profilów: " + std::string(Office16Key) + missing,
                         "Error: File not found. (0x2) " + message}),
              log.Lines());
}

// --- repair ----------------------------------------------------------------

std::vector<std::string> RepairOpening(const LiveProfile& profile)
{
    return {"Info:  ", "Info: -- START --",
            "Info: Pocedura usuwania dla profilu \"" + profile.Name() + "\" i magazynu PST \"Archiwum\"."};
}

TEST_F(Straysweep, RepairRemovesTheGhostAfterABackupThatRestoresTheProfile)
{
    LiveProfile profile("repair");
    AddStandardSections(profile);
    std::set<std::string> sections = profile.Sections();
    std::string original = DumpTree(profile.ProfilePath());

    StraysweepRun run = RunStraysweep(Args({"repair", "--profile", profile.Name(), "--pst", Pst}));

    EXPECT_EQ(1u, run.exitCode);
    EXPECT_EQ("", run.err);
    ASSERT_EQ(1u, backups.Names().size());
    std::string backup = BackupFolder() + "\\" + backups.Names()[0];
    EXPECT_EQ(" - " + profile.Name() + ".reg", backups.Names()[0].substr(19));
    EXPECT_EQ(Crlf("The profile key was backed up to \"" + backup + "\".\n" +
                   "Removed the invalid sections of the PST \"Archiwum\" from the profile \"" + profile.Name() +
                   "\":\n  " + Id('4') +
                   "\nTo undo the removal, close Outlook and run: straysweep restore --backup \"" + backup + "\"\n"),
              run.out);
    sections.erase(Id('4'));
    EXPECT_EQ(sections, profile.Sections());

    std::vector<std::string> lines = log.Lines();
    std::vector<std::string> opening = StartLines();
    std::vector<std::string> start = RepairOpening(profile);
    opening.insert(opening.end(), start.begin(), start.end());
    opening.push_back("Info: Registry backup created in file \"" + backup + "\".");
    opening.push_back(OpeningLine(profile));
    EXPECT_EQ(opening, Head(lines, opening.size()));
    EXPECT_EQ(1, Count(lines, "Info: Ta sekcja jest niepoprawna i została usunięta."));
    EXPECT_EQ("Info: Program exit.", lines.back());

    ASSERT_EQ(0u, RunToEnd("\"" + RegeditPath() + "\" /s \"" + backup + "\""));
    EXPECT_EQ(original, DumpTree(profile.ProfilePath()));
}

TEST_F(Straysweep, RepairAsJsonWithNothingToRemoveExits0AndKeepsTheBackup)
{
    LiveProfile profile("clean repair");
    AddStandardSections(profile);
    std::string before = DumpTree(profile.ProfilePath());

    StraysweepRun run =
        RunStraysweep(Args({"repair", "--profile", profile.Name(), "--pst", "Personal Folders", "--json"}));

    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ("", run.err);
    EXPECT_EQ(before, DumpTree(profile.ProfilePath()));
    ASSERT_EQ(1u, backups.Names().size());
    JsonValue document = ParseOutput(run);
    EXPECT_EQ((std::vector<std::string>{"command", "exitCode", "error", "profile", "pst", "backupFile", "backupError",
                                        "removedSections", "failedSections", "logFile"}),
              document.Keys());
    EXPECT_EQ("repair", document["command"].AsString());
    EXPECT_EQ(0, document["exitCode"].AsNumber());
    EXPECT_TRUE(document["error"].IsNull());
    EXPECT_EQ(Utf8(BackupFolder() + "\\" + backups.Names()[0]), document["backupFile"].AsString());
    EXPECT_TRUE(document["backupError"].IsNull());
    EXPECT_TRUE(document["removedSections"].AsArray().empty());
    EXPECT_TRUE(document["failedSections"].AsArray().empty());
}

// A section with a subkey of its own cannot be deleted: the others still go.
TEST_F(Straysweep, RepairWithAFailedRemovalExits2AndNamesBothKinds)
{
    LiveProfile profile("failed removal");
    AddStandardSections(profile);
    profile.AddKey(Id('4') + "\\child");
    profile.AddSection(Id('8'), SectionValues().WideDisplayName(Pst));

    StraysweepRun run = RunStraysweep(Args({"repair", "--profile", profile.Name(), "--pst", Pst, "--json"}));

    EXPECT_EQ(2u, run.exitCode);
    EXPECT_EQ("straysweep: some invalid sections could not be removed; see the log file \"" + LogFile() + "\".\r\n",
              run.err);
    JsonValue document = ParseOutput(run);
    EXPECT_EQ(2, document["exitCode"].AsNumber());
    EXPECT_TRUE(document["error"].IsNull());
    EXPECT_EQ(std::vector<std::string>{Id('8')}, Strings(document["removedSections"]));
    EXPECT_EQ(std::vector<std::string>{Id('4')}, Strings(document["failedSections"]));
    EXPECT_EQ(1u, profile.Sections().count(Id('4')));
    EXPECT_EQ(0u, profile.Sections().count(Id('8')));
    EXPECT_TRUE(log.Contains("Error: Access denied. (0x5) Błąd podczas usuwania niepoprawnej sekcji."))
        << testing::PrintToString(log.Lines());
}

TEST_F(Straysweep, RepairWhileOutlookRunsExits3AndDoesNothing)
{
    LiveProfile profile("outlook runs");
    AddStandardSections(profile);
    std::string before = DumpTree(profile.ProfilePath());
    StandInProcess outlook("OUTLOOK.EXE");

    StraysweepRun text = RunStraysweep(Args({"repair", "--profile", profile.Name(), "--pst", Pst}));
    StraysweepRun json = RunStraysweep(Args({"repair", "--profile", profile.Name(), "--pst", Pst, "--json"}));

    std::string message = "Microsoft Outlook is running. Close it (make sure that no OUTLOOK.EXE process is left) "
                          "and run the repair again.";
    EXPECT_EQ(3u, text.exitCode);
    EXPECT_EQ("", text.out);
    EXPECT_EQ("straysweep: " + message + "\r\n", text.err);
    EXPECT_EQ(3u, json.exitCode);
    JsonValue document = ParseOutput(json);
    EXPECT_EQ(3, document["exitCode"].AsNumber());
    EXPECT_EQ(message, document["error"].AsString());
    EXPECT_TRUE(document["backupFile"].IsNull());
    EXPECT_EQ(before, DumpTree(profile.ProfilePath()));
    EXPECT_TRUE(backups.Names().empty());
    std::vector<std::string> once = LoggedRun({"Info: Outlook jest uruchomiony, procedura usuwania nie może zostać "
                                               "rozpoczęta."});
    std::vector<std::string> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(twice, log.Lines());
}

// --- other users --------------------------------------------------------------

// The one account under Wine, behind HKEY_CURRENT_USER.
const char* const CallerSid = "S-1-5-21-0-0-0-1000";
// A second signed-in user, whose account the look-up does not know.
const char* const SecondSid = "S-1-5-21-7-7-7-1001";

class SecondUser : public Straysweep
{
protected:
    void SetUp() override
    {
        hive.BuildAsCurrentUser([] {
            ProfileTreeBuilder profile("Outlook", ProfileTreeBuilder::Office16Root);
            AddStandardSections(profile);
        });
        AddStandardSections(own);
        ownBefore = DumpTree(own.ProfilePath());
    }
    std::set<std::string> SecondSections() const
    {
        std::set<std::string> sections;
        hive.BuildAsCurrentUser(
            [&] { sections = ProfileTreeBuilder("Outlook", ProfileTreeBuilder::Office16Root).Sections(); });
        return sections;
    }

    SecondUserHive hive{SecondSid};
    LiveProfile own{"own"};
    std::string ownBefore;
};

// The ghost of a user who is not the caller (a fleet agent runs as SYSTEM):
// the caller's own Outlook does not block it, the backup names the user and
// the user's key, and the caller's profiles stay as they were.
TEST_F(SecondUser, RepairWithUserRemovesThatUsersGhostBesideTheCallersOutlook)
{
    StandInProcess outlook("OUTLOOK.EXE");
    StraysweepRun run =
        RunStraysweep(Args({"repair", "--user", SecondSid, "--profile", "Outlook", "--pst", Pst, "--json"}));

    EXPECT_EQ(1u, run.exitCode) << run.err;
    EXPECT_EQ(std::vector<std::string>{Id('4')}, Strings(ParseOutput(run)["removedSections"]));
    EXPECT_EQ(0u, SecondSections().count(Id('4')));
    EXPECT_EQ(ownBefore, DumpTree(own.ProfilePath()));
    ASSERT_EQ(1u, backups.Names().size());
    EXPECT_EQ(std::string(" - ") + SecondSid + " - Outlook.reg", backups.Names()[0].substr(19));
    const std::string key =
        std::string("HKEY_USERS\\") + SecondSid + "\\Software\\Microsoft\\Office\\16.0\\Outlook\\Profiles\\Outlook";
    EXPECT_NE(std::string::npos, ReadRegistryScript(BackupFolder() + "\\" + backups.Names()[0]).find("[" + key + "]"));
    std::vector<std::string> lines = log.Lines();
    std::vector<std::string> expected = {std::string("Info: Rejestr użytkownika ") + SecondSid + ".",
                                         "Info:  ", "Info: -- START --"};
    auto at = std::find(lines.begin(), lines.end(), expected[0]);
    ASSERT_NE(lines.end(), at) << testing::PrintToString(lines);
    EXPECT_EQ(expected, std::vector<std::string>(at, at + std::min<std::ptrdiff_t>(3, lines.end() - at)));
    EXPECT_EQ(1, Count(lines, "Info: Otwieranie klucza profilów: " + key));

    // The same user's backup puts the ghost back; the caller's own newer
    // backup of a profile of the same name is not that user's.
    ASSERT_TRUE(WriteFileBytes(
        BackupFolder() + "\\2099-01-01 00.00.00 - Outlook.reg",
        RegistryScriptBytes(
            L"Windows Registry Editor Version 5.00\r\n\r\n"
            L"[HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\16.0\\Outlook\\Profiles\\Outlook]\r\n\r\n")));
    StraysweepRun restore = RunStraysweep(Args({"restore", "--user", SecondSid, "--profile", "Outlook", "--latest"}));
    EXPECT_EQ(0u, restore.exitCode) << restore.err;
    EXPECT_EQ(1u, SecondSections().count(Id('4')));
    EXPECT_EQ(ownBefore, DumpTree(own.ProfilePath()));
}

// As SYSTEM a plain scan sees no profile: every signed-in user's are looked
// at, and each ghost comes with the command that repairs it for its user.
TEST_F(SecondUser, ScanAllUsersFindsEachUsersGhostsAndHowToRepairThem)
{
    StraysweepRun json = RunStraysweep(Args({"scan", "--all-users", "--json"}));
    EXPECT_EQ(1u, json.exitCode) << json.err;
    JsonValue document = ParseOutput(json);
    EXPECT_EQ((std::vector<std::string>{"command", "exitCode", "error", "users", "logFile"}), document.Keys());
    std::optional<JsonValue> second;
    for (const JsonValue& user : document["users"].AsArray())
    {
        if (user["sid"].AsString() == SecondSid)
            second = user;
    }
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ((std::vector<std::string>{"sid", "account", "profilesKey", "error", "profiles"}), second->Keys());
    EXPECT_TRUE((*second)["account"].IsNull());
    EXPECT_EQ(std::string("HKEY_USERS\\") + SecondSid + "\\" + ProfileTreeBuilder::Office16Root,
              (*second)["profilesKey"].AsString());
    const std::vector<JsonValue>& profiles = (*second)["profiles"].AsArray();
    ASSERT_EQ(1u, profiles.size());
    std::vector<std::string> sections;
    for (const JsonValue& candidate : profiles[0]["candidates"].AsArray())
        sections.push_back(candidate["section"].AsString());
    EXPECT_EQ((std::vector<std::string>{Id('4'), Id('5')}), sections);

    StraysweepRun text = RunStraysweep(Args({"scan", "--all-users"}));
    EXPECT_EQ(1u, text.exitCode);
    EXPECT_NE(std::string::npos, text.out.find(std::string("  straysweep repair --user \"") + SecondSid +
                                               "\" --profile \"Outlook\" --pst \"Archiwum\"\r\n"))
        << text.out;
    EXPECT_EQ(ownBefore, DumpTree(own.ProfilePath()));
}

TEST_F(SecondUser, UsersOwnOutlookBlocksTheRepairOfTheirProfile)
{
    StandInProcess outlook("OUTLOOK.EXE");
    StraysweepRun run = RunStraysweep(Args({"repair", "--user", CallerSid, "--profile", own.Name(), "--pst", Pst}));
    EXPECT_EQ(3u, run.exitCode);
    EXPECT_EQ(ownBefore, DumpTree(own.ProfilePath()));
    EXPECT_TRUE(backups.Names().empty());
}

// The key that does not open is named below that user's hive, in the error
// and in the log, in the code page's form of the message.
TEST_F(SecondUser, MissingProfileOfAUserIsNamedBelowThatUsersHive)
{
    StraysweepRun run = RunStraysweep(Args({"check", "--user", SecondSid, "--profile", "Nowhere", "--pst", Pst}));

    std::string key = std::string("HKEY_USERS\\") + SecondSid + "\\" + ProfileTreeBuilder::Office16Root + "\\Nowhere";
    std::string message = "Failed to open registry key \"" + key + "\". Ensure you have read access to this key.";
    EXPECT_EQ(5u, run.exitCode);
    EXPECT_EQ("straysweep: File not found. (0x2) \r\n\r\n" + message + "\r\n", run.err);
    EXPECT_EQ(1, Count(log.Lines(), "Error: File not found. (0x2) " + message)) << testing::PrintToString(log.Lines());
}

// Naming the caller's own account changes nothing but the key's name.
TEST_F(SecondUser, UserNamingTheCallerFindsWhatTheCallerFinds)
{
    StraysweepRun plain = RunStraysweep(Args({"check", "--profile", own.Name(), "--pst", Pst, "--json"}));
    StraysweepRun named =
        RunStraysweep(Args({"check", "--user", CallerSid, "--profile", own.Name(), "--pst", Pst, "--json"}));
    EXPECT_EQ(plain.exitCode, named.exitCode);
    EXPECT_EQ(Strings(ParseOutput(plain)["invalidSections"]), Strings(ParseOutput(named)["invalidSections"]));
    EXPECT_EQ(std::vector<std::string>{Id('4')}, Strings(ParseOutput(named)["invalidSections"]));
}

TEST_F(SecondUser, ListAllUsersGivesEachSignedInUsersProfiles)
{
    StraysweepRun run = RunStraysweep(Args({"list", "--all-users", "--json"}));
    EXPECT_EQ(0u, run.exitCode) << run.err;
    JsonValue document = ParseOutput(run);
    std::map<std::string, std::vector<std::string>> profiles;
    for (const JsonValue& user : document["users"].AsArray())
    {
        for (const JsonValue& profile : user["profiles"].AsArray())
            profiles[user["sid"].AsString()].push_back(profile["name"].AsString());
    }
    EXPECT_EQ(std::vector<std::string>{"Outlook"}, profiles[SecondSid]);
    const std::vector<std::string>& callers = profiles[CallerSid];
    EXPECT_NE(callers.end(), std::find(callers.begin(), callers.end(), own.Name()));
}

TEST_F(Straysweep, UserWhoseRegistryIsNotLoadedExits5)
{
    StraysweepRun run = RunStraysweep(Args({"list", "--user", "S-1-5-21-7-7-7-1002"}));
    EXPECT_EQ(5u, run.exitCode);
    EXPECT_EQ("straysweep: the registry of the user \"S-1-5-21-7-7-7-1002\" is not loaded; the user must be signed "
              "in.\r\n",
              run.err);
}

// A file in the place of the backup folder makes every backup fail.
class FailingBackup : public Straysweep
{
protected:
    void SetUp() override { ASSERT_TRUE(WriteFileBytes(BackupFolder(), "in the way")); }
    void TearDown() override { EXPECT_EQ("in the way", ReadFileBytes(BackupFolder())); }

    BackupFolderAside aside;
};

TEST_F(FailingBackup, StopsTheRepairWithExit4)
{
    LiveProfile profile("backup fails");
    AddStandardSections(profile);
    std::string before = DumpTree(profile.ProfilePath());

    StraysweepRun text = RunStraysweep(Args({"repair", "--profile", profile.Name(), "--pst", Pst}));
    std::vector<std::string> lines = log.Lines();
    StraysweepRun json = RunStraysweep(Args({"repair", "--profile", profile.Name(), "--pst", Pst, "--json"}));

    std::string folderFailed = "Failed to create backup folder \"" + BackupFolder() + "\".";
    std::string advice = "The profile key cannot be backed up, so nothing was removed. To remove the invalid "
                         "sections without a backup, add --without-backup.";
    EXPECT_EQ(4u, text.exitCode);
    EXPECT_EQ("", text.out);
    EXPECT_EQ(0u, text.err.find("straysweep: ")) << text.err;
    EXPECT_NE(std::string::npos, text.err.find("\r\n\r\n" + folderFailed + "\r\n" + advice + "\r\n")) << text.err;
    EXPECT_EQ(4u, json.exitCode);
    JsonValue document = ParseOutput(json);
    EXPECT_EQ(advice, document["error"].AsString());
    EXPECT_TRUE(document["backupFile"].IsNull());
    const std::string& backupError = document["backupError"].AsString();
    EXPECT_EQ(folderFailed, backupError.substr(backupError.size() - std::min(backupError.size(), folderFailed.size())));
    EXPECT_TRUE(document["removedSections"].AsArray().empty());
    EXPECT_EQ(before, DumpTree(profile.ProfilePath()));

    std::vector<std::string> action = RepairOpening(profile);
    action.push_back("Error: Nie można utworzyć backupu dla profilu \"" + profile.Name() + "\".");
    EXPECT_EQ(LoggedRun(action), lines);
}

TEST_F(FailingBackup, WithoutBackupTheRepairGoesOn)
{
    LiveProfile profile("without backup");
    AddStandardSections(profile);

    StraysweepRun run = RunStraysweep(Args({"repair", "--without-backup", "--profile", profile.Name(), "--pst", Pst}));

    EXPECT_EQ(1u, run.exitCode);
    EXPECT_EQ(Crlf("Removed the invalid sections of the PST \"Archiwum\" from the profile \"" + profile.Name() +
                   "\":\n  " + Id('4') + "\n"),
              run.out);
    std::string warning = "straysweep: warning: the profile key cannot be backed up; going on without a backup as "
                          "--without-backup asks: ";
    EXPECT_EQ(0u, run.err.find(warning)) << run.err;
    EXPECT_NE(std::string::npos, run.err.find("Failed to create backup folder \"" + BackupFolder() + "\".\r\n"));
    EXPECT_EQ(0u, profile.Sections().count(Id('4')));

    std::vector<std::string> opening = StartLines();
    std::vector<std::string> start = RepairOpening(profile);
    opening.insert(opening.end(), start.begin(), start.end());
    opening.push_back("Error: Nie można utworzyć backupu dla profilu \"" + profile.Name() + "\".");
    opening.push_back(OpeningLine(profile));
    EXPECT_EQ(opening, Head(log.Lines(), opening.size()));
}

TEST_F(Straysweep, RepairOfAMissingProfileExits5WithoutABackup)
{
    LiveProfile other("present");
    std::string missing = LiveProfile::NameFor("missing");

    StraysweepRun run = RunStraysweep(Args({"repair", "--profile", missing, "--pst", Pst}));

    std::string message = OpenFailed(missing);
    EXPECT_EQ(5u, run.exitCode);
    EXPECT_EQ("", run.out);
    EXPECT_EQ("straysweep: File not found. (0x2) \r\n\r\n" + message + "\r\n", run.err);
    EXPECT_TRUE(backups.Names().empty());
    EXPECT_EQ(LoggedRun({"Info:  ", "Info: -- START --",
                         "Info: Pocedura usuwania dla profilu \"" + missing + "\" i magazynu PST \"Archiwum\".",
                         "Error: File not found. (0x2) " + message}),
              log.Lines());
}

// --- backups and restore ---------------------------------------------------

const char* const Office16Path = "Software\\Microsoft\\Office\\16.0\\Outlook\\Profiles";

// `text` as the registry editor writes a file: UTF-16LE after a byte-order
// mark.
std::wstring Replaced(std::wstring text, const std::wstring& placeholder, const std::wstring& value)
{
    for (size_t at = text.find(placeholder); at != std::wstring::npos; at = text.find(placeholder, at + value.size()))
        text.replace(at, placeholder.size(), value);
    return text;
}

std::string FullKey(const LiveProfile& profile)
{
    return Office16Key + profile.Name();
}

std::vector<std::string> RestoreOpening(const std::string& file)
{
    return {"Info:  ", "Info: -- RESTORE --", "Info: Procedura przywracania z pliku \"" + file + "\"."};
}

// A repair's backup taken back: the profile is as it was before the repair,
// its name with "%" and a letter beyond ASCII. A section added since stays
// and is listed; the present state is backed up first.
TEST_F(Straysweep, RestoreOfTheLatestBackupGivesBackTheRepairedProfileExactly)
{
    LiveProfile profile("r\xe9sum\xe9 100%");
    AddStandardSections(profile);
    std::string original = DumpTree(profile.ProfilePath());
    ASSERT_EQ(1u, RunStraysweep(Args({"repair", "--profile", profile.Name(), "--pst", Pst})).exitCode);
    ASSERT_EQ(1u, backups.Names().size());
    std::string repairName = backups.Names()[0];
    std::string repairBackup = BackupFolder() + "\\" + repairName;
    profile.AddSection(Id('8'), SectionValues().WideDisplayName("Nowy"));
    LogTail restoreLog;

    StraysweepRun run = RunStraysweep(Args({"restore", "--profile", profile.Name(), "--latest", "--json"}));

    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ("", run.err);
    std::vector<std::string> names = backups.Names();
    ASSERT_EQ(2u, names.size());
    std::string before = BackupFolder() + "\\" + (names[0] == repairName ? names[1] : names[0]);
    JsonValue document = ParseOutput(run);
    EXPECT_EQ((std::vector<std::string>{"command", "exitCode", "error", "profile", "file", "backupFile", "added",
                                        "missing", "logFile"}),
              document.Keys());
    EXPECT_EQ("restore", document["command"].AsString());
    EXPECT_EQ(0, document["exitCode"].AsNumber());
    EXPECT_TRUE(document["error"].IsNull());
    EXPECT_EQ(Utf8(profile.Name()), document["profile"].AsString());
    EXPECT_EQ(Utf8(repairBackup), document["file"].AsString());
    EXPECT_EQ(Utf8(before), document["backupFile"].AsString());
    std::string added = "[" + FullKey(profile) + "\\" + Id('8') + "]";
    EXPECT_EQ(std::vector<std::string>{Utf8(added)}, Strings(document["added"]));
    EXPECT_TRUE(document["missing"].AsArray().empty());
    std::string saved = ReadRegistryScript(before);
    EXPECT_NE(std::string::npos, saved.find(added)) << saved;
    EXPECT_EQ(std::string::npos, saved.find(Id('4'))) << saved;

    std::vector<std::string> lines = RestoreOpening(repairBackup);
    lines.insert(lines.end(),
                 {"Info: Plik jest backupem profilu \"" + profile.Name() + "\" (klucz " + FullKey(profile) + ").",
                  "Info: Registry backup created in file \"" + before + "\".",
                  "Info: Importowanie pliku \"" + repairBackup + "\".", "Info: Sprawdzanie profilu po imporcie.",
                  "Info: Dodane po backupie, pozostaje: " + added,
                  "Info: Profil \"" + profile.Name() + "\" został przywrócony z pliku \"" + repairBackup + "\"."});
    EXPECT_EQ(LoggedRun(lines), restoreLog.Lines());

    ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeA(HKEY_CURRENT_USER, (profile.ProfilePath() + "\\" + Id('8')).c_str()));
    EXPECT_EQ(original, DumpTree(profile.ProfilePath()));
}

// Values of every type that the registry editor exports come back byte for
// byte: a section deleted with them is made again, a value changed since
// the backup gets its old data back.
TEST_F(Straysweep, RestoreGivesBackValuesOfEveryTypeExactly)
{
    LiveProfile profile("every type");
    AddStandardSections(profile);
    const std::wstring section = Wide(profile.ProfilePath() + "\\" + Id('5'));
    const std::wstring text = L"a\\b \"c\"\r\nd\u00e9";
    const std::wstring expandable = L"%SystemRoot%\\x";
    const std::wstring multi(L"one\0two\0\0", 9);
    const DWORD dword = 0x8000002a;
    const unsigned long long qword = 0x0102030405060708ull;
    std::vector<BYTE> binary(3000);
    for (size_t i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<BYTE>(i * 7);
    struct Typed
    {
        const wchar_t* name;
        DWORD type;
        const void* data;
        size_t size;
    };
    for (const Typed& value : std::vector<Typed>{
             {L"text", REG_SZ, text.c_str(), (text.size() + 1) * sizeof(wchar_t)},
             {L"", REG_SZ, L"default", sizeof L"default"},
             {L"expandable", REG_EXPAND_SZ, expandable.c_str(), (expandable.size() + 1) * sizeof(wchar_t)},
             {L"multi", REG_MULTI_SZ, multi.data(), multi.size() * sizeof(wchar_t)},
             {L"dword", REG_DWORD, &dword, sizeof dword},
             {L"qword", REG_QWORD, &qword, sizeof qword},
             {L"binary", REG_BINARY, binary.data(), 3},
             {L"long binary", REG_BINARY, binary.data(), binary.size()},
             {L"none", REG_NONE, nullptr, 0},
             {L"other type", 0x100, binary.data(), 5}})
        ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_CURRENT_USER, section.c_str(), value.name, value.type, value.data,
                                                 static_cast<DWORD>(value.size)));
    std::string original = DumpTree(profile.ProfilePath());
    ASSERT_EQ(0u, RunStraysweep(Args({"repair", "--profile", profile.Name(), "--pst", "Personal Folders"})).exitCode);
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeW(HKEY_CURRENT_USER, section.c_str()));
    SetText(profile.ProfilePath() + "\\" + Id('2'), "001f3001", "changed");

    StraysweepRun run = RunStraysweep(Args({"restore", "--profile", profile.Name(), "--latest"}));

    EXPECT_EQ(0u, run.exitCode) << run.err;
    EXPECT_EQ(original, DumpTree(profile.ProfilePath()));
}

struct RefusedFileCase
{
    const char* name;
    // The label of the profile that the file names as <KEY>.
    const char* label;
    // The file; <KEY> stands for the profile's key, <OUTSIDE> for a key
    // outside every profile.
    const wchar_t* text;
    // False for a file of single bytes.
    bool utf16;
    // --profile with the name of this label, unless null.
    const char* otherLabel;
    // What the message and the log say after the colon; <KEY>, <OUTSIDE>,
    // <NAME> (the profile's name) and <OTHER> as above, in the ANSI code
    // page.
    const wchar_t* problem;
};

std::ostream& operator<<(std::ostream& out, const RefusedFileCase& c)
{
    return out << c.name;
}

class RefusedFile : public Straysweep, public testing::WithParamInterface<RefusedFileCase>
{
};

// Every profile and the key outside them are as they were: nothing was
// backed up, imported or written.
TEST_P(RefusedFile, Exits7NamingWhyAndChangesNothing)
{
    const RefusedFileCase& c = GetParam();
    LiveProfile profile(c.label);
    AddStandardSections(profile);
    const std::string outside = "Software\\Straysweep test " + std::to_string(GetCurrentProcessId()) + " outside";
    TemporaryKey outsideKey(outside);
    std::wstring text = Replaced(Replaced(c.text, L"<KEY>", Wide(FullKey(profile))), L"<OUTSIDE>",
                                 Wide("HKEY_CURRENT_USER\\" + outside));
    TempFolder folder;
    std::string file = folder / "backup.reg";
    ASSERT_TRUE(WriteFileBytes(file, c.utf16 ? RegistryScriptBytes(text) : Ansi(text)));
    std::vector<std::string> arguments = {"restore", "--backup", file};
    std::string other = c.otherLabel != nullptr ? LiveProfile::NameFor(c.otherLabel) : "";
    if (c.otherLabel != nullptr)
        arguments.insert(arguments.end(), {"--profile", other});
    std::string before = DumpTree(Office16Path) + DumpTree(outside);
    std::vector<std::wstring> wide;
    for (const std::string& argument : arguments)
        wide.push_back(Wide(argument));

    StraysweepRun run = RunStraysweep(wide);

    std::wstring problem = c.problem;
    for (const auto& [placeholder, value] :
         std::vector<std::pair<std::wstring, std::string>>{{L"<KEY>", FullKey(profile)},
                                                           {L"<OUTSIDE>", "HKEY_CURRENT_USER\\" + outside},
                                                           {L"<NAME>", profile.Name()},
                                                           {L"<OTHER>", other}})
        problem = Replaced(problem, placeholder, Wide(value));
    EXPECT_EQ(7u, run.exitCode);
    EXPECT_EQ("", run.out);
    EXPECT_EQ("straysweep: The file \"" + file + "\" cannot be restored, so nothing was changed: " + Ansi(problem) +
                  "\r\n",
              run.err);
    EXPECT_EQ(before, DumpTree(Office16Path) + DumpTree(outside));
    EXPECT_TRUE(backups.Names().empty());
    std::vector<std::string> lines = RestoreOpening(file);
    lines.push_back("Error: Plik nie może zostać przywrócony, nic nie zostało zmienione: " + Ansi(problem));
    EXPECT_EQ(LoggedRun(lines), log.Lines());
}

INSTANTIATE_TEST_SUITE_P(
    Table, RefusedFile,
    testing::Values(
        RefusedFileCase{"KeyOutsideTheProfile", "outside",
                        L"Windows Registry Editor Version 5.00\r\n\r\n[<KEY>]\r\n\"x\"=dword:00000001\r\n\r\n"
                        L"[<OUTSIDE>]\r\n\"Run\"=\"calc.exe\"\r\n\r\n",
                        true, nullptr,
                        L"The file holds another key than the one that was exported (line 6): [<OUTSIDE>]"},
        RefusedFileCase{"AnotherProfileThanAskedFor", "asked",
                        L"Windows Registry Editor Version 5.00\r\n\r\n[<KEY>]\r\n\"x\"=dword:00000001\r\n\r\n", true,
                        "other", L"It holds the profile \"<NAME>\", not \"<OTHER>\"."},
        RefusedFileCase{"DeletedKey", "deleted key",
                        L"Windows Registry Editor Version 5.00\r\n\r\n[<KEY>]\r\n\r\n"
                        L"[-<KEY>\\22222222222222222222222222222222]\r\n\r\n",
                        true, nullptr,
                        L"A key line deletes a key (line 5): [-<KEY>\\22222222222222222222222222222222]"},
        RefusedFileCase{"DeletedValue", "deleted value",
                        L"Windows Registry Editor Version 5.00\r\n\r\n[<KEY>]\r\n\r\n"
                        L"[<KEY>\\22222222222222222222222222222222]\r\n\"001f3001\"=-\r\n\r\n",
                        true, nullptr, L"A value line deletes a value (line 6): \"001f3001\"=-"},
        RefusedFileCase{"Truncated", "truncated",
                        L"Windows Registry Editor Version 5.00\r\n\r\n[<KEY>]\r\n\"x\"=hex:01,\\\r\n", true, nullptr,
                        L"The file ends in the middle of a value (line 4): hex:01,"},
        RefusedFileCase{"NotAnExport", "not an export", L"[<KEY>]\r\n\"x\"=\"1\"\r\n", false, nullptr,
                        L"The file is not a registry export: it does not begin with a UTF-16 byte-order mark."},
        RefusedFileCase{"AllProfiles", "all profiles",
                        L"Windows Registry Editor Version 5.00\r\n\r\n"
                        L"[HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\16.0\\Outlook\\Profiles]\r\n\r\n",
                        true, nullptr,
                        L"The first key is not a mail profile of a user (line 3): "
                        L"[HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\16.0\\Outlook\\Profiles]"},
        RefusedFileCase{
            "AnotherUsersProfile", "another user",
            L"Windows Registry Editor Version 5.00\r\n\r\n"
            L"[HKEY_USERS\\S-1-5-21-7-7-7-1001\\Software\\Microsoft\\Office\\16.0\\Outlook\\Profiles\\X]\r\n\r\n",
            true, nullptr,
            L"It holds a profile of another user "
            L"(HKEY_USERS\\S-1-5-21-7-7-7-1001\\Software\\Microsoft\\Office\\16.0\\Outlook\\Profiles\\X), not one "
            L"below HKEY_CURRENT_USER."},
        // The registry editor cannot be given the key to back it up or to
        // check the import.
        RefusedFileCase{"QuotationMarkInTheName", "quoted \"q\"",
                        L"Windows Registry Editor Version 5.00\r\n\r\n[<KEY>]\r\n\"x\"=dword:00000001\r\n\r\n", true,
                        nullptr,
                        L"The name of its profile holds a quotation mark, which the registry editor cannot be given, "
                        L"so the profile can be neither backed up nor checked."},
        // The registry editor ends a line at a lone CR as well: it would
        // have written the key outside.
        RefusedFileCase{"KeyBehindALoneCarriageReturn", "lone CR",
                        L"Windows Registry Editor Version 5.00\r\n\r\n[<KEY>]\r\n\"x\"=dword:00000001\r\n\r\n"
                        L";\r[<OUTSIDE>]\r\n\"Run\"=\"calc.exe\"\r\n\r\n",
                        true, nullptr, L"A line holds a line break other than CRLF (line 6): ;"},
        RefusedFileCase{"CutAfterAValue", "cut",
                        L"Windows Registry Editor Version 5.00\r\n\r\n[<KEY>]\r\n\"x\"=dword:00000001\r\n", true,
                        nullptr,
                        L"The file ends without the blank line that ends a registry export, after (line 4): "
                        L"\"x\"=dword:00000001"}),
    [](const testing::TestParamInfo<RefusedFileCase>& info) { return std::string(info.param.name); });

TEST_F(Straysweep, RestoreWhileOutlookRunsExits3AndLooksAtNothing)
{
    TempFolder folder;
    StandInProcess outlook("OUTLOOK.EXE");

    StraysweepRun run = RunStraysweep(Args({"restore", "--backup", folder / "missing.reg", "--json"}));

    EXPECT_EQ(3u, run.exitCode);
    std::string message = "Microsoft Outlook is running. Close it (make sure that no OUTLOOK.EXE process is left) "
                          "and run the restore again.";
    EXPECT_EQ("straysweep: " + message + "\r\n", run.err);
    JsonValue document = ParseOutput(run);
    EXPECT_EQ(message, document["error"].AsString());
    EXPECT_TRUE(document["file"].IsNull());
    EXPECT_TRUE(document["backupFile"].IsNull());
    EXPECT_TRUE(backups.Names().empty());
    EXPECT_EQ(LoggedRun({"Info: Outlook jest uruchomiony, procedura usuwania nie może zostać rozpoczęta."}),
              log.Lines());
}

// A backup of the profile that ends half-way is no backup to take back.
TEST_F(Straysweep, RestoreOfTheLatestWithoutACompleteBackupExits7AndChangesNothing)
{
    LiveProfile profile("no backup");
    AddStandardSections(profile);
    std::string before = DumpTree(profile.ProfilePath());
    CreateDirectoryA(BackupFolder().c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(BackupFolder() + "\\2099-01-01 00.00.00 - " + profile.Name() + ".reg",
                               RegistryScriptBytes(L"Windows Registry Editor Version 5.00\r\n\r\n[" +
                                                   Wide(FullKey(profile)) + L"]\r\n\"x\"=hex:01,\\\r\n")));

    StraysweepRun run = RunStraysweep(Args({"restore", "--profile", profile.Name(), "--latest"}));

    EXPECT_EQ(7u, run.exitCode);
    EXPECT_EQ("straysweep: There is no complete backup of the profile \"" + profile.Name() + "\" in \"" +
                  BackupFolder() + "\". Nothing was changed.\r\n",
              run.err);
    EXPECT_EQ(before, DumpTree(profile.ProfilePath()));
    EXPECT_EQ(LoggedRun({"Info:  ", "Info: -- RESTORE --",
                         "Error: Brak kompletnego backupu profilu \"" + profile.Name() + "\" w folderze \"" +
                             BackupFolder() + "\"."}),
              log.Lines());
}

// The backup folder starts empty.
class BackupListing : public Straysweep
{
protected:
    BackupFolderAside aside;
};

// Planted files: two of one second (" (2)" is the later), one of the oldest
// Outlook's root, one cut short, and two whose names are not a backup's.
TEST_F(BackupListing, ListsTheBackupsNewestFirstWithWhatEachHolds)
{
    StraysweepRun empty = RunStraysweep({L"backups", L"--json"});
    EXPECT_EQ(0u, empty.exitCode);
    EXPECT_EQ("", empty.err);
    JsonValue none = ParseOutput(empty);
    EXPECT_EQ((std::vector<std::string>{"command", "exitCode", "error", "backups", "logFile"}), none.Keys());
    EXPECT_EQ("backups", none["command"].AsString());
    EXPECT_TRUE(none["backups"].AsArray().empty());

    const std::string alpha = std::string(Office16Key) + "Alpha";
    const std::string beta = "HKEY_CURRENT_USER\\" + std::string(ProfileTreeBuilder::MessagingSubsystemRoot) + "\\Beta";
    auto exportOf = [](const std::string& key) {
        return RegistryScriptBytes(
            Wide("Windows Registry Editor Version 5.00\r\n\r\n[" + key + "]\r\n\"x\"=dword:00000001\r\n\r\n"));
    };
    std::string cut = exportOf(alpha);
    cut.resize(cut.size() - 6);
    const std::vector<std::pair<std::string, std::string>> planted = {
        {"2026-01-02 10.00.00 - Alpha.reg", exportOf(alpha)},
        {"2026-01-03 09.00.00 - Beta.reg", exportOf(beta)},
        {"2026-01-01 08.00.00 - Alpha.reg", cut},
        {"2026-01-02 10.00.00 - Alpha (2).reg", exportOf(alpha)},
        {"Alpha.reg", exportOf(alpha)},
        {"notes.txt", "notes"}};
    for (const auto& [name, bytes] : planted)
        ASSERT_TRUE(WriteFileBytes(BackupFolder() + "\\" + name, bytes)) << name;

    StraysweepRun json = RunStraysweep({L"backups", L"--json"});
    StraysweepRun text = RunStraysweep({L"backups", L"--profile", L"alpha"});

    EXPECT_EQ(0u, json.exitCode);
    std::vector<JsonValue> listed = ParseOutput(json)["backups"].AsArray();
    const std::vector<size_t> order = {1, 3, 0, 2};
    ASSERT_EQ(order.size(), listed.size()) << json.out;
    for (size_t i = 0; i < order.size(); ++i)
    {
        const auto& [name, bytes] = planted[order[i]];
        const JsonValue& entry = listed[i];
        EXPECT_EQ((std::vector<std::string>{"file", "taken", "profile", "key", "bytes", "complete"}), entry.Keys());
        EXPECT_EQ(BackupFolder() + "\\" + name, entry["file"].AsString());
        std::string taken = name.substr(0, 19);
        taken[10] = 'T';
        taken[13] = taken[16] = ':';
        EXPECT_EQ(taken, entry["taken"].AsString());
        EXPECT_EQ(order[i] == 1 ? "Beta" : "Alpha", entry["profile"].AsString());
        EXPECT_EQ(order[i] == 1 ? beta : alpha, entry["key"].AsString());
        EXPECT_EQ(static_cast<double>(bytes.size()), entry["bytes"].AsNumber());
        EXPECT_EQ(order[i] != 2, entry["complete"].AsBool()) << name;
    }

    EXPECT_EQ(0u, text.exitCode);
    EXPECT_EQ("", text.err);
    std::string size = std::to_string(exportOf(alpha).size());
    std::string cutSize = std::to_string(cut.size());
    EXPECT_EQ(Crlf("Registry backups of the profile \"alpha\" in \"" + BackupFolder() +
                   "\", newest first:\n\n"
                   "TAKEN                COMPLETE  BYTES  PROFILE  FILE\n"
                   "2026-01-02T10:00:00  yes       " +
                   size +
                   "    Alpha    2026-01-02 10.00.00 - Alpha (2).reg\n"
                   "2026-01-02T10:00:00  yes       " +
                   size +
                   "    Alpha    2026-01-02 10.00.00 - Alpha.reg\n"
                   "2026-01-01T08:00:00  no        " +
                   cutSize + "    Alpha    2026-01-01 08.00.00 - Alpha.reg\n"),
              text.out);
}

TEST_F(FailingBackup, BackupsExit5)
{
    StraysweepRun run = RunStraysweep({L"backups", L"--json"});

    EXPECT_EQ(5u, run.exitCode);
    JsonValue document = ParseOutput(run);
    std::string folderFailed = "Failed to create backup folder \"" + BackupFolder() + "\".";
    const std::string& error = document["error"].AsString();
    EXPECT_EQ(folderFailed, error.substr(error.size() - std::min(error.size(), folderFailed.size())));
    EXPECT_TRUE(document["backups"].AsArray().empty());
}

// The present state cannot be backed up: nothing is imported unless
// --without-backup says so.
TEST_F(FailingBackup, RestoreStopsWithExit4UnlessWithoutBackup)
{
    LiveProfile profile("restore without backup");
    AddStandardSections(profile);
    std::string original = DumpTree(profile.ProfilePath());
    TempFolder folder;
    std::string file = folder / "saved.reg";
    ASSERT_EQ(0u, RunToEnd("\"" + RegeditPath() + "\" /e \"" + file + "\" \"" + FullKey(profile) + "\""));
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeA(HKEY_CURRENT_USER, (profile.ProfilePath() + "\\" + Id('4')).c_str()));
    std::string changed = DumpTree(profile.ProfilePath());

    StraysweepRun stopped = RunStraysweep(Args({"restore", "--backup", file}));
    EXPECT_EQ(4u, stopped.exitCode);
    EXPECT_EQ("", stopped.out);
    EXPECT_NE(std::string::npos,
              stopped.err.find("\r\nThe profile key cannot be backed up, so nothing was imported. To restore "
                               "without a backup of the present state, add --without-backup.\r\n"))
        << stopped.err;
    EXPECT_EQ(changed, DumpTree(profile.ProfilePath()));
    EXPECT_EQ(1, Count(log.Lines(), "Error: Nie można utworzyć backupu dla profilu \"" + profile.Name() + "\"."));

    StraysweepRun restored = RunStraysweep(Args({"restore", "--backup", file, "--without-backup"}));
    EXPECT_EQ(0u, restored.exitCode) << restored.err;
    std::string warning = "straysweep: warning: the profile key cannot be backed up; going on without a backup as "
                          "--without-backup asks: ";
    EXPECT_EQ(0u, restored.err.find(warning)) << restored.err;
    EXPECT_EQ(Crlf("Restored the profile \"" + profile.Name() + "\" from \"" + file + "\".\n"), restored.out);
    EXPECT_EQ(original, DumpTree(profile.ProfilePath()));
}

// --- arguments ---------------------------------------------------------------

struct BadArgumentsCase
{
    const char* name;
    std::vector<std::string> arguments;
    const char* error;
};

std::ostream& operator<<(std::ostream& out, const BadArgumentsCase& c)
{
    return out << c.name;
}

class BadArguments : public Straysweep, public testing::WithParamInterface<BadArgumentsCase>
{
};

// The profile has a ghost that a repair would remove: nothing may happen.
TEST_P(BadArguments, Exit64WithTheUsageAndDoNothing)
{
    LiveProfile profile("bad arguments");
    AddStandardSections(profile);
    std::string before = DumpTree(profile.ProfilePath());
    std::vector<std::wstring> arguments;
    for (const std::string& argument : GetParam().arguments)
        arguments.push_back(Wide(argument == "NAME" ? profile.Name() : argument));

    StraysweepRun run = RunStraysweep(arguments);

    EXPECT_EQ(64u, run.exitCode);
    EXPECT_EQ("", run.out);
    std::string head = "straysweep: " + std::string(GetParam().error) + "\r\n\r\nUsage:\r\n";
    EXPECT_EQ(head, run.err.substr(0, head.size()));
    std::string tail = "Run \"straysweep --help\" for details.\r\n";
    EXPECT_EQ(tail, run.err.substr(run.err.size() - std::min(run.err.size(), tail.size())));
    EXPECT_EQ(before, DumpTree(profile.ProfilePath()));
    EXPECT_TRUE(backups.Names().empty());
    EXPECT_EQ(LoggedRun({}), log.Lines());
}

INSTANTIATE_TEST_SUITE_P(
    Table, BadArguments,
    testing::Values(BadArgumentsCase{"NoCommand", {}, "no command given."},
                    BadArgumentsCase{"UnknownOption",
                                     {"repair", "--profile", "NAME", "--pst", Pst, "--force"},
                                     "unknown option \"--force\"."},
                    BadArgumentsCase{"MissingPst", {"repair", "--profile", "NAME"}, "--pst is required."},
                    BadArgumentsCase{"UnknownUser",
                                     {"repair", "--profile", "NAME", "--pst", Pst, "--user", "NOBODY\\nobody"},
                                     "the user \"NOBODY\\nobody\" is neither a known account nor a well-formed SID."},
                    BadArgumentsCase{"MalformedSid",
                                     {"repair", "--profile", "NAME", "--pst", Pst, "--user", "S-1-5-x"},
                                     "the user \"S-1-5-x\" is neither a known account nor a well-formed SID."},
                    BadArgumentsCase{"AllUsersOnRepair",
                                     {"repair", "--profile", "NAME", "--pst", Pst, "--all-users"},
                                     "--all-users belongs to the scan and list commands only."},
                    BadArgumentsCase{"EmptyPst",
                                     {"repair", "--profile", "NAME", "--pst", ""},
                                     "--pst needs a name that is not empty."},
                    BadArgumentsCase{"WithoutBackupOnCheck",
                                     {"check", "--profile", "NAME", "--pst", Pst, "--without-backup"},
                                     "--without-backup belongs to the repair and restore commands only."}),
    [](const testing::TestParamInfo<BadArgumentsCase>& info) { return std::string(info.param.name); });

// A character that a plain conversion to the ANSI code page replaces by
// another one of the code page (a look-alike), as Wine does for "ł" and
// Omega in code page 1252; none when the code page holds them all.
std::optional<wchar_t> BestFitCharacter()
{
    for (wchar_t ch : {L'\u0142', L'\u03a9', L'\u0110', L'\u2460'})
    {
        char converted[8] = {};
        BOOL usedDefault = FALSE;
        if (WideCharToMultiByte(CP_ACP, 0, &ch, 1, converted, sizeof(converted), nullptr, &usedDefault) == 1 &&
            !usedDefault && Wide(converted) != std::wstring(1, ch))
            return ch;
    }
    return std::nullopt;
}

// The look-alike of the name exists and has a ghost: the name is not it, and
// the repair finds no such profile.
TEST_F(Straysweep, NameOutsideTheCodePageMatchesOnlyItself)
{
    std::optional<wchar_t> ch = BestFitCharacter();
    std::wstring name = Wide(LiveProfile::NameFor("Archive ")) + (ch ? *ch : L'\u6587');
    LiveProfile lookalike("Archive " + Ansi(std::wstring(1, ch ? *ch : L'x')));
    AddStandardSections(lookalike);
    std::string before = DumpTree(lookalike.ProfilePath());

    StraysweepRun run = RunStraysweep({L"repair", L"--profile", name, L"--pst", L"Archiwum"});

    EXPECT_EQ(5u, run.exitCode) << run.err;
    EXPECT_EQ(before, DumpTree(lookalike.ProfilePath()));
    EXPECT_TRUE(backups.Names().empty());
}

// A profile and its stores named in letters that the code page lacks
// (Cyrillic, Greek, CJK and one beyond the BMP): both ghosts' names would
// read "?????" through it. Each store is matched by its own name alone, and
// the profile is listed, checked, repaired, backed up and restored; the log
// writes each letter it cannot hold as its code point.
TEST_F(Straysweep, NamesOutsideTheCodePageAreMatchedExactlyFromListToRestore)
{
    const std::wstring archive = L"\u0410\u0440\u0445\u0438\u0432";
    const std::wstring mail = L"\u041f\u043e\u0448\u0442\u0430";
    LiveProfile profile(L"\u041f\u043e\u0447\u0442\u0430 \u03a9 \u6587 \U0001F4E7");
    const std::wstring& name = profile.WideName();
    profile.AddAccount("0001", "Jan", Id('1'));
    profile.AddService(Id('1'), Id('2'));
    profile.AddSection(Id('2'), SectionValues().WideDisplayName(mail).WideProvider("mspst.dll"));
    profile.AddSection(Id('4'), SectionValues().WideDisplayName(archive).WideProvider("mspst.dll"));
    profile.AddSection(Id('5'), SectionValues().WideDisplayName(mail).WideProvider("mspst.dll"));
    profile.AddSection(Id('6'), SectionValues().WideDisplayName(L"?????").WideProvider("mspst.dll"));

    StraysweepRun list = RunStraysweep({L"list", L"--json"});
    EXPECT_NE(std::string::npos, list.out.find("\"" + WideToUtf8(name) + "\"")) << list.out;

    StraysweepRun scan = RunStraysweep({L"scan", L"--json"});
    for (const std::wstring& ghost : {archive, mail})
        EXPECT_NE(std::string::npos, scan.out.find("\"displayName\":\"" + WideToUtf8(ghost) + "\"")) << scan.out;

    StraysweepRun check =
        RunStraysweep({L"check", L"--json", L"--profile", name, L"--pst", L"\u0410\u0420\u0425\u0418\u0412"});
    EXPECT_EQ(1u, check.exitCode) << check.err;
    EXPECT_EQ(std::vector<std::string>{Id('4')}, Strings(ParseOutput(check)["invalidSections"]));
    EXPECT_TRUE(log.Contains("Info: Proces sprawdzania dla profilu \"" + LiveProfile::NameFor("") +
                             "[U+041F][U+043E][U+0447][U+0442][U+0430] [U+03A9] [U+6587] [U+1F4E7]\" i magazynu PST "
                             "\"[U+0410][U+0420][U+0425][U+0418][U+0412]\"."));

    StraysweepRun missing = RunStraysweep({L"check", L"--json", L"--profile", name + L" \u0416", L"--pst", archive});
    EXPECT_EQ(5u, missing.exitCode);
    EXPECT_NE(std::string::npos,
              ParseOutput(missing)["error"].AsString().find("\\" + WideToUtf8(name + L" \u0416") + "\". "));

    StraysweepRun repair = RunStraysweep({L"repair", L"--profile", name, L"--pst", archive});
    EXPECT_EQ(1u, repair.exitCode) << repair.err;
    EXPECT_EQ(std::set<std::string>({ProfileTreeBuilder::AccountsKey, Id('1'), Id('2'), Id('5'), Id('6')}),
              profile.Sections());
    ASSERT_EQ(1u, backups.Names().size());
    EXPECT_EQ(" - " + LiveProfile::NameFor("") + "_____ _ _ _.reg", backups.Names()[0].substr(19));

    // A refusal quotes the offending line as it stands; the log marks it.
    TempFolder folder;
    std::string planted = folder / "outside.reg";
    ASSERT_TRUE(WriteFileBytes(planted, RegistryScriptBytes(L"Windows Registry Editor Version 5.00\r\n\r\n"
                                                            L"[HKEY_CURRENT_USER\\" + profile.WideProfilePath() +
                                                            L"]\r\n\r\n[HKEY_CURRENT_USER\\Software\\" + archive +
                                                            L"]\r\n\r\n")));
    StraysweepRun refused = RunStraysweep({L"restore", L"--json", L"--backup", Wide(planted)});
    EXPECT_EQ(7u, refused.exitCode);
    const std::wstring outside = L"The file holds another key than the one that was exported (line 5): "
                                 L"[HKEY_CURRENT_USER\\Software\\";
    EXPECT_NE(std::string::npos,
              ParseOutput(refused)["error"].AsString().find(WideToUtf8(outside + archive + L"]")))
        << refused.out;
    EXPECT_TRUE(log.Contains("Error: Plik nie może zostać przywrócony, nic nie zostało zmienione: " +
                             WideToUtf8(outside) + "[U+0410][U+0440][U+0445][U+0438][U+0432]]"));

    // The backup's failure names the key as it is stored.
    LiveProfile quoted(name + L" \"q\"");
    AddStandardSections(quoted);
    StraysweepRun unbacked = RunStraysweep(
        {L"repair", L"--json", L"--without-backup", L"--profile", quoted.WideName(), L"--pst", L"Archiwum"});
    EXPECT_EQ(1u, unbacked.exitCode) << unbacked.err;
    EXPECT_NE(std::string::npos, ParseOutput(unbacked)["backupError"].AsString().find(
                                     "\"" + WideToUtf8(L"HKEY_CURRENT_USER\\" + quoted.WideProfilePath()) + "\""))
        << unbacked.out;

    StraysweepRun restore = RunStraysweep({L"restore", L"--profile", name, L"--latest"});
    EXPECT_EQ(0u, restore.exitCode) << restore.err;
    EXPECT_EQ(std::set<std::string>({ProfileTreeBuilder::AccountsKey, Id('1'), Id('2'), Id('4'), Id('5'), Id('6')}),
              profile.Sections());
}

// --- scan ------------------------------------------------------------------

// The ghosts Id('4') and Id('5') of the standard sections, Id('8'), whose
// name differs from Id('4')'s in letter case only and whose file exists, and
// Id('9'), whose name no command line for cmd.exe can carry. The profile
// whose second account cannot be read offers none of its ghosts: a live
// store tied only through that account would look like one.
TEST_F(Straysweep, ScanFindsTheGhostsOfEveryProfileAndHowToRemoveThem)
{
    TempFolder folder;
    ASSERT_TRUE(WriteFileBytes(folder / "archiwum.pst", "!BDN"));
    LiveProfile ghosts("scan ghosts & 100%");
    AddStandardSections(ghosts);
    ghosts.AddSection(
        Id('8'),
        SectionValues().WideDisplayName("ARCHIWUM").WideProvider("mspst.dll").WidePstPath(folder / "archiwum.pst"));
    ghosts.AddSection(Id('9'), SectionValues().WideDisplayName("50% \"off\"").WideProvider("mspst.dll"));
    LiveProfile clean("scan clean");
    clean.AddAccountsKey();
    LiveProfile broken("scan broken");
    LiveProfile unread("scan unread");
    AddStandardSections(unread);
    unread.SetValue(std::string(ProfileTreeBuilder::AccountsKey) + "\\0002", "Account Name", REG_SZ,
                    std::string("Ewa\0", 4));
    ScopedRegistryText defaultProfile("Software\\Microsoft\\Office\\16.0\\Outlook", "DefaultProfile", ghosts.Name());
    std::string before = DumpTree(ghosts.ProfilePath());

    StraysweepRun text = RunStraysweep({L"scan"});
    StraysweepRun json = RunStraysweep({L"scan", L"--json"});

    EXPECT_EQ(1u, text.exitCode);
    std::string repairs =
        Crlf("\nTo remove them, close Outlook and run:\n  straysweep repair --profile \"" + ghosts.Name() +
             "\" --pst \"Archiwum\"\n  straysweep repair --profile \"" + ghosts.Name() +
             "\" --pst \"Kontakty\"\n  The PST \"50% \"off\"\" of the profile \"" + ghosts.Name() +
             "\": no command line can carry these names safely; repair it with the names that "
             "\"straysweep scan --json\" gives.\n");
    EXPECT_EQ(repairs, text.out.substr(text.out.size() - std::min(text.out.size(), repairs.size()))) << text.out;
    EXPECT_NE(std::string::npos, text.out.find(Crlf("\n\"" + clean.Name() + "\": none\n"))) << text.out;
    EXPECT_NE(std::string::npos, text.out.find(Crlf("\n\"" + unread.Name() + "\": cannot be read completely\n\n")))
        << text.out;
    EXPECT_NE(std::string::npos,
              text.out.find(Crlf("  " + Id('8') + "  \"ARCHIWUM\"  " + folder / "archiwum.pst" + "\n")))
        << text.out;
    std::string brokenError = "straysweep: the profile \"" + broken.Name() + "\" cannot be read: ";
    EXPECT_EQ(brokenError, text.err.substr(0, brokenError.size()));
    const std::string unreadError = "the account key \"0002\" cannot be read. A store tied only through what was "
                                    "not read would look like a ghost, so none is offered.";
    EXPECT_NE(std::string::npos, text.err.find("\r\nstraysweep: the profile \"" + unread.Name() +
                                               "\" cannot be read completely: " + unreadError + "\r\n"))
        << text.err;

    EXPECT_EQ(1u, json.exitCode);
    JsonValue document = ParseOutput(json);
    EXPECT_EQ((std::vector<std::string>{"command", "exitCode", "error", "profiles", "logFile"}), document.Keys());
    EXPECT_EQ("scan", document["command"].AsString());
    EXPECT_EQ(1, document["exitCode"].AsNumber());
    EXPECT_TRUE(document["error"].IsNull());
    int seen = 0;
    for (const JsonValue& profile : document["profiles"].AsArray())
    {
        EXPECT_EQ((std::vector<std::string>{"name", "default", "error", "candidates"}), profile.Keys());
        const std::string& name = profile["name"].AsString();
        const std::vector<JsonValue>& candidates = profile["candidates"].AsArray();
        EXPECT_EQ(name == ghosts.Name(), profile["default"].AsBool()) << name;
        if (name == ghosts.Name())
        {
            ++seen;
            EXPECT_TRUE(profile["error"].IsNull());
            ASSERT_EQ(4u, candidates.size());
            EXPECT_EQ((std::vector<std::string>{"section", "displayName", "pstPath", "pstFileExists"}),
                      candidates[0].Keys());
            EXPECT_EQ(Id('4'), candidates[0]["section"].AsString());
            EXPECT_EQ("Archiwum", candidates[0]["displayName"].AsString());
            EXPECT_TRUE(candidates[0]["pstPath"].IsNull());
            EXPECT_TRUE(candidates[0]["pstFileExists"].IsNull());
            EXPECT_EQ(Id('5'), candidates[1]["section"].AsString());
            EXPECT_EQ(Id('8'), candidates[2]["section"].AsString());
            EXPECT_EQ(folder / "archiwum.pst", candidates[2]["pstPath"].AsString());
            EXPECT_TRUE(candidates[2]["pstFileExists"].AsBool());
            EXPECT_EQ("50% \"off\"", candidates[3]["displayName"].AsString());
        }
        else if (name == clean.Name() || name == broken.Name())
        {
            ++seen;
            EXPECT_TRUE(candidates.empty());
            EXPECT_EQ(name == broken.Name(), !profile["error"].IsNull()) << name;
        }
        else if (name == unread.Name())
        {
            ++seen;
            EXPECT_TRUE(candidates.empty());
            EXPECT_EQ("The profile cannot be read completely: " + unreadError, profile["error"].AsString());
        }
    }
    EXPECT_EQ(4, seen);
    EXPECT_EQ(before, DumpTree(ghosts.ProfilePath()));
    std::vector<std::string> oneRun = LoggedRun({});
    std::vector<std::string> twoRuns = oneRun;
    twoRuns.insert(twoRuns.end(), oneRun.begin(), oneRun.end());
    EXPECT_EQ(twoRuns, log.Lines());
}

// A profile read only in part offers nothing, so it counts as one that
// cannot be read.
TEST_F(Straysweep, ScanWithoutGhostsExits5OnlyForAProfileThatCannotBeRead)
{
    LiveProfile clean("scan only clean");
    clean.AddAccountsKey();
    StraysweepRun allRead = RunStraysweep({L"scan"});
    std::optional<LiveProfile> partly(std::in_place, "scan only partly read");
    AddStandardSections(*partly);
    partly->AddKey(std::string(ProfileTreeBuilder::AccountsKey) + "\\0002");
    StraysweepRun partlyRead = RunStraysweep({L"scan", L"--json"});
    partly.reset();
    LiveProfile broken("scan only broken");
    StraysweepRun oneUnread = RunStraysweep({L"scan", L"--json"});

    EXPECT_EQ(0u, allRead.exitCode) << allRead.out << allRead.err;
    EXPECT_EQ("", allRead.err);
    EXPECT_EQ(std::string::npos, allRead.out.find("straysweep repair")) << allRead.out;
    EXPECT_EQ(5u, partlyRead.exitCode) << partlyRead.out << partlyRead.err;
    EXPECT_EQ(5, ParseOutput(partlyRead)["exitCode"].AsNumber());
    EXPECT_EQ(5u, oneUnread.exitCode) << oneUnread.out << oneUnread.err;
    EXPECT_EQ(5, ParseOutput(oneUnread)["exitCode"].AsNumber());
}

// The help goes to standard output with the console's line breaks, and a
// run that only shows it logs nothing of its own.
TEST_F(Straysweep, HelpIsWrittenWholeAndLogsNothing)
{
    StraysweepRun run = RunStraysweep({L"--help"});

    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ("", run.err);
    std::string help = GetHelpText();
    std::string expected;
    for (char ch : help)
        expected += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    EXPECT_EQ(expected, run.out);
    EXPECT_EQ(LoggedRun({}), log.Lines());
}

// --- libraries planted beside the program ------------------------------------

// What the planted library's entry point ends a process with.
const DWORD PlantedCodeRan = 0x5EED;

// The window program's copy at `program`, run until its main window shows,
// then closed as its close box would close it; the message boxes it shows on
// the way are answered. The exit code, or 999 when it does not end.
DWORD RunWindowProgram(const std::string& program)
{
    std::string command = "\"" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
    {
        ADD_FAILURE() << "cannot start " << program << ": " << GetLastError();
        return 999;
    }
    UniqueKernelHandle thread(started.hThread);
    UniqueKernelHandle process(started.hProcess);
    bool closed = false;
    for (int wait = 0; wait < 3000 && WaitForSingleObject(process.Get(), 20) == WAIT_TIMEOUT; ++wait)
    {
        for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "#32770", nullptr)) != nullptr;)
        {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != started.dwProcessId || !IsWindowVisible(window))
                continue;
            if (GetDlgItem(window, IDC_PROFILES) == nullptr)
                PostMessageA(window, WM_COMMAND, IDOK, 0);
            else if (!closed && IsWindowEnabled(window))
                closed = PostMessageA(window, WM_CLOSE, 0, 0);
        }
    }
    DWORD exitCode = 999;
    if (WaitForSingleObject(process.Get(), 0) != WAIT_OBJECT_0)
    {
        ADD_FAILURE() << program << " still runs after a minute";
        TerminateProcess(process.Get(), 999);
        WaitForSingleObject(process.Get(), INFINITE);
    }
    GetExitCodeProcess(process.Get(), &exitCode);
    return exitCode;
}

struct PlantedLibraryCase
{
    const char* name;
    const char* program;
    bool window;
};

void PrintTo(const PlantedLibraryCase& value, std::ostream* out)
{
    *out << value.name;
}

// A copy of the program in a folder of its own, beside libraries named as
// system libraries that it loads by name or on first use. The tests run with
// Wine told (in tests/CMakeLists.txt) to take such a library found beside a
// program before its own, as Windows does. VERSION.dll is not among them:
// Wine's own USER32 imports it, so Wine takes it from the program's folder
// before any code of the program runs (Windows' USER32 does not import it).
// The log starts new, so that its header reads the program's version.
class PlantedLibraries : public testing::TestWithParam<PlantedLibraryCase>
{
protected:
    KeptFile log{CLogFile::Instance().GetFilePath().GetString()};
    KeptFile settings{Combine(GetAppDataFolder(), "Settings.ini").GetString()};
    TempFolder folder;
};

TEST_P(PlantedLibraries, NeverRunAndTheProgramWorksWithTheSystemsOwn)
{
    const char* overrides = std::getenv("WINEDLLOVERRIDES");
    ASSERT_NE(nullptr, overrides);
    ASSERT_NE(nullptr, std::strstr(overrides, "shfolder,comctl32=n,b")) << "a planted library could not run";
    std::string built = ProgramPath(GetParam().program);
    std::string program = folder / GetParam().program;
    ASSERT_TRUE(CopyFileA(built.c_str(), program.c_str(), TRUE));
    std::string planted = TestBinPath("planted_library.dll");
    for (const char* name : {"SHFolder.dll", "comctl32.dll"})
        ASSERT_TRUE(CopyFileA(planted.c_str(), (folder / name).c_str(), TRUE)) << name;

    DWORD exitCode = GetParam().window ? RunWindowProgram(program) : RunStraysweep(program, {L"--help"}).exitCode;

    EXPECT_NE(PlantedCodeRan, exitCode) << "a planted library ran";
    EXPECT_EQ(0u, exitCode);
    CFileVersionInfo version;
    ASSERT_TRUE(version.Create(built.c_str()));
    std::string header = std::string(ProductName) + " " + FormatFileVersion(version).GetString() + " log file";
    EXPECT_NE("0.0.0.0", std::string(FormatFileVersion(version).GetString()));
    EXPECT_NE(std::string::npos, ReadFileBytes(log.Path()).find(header)) << header;
}

INSTANTIATE_TEST_SUITE_P(Table, PlantedLibraries,
                         testing::Values(PlantedLibraryCase{"CommandLine", "straysweep.exe", false},
                                         PlantedLibraryCase{"Window", "PSTStraysweep.exe", true}),
                         [](const testing::TestParamInfo<PlantedLibraryCase>& info) { return info.param.name; });
} // namespace
