#include "program/console/ArgumentParser.h"

#include "library/base/TextConversion.h"

#include <utility>

namespace
{
bool IsHelp(const std::wstring& argument)
{
    return argument == L"--help" || argument == L"-h" || argument == L"-?" || argument == L"/?";
}

bool EqualsNoCase(const std::wstring& left, const wchar_t* right)
{
    return CompareStringOrdinal(left.c_str(), -1, right, -1, TRUE) == CSTR_EQUAL;
}

std::wstring Quoted(const std::wstring& text)
{
    return L"\"" + text + L"\"";
}
} // namespace

ArgumentParser::ArgumentParser(std::vector<std::wstring> arguments) : m_arguments(std::move(arguments))
{
}

bool ArgumentParser::Parse()
{
    for (size_t index = 0; index < m_arguments.size(); ++index)
    {
        const std::wstring& argument = m_arguments[index];
        if (IsHelp(argument))
            m_help = true;
        else if (argument.size() > 1 && argument[0] == L'-')
            ReadOption(argument, index);
        else
            ReadCommand(argument);
    }
    if (m_help)
    {
        m_result = ConsoleArguments();
        m_error.clear();
        return true;
    }
    if (m_error.empty())
        CheckCombination();
    return m_error.empty();
}

void ArgumentParser::ReadOption(const std::wstring& argument, size_t& index)
{
    size_t equals = argument.find(L'=');
    std::wstring option = argument.substr(0, equals);
    std::wstring inlineValue = equals == std::wstring::npos ? std::wstring() : argument.substr(equals + 1);
    const std::wstring* value = equals == std::wstring::npos ? nullptr : &inlineValue;
    if (option == L"--profile")
        ReadName(option, value, index, m_result.profile, m_hasProfile);
    else if (option == L"--pst")
        ReadName(option, value, index, m_result.pst, m_hasPst);
    else if (option == L"--user")
        ReadName(option, value, index, m_result.user, m_hasUser);
    else if (option == L"--all-users")
        ReadFlag(option, value, m_result.allUsers);
    else if (option == L"--backup")
        ReadFile(option, value, index);
    else if (option == L"--latest")
        ReadFlag(option, value, m_result.latest);
    else if (option == L"--json")
        ReadFlag(option, value, m_result.json);
    else if (option == L"--without-backup")
        ReadFlag(option, value, m_result.withoutBackup);
    else
        Fail(L"unknown option " + Quoted(argument) + L".");
}

void ArgumentParser::ReadName(const std::wstring& option, const std::wstring* inlineValue, size_t& index,
                              std::wstring& value, bool& given)
{
    std::wstring text;
    if (inlineValue != nullptr)
    {
        text = *inlineValue;
    }
    else
    {
        // A value that looks like an option is more likely a forgotten name:
        // a name that begins with "--" is given as --profile=--name.
        if (index + 1 >= m_arguments.size() || m_arguments[index + 1].compare(0, 2, L"--") == 0)
        {
            Fail(option + L" needs a name after it.");
            return;
        }
        text = m_arguments[++index];
    }
    if (given)
    {
        Fail(option + L" is given more than once.");
        return;
    }
    given = true;
    if (text.empty())
    {
        Fail(option + L" needs a name that is not empty.");
        return;
    }
    // A profile is one key below the profiles key: a "\" would reach a key
    // below another profile.
    if (option == L"--profile" && text.find(L'\\') != std::wstring::npos)
    {
        Fail(L"a profile name cannot hold \"\\\".");
        return;
    }
    value = text;
}

void ArgumentParser::ReadFile(const std::wstring& option, const std::wstring* inlineValue, size_t& index)
{
    std::wstring file;
    ReadName(option, inlineValue, index, file, m_hasBackup);
    // The file functions take the path in the ANSI code page: a look-alike
    // character would open another file, or none.
    if (!file.empty() && !WideToAnsiExactly(file, m_result.backup))
        Fail(L"the name given with " + option + L" has characters that the ANSI code page (" +
             std::to_wstring(GetACP()) + L") cannot represent exactly, so it cannot be opened.");
}

void ArgumentParser::ReadFlag(const std::wstring& option, const std::wstring* inlineValue, bool& flag)
{
    if (inlineValue != nullptr)
        Fail(option + L" takes no value.");
    else if (flag)
        Fail(option + L" is given more than once.");
    flag = true;
}

void ArgumentParser::ReadCommand(const std::wstring& argument)
{
    if (m_hasCommand)
    {
        Fail(L"unexpected argument " + Quoted(argument) + L" after the command.");
        return;
    }
    m_hasCommand = true;
    if (EqualsNoCase(argument, L"list"))
        m_result.command = ConsoleCommand::List;
    else if (EqualsNoCase(argument, L"check"))
        m_result.command = ConsoleCommand::Check;
    else if (EqualsNoCase(argument, L"repair"))
        m_result.command = ConsoleCommand::Repair;
    else if (EqualsNoCase(argument, L"scan"))
        m_result.command = ConsoleCommand::Scan;
    else if (EqualsNoCase(argument, L"backups"))
        m_result.command = ConsoleCommand::Backups;
    else if (EqualsNoCase(argument, L"restore"))
        m_result.command = ConsoleCommand::Restore;
    else
        Fail(L"unknown command " + Quoted(argument) + L".");
}

void ArgumentParser::CheckCombination()
{
    if (!m_hasCommand)
    {
        Fail(L"no command given.");
        return;
    }
    ConsoleCommand command = m_result.command;
    bool needsNames = command == ConsoleCommand::Check || command == ConsoleCommand::Repair;
    bool restore = command == ConsoleCommand::Restore;
    if (command == ConsoleCommand::Scan && m_hasProfile)
        Fail(L"scan takes no --profile: it looks at every profile.");
    else if (command == ConsoleCommand::Scan && m_hasPst)
        Fail(L"scan takes no --pst: it finds the ghost stores' names itself.");
    else if (command == ConsoleCommand::List && m_hasPst)
        Fail(L"list takes no --pst.");
    else if (command == ConsoleCommand::Backups && m_hasPst)
        Fail(L"backups takes no --pst.");
    else if (restore && m_hasPst)
        Fail(L"restore takes no --pst: it restores the whole profile.");
    else if (needsNames && !m_hasProfile)
        Fail(L"--profile is required.");
    else if (needsNames && !m_hasPst)
        Fail(L"--pst is required.");
    else if (!restore && (m_hasBackup || m_result.latest))
        Fail(std::wstring(m_hasBackup ? L"--backup" : L"--latest") + L" belongs to the restore command only.");
    else if (restore && m_hasBackup && m_result.latest)
        Fail(L"restore takes either --backup FILE or --latest, not both.");
    else if (restore && !m_hasBackup && !m_result.latest)
        Fail(L"restore needs --backup FILE, or --profile NAME with --latest.");
    else if (restore && m_result.latest && !m_hasProfile)
        Fail(L"--latest needs --profile: the newest backup of which profile?");
    else if (command != ConsoleCommand::Repair && !restore && m_result.withoutBackup)
        Fail(L"--without-backup belongs to the repair and restore commands only.");
    else if (m_hasUser && m_result.allUsers)
        Fail(L"--user and --all-users cannot be given together.");
    else if (m_result.allUsers && command != ConsoleCommand::Scan && command != ConsoleCommand::List)
        Fail(L"--all-users belongs to the scan and list commands only.");
    else if (m_result.allUsers && m_hasProfile)
        Fail(L"list --all-users takes no --profile.");
}

void ArgumentParser::Fail(const std::wstring& error)
{
    if (m_error.empty())
        m_error = error;
}
