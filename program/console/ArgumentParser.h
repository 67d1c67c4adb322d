#pragma once

#include "library/base/CString.h"

#include <string>
#include <vector>

enum class ConsoleCommand
{
    Help,
    List,
    Check,
    Repair,
    Scan,
    Backups,
    Restore,
};

// What a valid command line asks for: names as typed, the file's path in
// the ANSI code page, as the file functions of the program take it.
struct ConsoleArguments
{
    ConsoleCommand command = ConsoleCommand::Help;
    // Empty for "list", "backups" and "restore" without --profile.
    std::wstring profile;
    std::wstring pst;
    // The file of "restore --backup".
    CString backup;
    bool latest = false;
    bool json = false;
    bool withoutBackup = false;
    // --user: the account ("DOMAIN\name" or "name") or SID whose loaded
    // registry hive is worked on; empty for the caller's own.
    std::wstring user;
    // The SID that `user` names, for the commands to work on.
    CString userSid;
    // --all-users: every signed-in user's hive (list and scan).
    bool allUsers = false;
};

// Reads the program's arguments (the command line without the program's own
// name): one command (list, check, repair, scan, backups, restore; any letter
// case) and the options --profile NAME, --pst NAME, --backup FILE, --user NAME
// (also --profile=NAME, ...), --latest, --json, --without-backup, --all-users
// and --help (also -h, -?, /?), in any order.
class ArgumentParser
{
public:
    explicit ArgumentParser(std::vector<std::wstring> arguments);

    // True when the arguments form a valid command line (--help anywhere
    // makes it the help command), then GetArguments holds it; false with
    // GetError saying what is wrong.
    bool Parse();

    const ConsoleArguments& GetArguments() const { return m_result; }
    const std::wstring& GetError() const { return m_error; }

private:
    void ReadOption(const std::wstring& argument, size_t& index);
    // The value of a name option: after "=" or in the next argument. Sets
    // `given`; a second occurrence and a missing or empty value are errors.
    void ReadName(const std::wstring& option, const std::wstring* inlineValue, size_t& index, std::wstring& value,
                  bool& given);
    // --backup's value as ReadName reads it; a path that the ANSI code page
    // cannot hold exactly is an error.
    void ReadFile(const std::wstring& option, const std::wstring* inlineValue, size_t& index);
    void ReadFlag(const std::wstring& option, const std::wstring* inlineValue, bool& flag);
    void ReadCommand(const std::wstring& argument);
    void CheckCombination();
    // Keeps the first error: it is the one the user meets first.
    void Fail(const std::wstring& error);

    std::vector<std::wstring> m_arguments;
    ConsoleArguments m_result;
    std::wstring m_error;
    bool m_help = false;
    bool m_hasCommand = false;
    bool m_hasProfile = false;
    bool m_hasPst = false;
    bool m_hasUser = false;
    bool m_hasBackup = false;
};
