#include "program/console/ArgumentParser.h"
#include "program/console/CmdCommandLine.h"
#include "program/console/ExitCode.h"
#include "program/console/HelpText.h"
#include "library/base/TextConversion.h"
#include "tests/support/TempFolder.h"

#include <regex>
#include <set>
#include <sstream>

#include <shellapi.h>

#include <gtest/gtest.h>

namespace
{
struct ValidCase
{
    const char* name;
    std::vector<std::wstring> arguments;
    ConsoleCommand command;
    const char* profile;
    const char* pst;
    bool json;
    bool withoutBackup;
    const char* backup = "";
    bool latest = false;
};

std::ostream& operator<<(std::ostream& out, const ValidCase& c)
{
    return out << c.name;
}

class ValidCommandLine : public testing::TestWithParam<ValidCase>
{
};

TEST_P(ValidCommandLine, GivesItsCommandAndNames)
{
    ArgumentParser parser(GetParam().arguments);
    ASSERT_TRUE(parser.Parse()) << testing::PrintToString(parser.GetError());
    const ConsoleArguments& arguments = parser.GetArguments();
    EXPECT_EQ(GetParam().command, arguments.command);
    EXPECT_EQ(AnsiToWide(GetParam().profile), arguments.profile);
    EXPECT_EQ(AnsiToWide(GetParam().pst), arguments.pst);
    EXPECT_EQ(GetParam().json, arguments.json);
    EXPECT_EQ(GetParam().withoutBackup, arguments.withoutBackup);
    EXPECT_EQ(GetParam().backup, arguments.backup.Str());
    EXPECT_EQ(GetParam().latest, arguments.latest);
    EXPECT_TRUE(parser.GetError().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, ValidCommandLine,
    testing::Values(
        ValidCase{"ListAlone", {L"list"}, ConsoleCommand::List, "", "", false, false},
        ValidCase{"ListInCapitals", {L"LIST"}, ConsoleCommand::List, "", "", false, false},
        ValidCase{
            "ListProfile", {L"list", L"--profile", L"Outlook"}, ConsoleCommand::List, "Outlook", "", false, false},
        ValidCase{"ListJsonFirst", {L"--json", L"list"}, ConsoleCommand::List, "", "", true, false},
        ValidCase{"ScanAsJson", {L"Scan", L"--json"}, ConsoleCommand::Scan, "", "", true, false},
        ValidCase{"Check",
                  {L"check", L"--profile", L"Outlook", L"--pst", L"Archive 2019"},
                  ConsoleCommand::Check,
                  "Outlook",
                  "Archive 2019",
                  false,
                  false},
        ValidCase{"CheckOptionsBeforeCommand",
                  {L"--pst=Archive", L"--profile=Poczta", L"check", L"--json"},
                  ConsoleCommand::Check,
                  "Poczta",
                  "Archive",
                  true,
                  false},
        ValidCase{"RepairWithoutBackup",
                  {L"repair", L"--without-backup", L"--profile", L"Outlook", L"--pst", L"Archive"},
                  ConsoleCommand::Repair,
                  "Outlook",
                  "Archive",
                  false,
                  true},
        // Blanks belong to the name: the engine compares whole names.
        ValidCase{"NamesKeepTheirBlanks",
                  {L"check", L"--profile", L" Outlook ", L"--pst", L"  "},
                  ConsoleCommand::Check,
                  " Outlook ",
                  "  ",
                  false,
                  false},
        ValidCase{"EqualsInTheValue",
                  {L"check", L"--profile=a=b", L"--pst", L"x=y"},
                  ConsoleCommand::Check,
                  "a=b",
                  "x=y",
                  false,
                  false},
        ValidCase{"ValueThatBeginsWithDashesAfterEquals",
                  {L"check", L"--profile=--odd", L"--pst=-x"},
                  ConsoleCommand::Check,
                  "--odd",
                  "-x",
                  false,
                  false},
        ValidCase{"SingleDashValueAfterASpace",
                  {L"check", L"--profile", L"-x", L"--pst", L"-"},
                  ConsoleCommand::Check,
                  "-x",
                  "-",
                  false,
                  false},
        // ü and Ä stand in every Western and Central European code page.
        ValidCase{"LettersOfTheCodePage",
                  {L"check", L"--profile", L"\u00dcbung", L"--pst", L"\u00c4rger"},
                  ConsoleCommand::Check,
                  "\xdc"
                  "bung",
                  "\xc4"
                  "rger",
                  false,
                  false},
        ValidCase{"RestoreAFileOfTheProfile",
                  {L"restore", L"--backup", L"C:\\b\\x.reg", L"--profile", L"Outlook", L"--without-backup"},
                  ConsoleCommand::Restore,
                  "Outlook",
                  "",
                  false,
                  true,
                  "C:\\b\\x.reg"},
        ValidCase{"RestoreTheLatest",
                  {L"RESTORE", L"--latest", L"--profile=Outlook"},
                  ConsoleCommand::Restore,
                  "Outlook",
                  "",
                  false,
                  false,
                  "",
                  true},
        ValidCase{"HelpWins", {L"repair", L"--bogus", L"--help"}, ConsoleCommand::Help, "", "", false, false},
        ValidCase{"ShortHelp", {L"-h"}, ConsoleCommand::Help, "", "", false, false},
        ValidCase{"QuestionMark", {L"/?"}, ConsoleCommand::Help, "", "", false, false},
        ValidCase{"DashQuestionMark", {L"-?"}, ConsoleCommand::Help, "", "", false, false}),
    [](const testing::TestParamInfo<ValidCase>& info) { return std::string(info.param.name); });

struct InvalidCase
{
    const char* name;
    std::vector<std::wstring> arguments;
    const wchar_t* error;
};

std::ostream& operator<<(std::ostream& out, const InvalidCase& c)
{
    return out << c.name;
}

class InvalidCommandLine : public testing::TestWithParam<InvalidCase>
{
};

TEST_P(InvalidCommandLine, IsRefusedWithItsFirstFault)
{
    ArgumentParser parser(GetParam().arguments);
    EXPECT_FALSE(parser.Parse());
    EXPECT_EQ(std::wstring(GetParam().error), parser.GetError());
}

INSTANTIATE_TEST_SUITE_P(
    Table, InvalidCommandLine,
    testing::Values(
        InvalidCase{"Nothing", {}, L"no command given."}, InvalidCase{"OptionsOnly", {L"--json"}, L"no command given."},
        InvalidCase{"UnknownCommand", {L"remove"}, L"unknown command \"remove\"."},
        InvalidCase{"SecondCommand", {L"list", L"check"}, L"unexpected argument \"check\" after the command."},
        InvalidCase{"UnknownOption", {L"list", L"--verbose"}, L"unknown option \"--verbose\"."},
        InvalidCase{"UnknownShortOption", {L"list", L"-p", L"x"}, L"unknown option \"-p\"."},
        InvalidCase{"OptionInOtherCase", {L"list", L"--PROFILE", L"x"}, L"unknown option \"--PROFILE\"."},
        InvalidCase{"ProfileWithoutValue", {L"list", L"--profile"}, L"--profile needs a name after it."},
        InvalidCase{
            "ProfileFollowedByOption", {L"check", L"--profile", L"--pst", L"x"}, L"--profile needs a name after it."},
        InvalidCase{"EmptyProfile",
                    {L"check", L"--profile", L"", L"--pst", L"x"},
                    L"--profile needs a name that is not empty."},
        InvalidCase{
            "EmptyPstAfterEquals", {L"check", L"--profile", L"p", L"--pst="}, L"--pst needs a name that is not empty."},
        InvalidCase{"ProfileTwice",
                    {L"check", L"--profile", L"a", L"--profile=b", L"--pst", L"x"},
                    L"--profile is given more than once."},
        InvalidCase{"JsonTwice", {L"list", L"--json", L"--json"}, L"--json is given more than once."},
        InvalidCase{"JsonWithValue", {L"list", L"--json=yes"}, L"--json takes no value."},
        InvalidCase{"CheckWithoutProfile", {L"check", L"--pst", L"x"}, L"--profile is required."},
        InvalidCase{"RepairWithoutPst", {L"repair", L"--profile", L"p"}, L"--pst is required."},
        InvalidCase{"ListWithPst", {L"list", L"--pst", L"x"}, L"list takes no --pst."},
        InvalidCase{
            "ScanWithProfile", {L"scan", L"--profile", L"p"}, L"scan takes no --profile: it looks at every profile."},
        InvalidCase{
            "ScanWithPst", {L"scan", L"--pst", L"x"}, L"scan takes no --pst: it finds the ghost stores' names itself."},
        InvalidCase{"ScanWithoutBackup",
                    {L"scan", L"--without-backup"},
                    L"--without-backup belongs to the repair and restore commands only."},
        InvalidCase{"ProfileBelowAnother",
                    {L"check", L"--profile", L"Outlook\\..\\Other", L"--pst", L"x"},
                    L"a profile name cannot hold \"\\\"."},
        InvalidCase{"CheckWithoutBackup",
                    {L"check", L"--profile", L"p", L"--pst", L"x", L"--without-backup"},
                    L"--without-backup belongs to the repair and restore commands only."},
        InvalidCase{"BackupOnRepair",
                    {L"repair", L"--profile", L"p", L"--pst", L"x", L"--backup", L"f"},
                    L"--backup belongs to the restore command only."},
        InvalidCase{
            "RestoreWithNothing", {L"restore"}, L"restore needs --backup FILE, or --profile NAME with --latest."},
        InvalidCase{"RestoreWithBoth",
                    {L"restore", L"--backup", L"f", L"--latest", L"--profile", L"p"},
                    L"restore takes either --backup FILE or --latest, not both."},
        InvalidCase{"LatestWithoutProfile",
                    {L"restore", L"--latest"},
                    L"--latest needs --profile: the newest backup of which profile?"},
        InvalidCase{"RestoreWithPst",
                    {L"restore", L"--backup", L"f", L"--pst", L"x"},
                    L"restore takes no --pst: it restores the whole profile."},
        InvalidCase{"FirstFaultIsReported", {L"bogus", L"--verbose"}, L"unknown command \"bogus\"."}),
    [](const testing::TestParamInfo<InvalidCase>& info) { return std::string(info.param.name); });

// Names reach the registry through the ANSI code page: one that does not
// convert exactly must not be matched against a look-alike.
class UnconvertibleName : public testing::TestWithParam<const wchar_t*>
{
};

// Names reach the registry as they are typed; a file's path goes through
// the ANSI code page and is refused when that would change it.
TEST_P(UnconvertibleName, IsTakenExactlyAsANameAndRefusedAsAFile)
{
    ArgumentParser names({L"repair", L"--profile", GetParam(), L"--pst", GetParam()});
    ASSERT_TRUE(names.Parse()) << testing::PrintToString(names.GetError());
    EXPECT_EQ(GetParam(), names.GetArguments().profile);
    EXPECT_EQ(GetParam(), names.GetArguments().pst);

    ArgumentParser file({L"restore", L"--backup", GetParam()});
    EXPECT_FALSE(file.Parse());
    EXPECT_EQ(L"the name given with --backup has characters that the ANSI code page (" + std::to_wstring(GetACP()) +
                  L") cannot represent exactly, so it cannot be opened.",
              file.GetError());
}

// Greek (best fit "O" in code page 1252), Chinese, a circled digit, a lone
// surrogate, and a character outside the Basic Multilingual Plane.
INSTANTIATE_TEST_SUITE_P(Table, UnconvertibleName,
                         testing::Values(L"\u03a9mega", L"\u6587\u4ef6", L"Archive \u2460", L"a\xd800z",
                                         L"\U0001F4C1 Archive"));

struct RepairLineCase
{
    const char* name;
    const char* profile;
    const char* pst;
    // Null: no line can carry the names.
    const char* line;
};

std::ostream& operator<<(std::ostream& out, const RepairLineCase& c)
{
    return out << c.name;
}

class RepairCommandLine : public testing::TestWithParam<RepairLineCase>
{
};

// The repair command that scan prints, pasted at a cmd.exe prompt: what cmd
// leaves of it is split as the program splits its command line and parsed,
// and gives back the names exactly.
TEST_P(RepairCommandLine, GivesTheNamesBackOrIsNotWritten)
{
    std::wstring line = CmdCommandLine(
        L"straysweep repair", {{L"--profile", AnsiToWide(GetParam().profile)}, {L"--pst", AnsiToWide(GetParam().pst)}});
    if (GetParam().line == nullptr)
    {
        EXPECT_EQ(L"", line);
        return;
    }
    EXPECT_EQ(AnsiToWide(GetParam().line), line);
    int count = 0;
    LPWSTR* split = CommandLineToArgvW(line.c_str(), &count);
    ASSERT_NE(nullptr, split);
    std::vector<std::wstring> arguments(split + 1, split + count);
    LocalFree(split);
    ArgumentParser parser(arguments);
    ASSERT_TRUE(parser.Parse()) << testing::PrintToString(parser.GetError());
    EXPECT_EQ(AnsiToWide(GetParam().profile), parser.GetArguments().profile);
    EXPECT_EQ(AnsiToWide(GetParam().pst), parser.GetArguments().pst);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RepairCommandLine,
    testing::Values(RepairLineCase{"Plain", "Outlook", "Archive 2019",
                                   "straysweep repair --profile \"Outlook\" --pst \"Archive 2019\""},
                    RepairLineCase{"CmdSpecialsStayInsideTheQuotes", "R&D | <x> (1)", "a^b&c",
                                   "straysweep repair --profile \"R&D | <x> (1)\" --pst \"a^b&c\""},
                    RepairLineCase{"OnePercentOnTheLine", "100% Outlook", "Archive",
                                   "straysweep repair --profile \"100% Outlook\" --pst \"Archive\""},
                    RepairLineCase{"PercentsOfBothNamesCouldFormAVariable", "50%", "%USERNAME", nullptr},
                    RepairLineCase{"VariableInAName", "Outlook", "%USERNAME%", nullptr},
                    RepairLineCase{"Quote", "Outlook", "Archive \"old\"", nullptr},
                    RepairLineCase{"ExclamationMark", "Outlook!", "Archive", nullptr},
                    RepairLineCase{"Tab", "Outlook", "Archive\t2019", nullptr},
                    RepairLineCase{"BackslashesBeforeTheClosingQuoteDouble", "Outlook", "C:\\pst\\",
                                   "straysweep repair --profile \"Outlook\" --pst \"C:\\pst\\\\\""},
                    RepairLineCase{"LeadingDashesAfterEquals", "Outlook", "--old",
                                   "straysweep repair --profile \"Outlook\" --pst=\"--old\""},
                    RepairLineCase{"LettersOutsideAscii", "\xc4rger", "Z\xfcrich",
                                   "straysweep repair --profile \"\xc4rger\" --pst \"Z\xfcrich\""}),
    [](const testing::TestParamInfo<RepairLineCase>& info) { return std::string(info.param.name); });
// Runs of blanks and line breaks as one blank, without the code's marks of a
// Markdown text (`).
std::string Words(const std::string& text)
{
    std::string words;
    for (char ch : text)
    {
        if (ch == '`')
            continue;
        bool blank = ch == ' ' || ch == '\n' || ch == '\r';
        if (blank && (words.empty() || words.back() == ' '))
            continue;
        words += blank ? ' ' : ch;
    }
    while (!words.empty() && words.back() == ' ')
        words.pop_back();
    return words;
}

// The usage lines of `command` in the help, one after the other.
std::string UsageOf(const std::string& help, const std::string& command)
{
    std::string lines;
    std::istringstream in(help);
    for (std::string line; std::getline(in, line);)
    {
        if (line.compare(0, 13 + command.size(), "  straysweep " + command) == 0)
            lines += line + "\n";
    }
    return lines;
}

// Whether `usage` names `option` as a word of its own.
bool Mentions(const std::string& usage, const std::string& option)
{
    for (size_t at = usage.find(option); at != std::string::npos; at = usage.find(option, at + 1))
    {
        char before = at > 0 ? usage[at - 1] : ' ';
        char after = at + option.size() < usage.size() ? usage[at + option.size()] : ' ';
        if ((before == '[' || before == ' ') && (after == ' ' || after == ']' || after == '\n'))
            return true;
    }
    return false;
}

// Every option that the parser takes beside a command's least command line
// is in that command's usage lines of the help.
TEST(Help, NamesEveryOptionThatEachCommandTakes)
{
    const std::vector<std::pair<std::string, std::vector<std::wstring>>> least = {
        {"list", {L"list"}},
        {"check", {L"check", L"--profile", L"P", L"--pst", L"S"}},
        {"repair", {L"repair", L"--profile", L"P", L"--pst", L"S"}},
        {"scan", {L"scan"}},
        {"backups", {L"backups"}},
        {"restore", {L"restore", L"--backup", L"b.reg"}},
        {"restore", {L"restore", L"--profile", L"P", L"--latest"}}};
    const std::vector<std::vector<std::wstring>> options = {
        {L"--profile", L"P"},    {L"--pst", L"S"}, {L"--user", L"U"}, {L"--all-users"},
        {L"--backup", L"b.reg"}, {L"--latest"},    {L"--json"},       {L"--without-backup"}};
    const std::string help = GetHelpText();
    size_t taken = 0;
    for (const auto& [command, arguments] : least)
    {
        ASSERT_TRUE(ArgumentParser(arguments).Parse()) << command;
        std::string usage = UsageOf(help, command);
        for (const std::vector<std::wstring>& option : options)
        {
            std::vector<std::wstring> line = arguments;
            line.insert(line.end(), option.begin(), option.end());
            if (!ArgumentParser(line).Parse())
                continue;
            ++taken;
            std::string name(option[0].begin(), option[0].end());
            EXPECT_TRUE(Mentions(usage, name)) << command << " takes " << name << ":\n" << usage;
        }
    }
    EXPECT_GE(taken, 20u);
}

// Every outcome of the core has one exit code of the table: one added later
// without a row would leave the command line's scripts guessing.
TEST(ExitCodes, EveryOutcomeOfTheCoreHasItsOwnRow)
{
    std::set<int> outcomes;
    for (const ExitCode::Meaning& meaning : ExitCode::Meanings)
    {
        if (meaning.outcome)
        {
            EXPECT_TRUE(outcomes.insert(static_cast<int>(*meaning.outcome)).second) << meaning.code;
        }
    }
    for (int what = 0; what <= static_cast<int>(CoreOutcome::What::OtherFailure); ++what)
        EXPECT_EQ(1u, outcomes.count(what)) << what;
    EXPECT_EQ(ExitCode::ProfileReadIncompletely, ExitCode::Of(CoreOutcome::What::ProfileReadIncompletely));
}

// The help and both READMEs (the project's and the one in the release) give
// every exit code of the table, in its order, with its words.
TEST(ExitCodes, TheHelpAndBothReadmesSayWhatTheTableSays)
{
    std::vector<std::pair<std::string, std::string>> table;
    for (const ExitCode::Meaning& meaning : ExitCode::Meanings)
        table.emplace_back(std::to_string(meaning.code), meaning.text);

    const std::string help = GetHelpText();
    size_t begin = help.find("Exit codes:\n");
    ASSERT_NE(std::string::npos, begin);
    size_t end = help.find("\n\n", begin);
    std::vector<std::pair<std::string, std::string>> helped;
    std::regex entry("\n  (\\d+) +([^\\n]*(\n      [^\\n]*)*)");
    std::string codes = help.substr(begin, end - begin);
    for (std::sregex_iterator at(codes.begin(), codes.end(), entry), last; at != last; ++at)
        helped.emplace_back((*at)[1], Words((*at)[2]));
    EXPECT_EQ(table, helped);

    std::string readme = ReadFileBytes(STRAYSWEEP_SOURCE_DIR "/README.md");
    begin = readme.find("| Exit code | Meaning |\n|---:|---|\n");
    ASSERT_NE(std::string::npos, begin);
    std::vector<std::pair<std::string, std::string>> rows;
    std::regex row("\\| (\\d+) \\| (.*) \\|");
    std::string rowsText = readme.substr(begin, readme.find("\n\n", begin) - begin);
    for (std::sregex_iterator at(rowsText.begin(), rowsText.end(), row), last; at != last; ++at)
        rows.emplace_back((*at)[1], Words((*at)[2]));
    EXPECT_EQ(table, rows);

    std::string release = ReadFileBytes(STRAYSWEEP_SOURCE_DIR "/tools/package/README.txt");
    begin = release.find("Exit codes of straysweep.exe\n");
    ASSERT_NE(std::string::npos, begin);
    std::string released = release.substr(begin, release.find("\n\n\n", begin) - begin);
    std::vector<std::pair<std::string, std::string>> listed;
    std::regex item("\n {1,3}(\\d+)  ([^\\n]*(\n      [^\\n]*)*)");
    for (std::sregex_iterator at(released.begin(), released.end(), item), last; at != last; ++at)
        listed.emplace_back((*at)[1], Words((*at)[2]));
    EXPECT_EQ(table, listed);
}
} // namespace
