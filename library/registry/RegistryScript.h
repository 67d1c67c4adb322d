#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// A registry script as the registry editor exports it: a UTF-16LE file with
// a byte-order mark, the line "Windows Registry Editor Version 5.00", then
// key lines ("[path]", "[-path]" for a deletion) each followed by its value
// lines ("name"=data, @=data, "name"=- for a deletion) and a blank line. Read
// in one pass, strictly: whatever the editor might read otherwise than this
// reader does is a problem, so that what is checked is what is written.
class RegistryScript
{
public:
    struct Value
    {
        // Empty for the default value ("@").
        std::wstring name;
        // "name"=- : the value is deleted, and has no data.
        bool deletion = false;
        // The value as the registry holds it: REG_SZ for quoted text (its
        // bytes UTF-16LE with the final NUL), REG_DWORD for "dword:", N for
        // "hex(N):", REG_BINARY for "hex:".
        DWORD type = REG_NONE;
        std::vector<BYTE> bytes;
        // The value line's number, counted from 1.
        size_t line = 0;
        bool IsDeletion() const { return deletion; }
    };

    struct Key
    {
        // The path as the line gives it, without "-" for a deletion.
        std::wstring path;
        bool deletion = false;
        // The key line's number, counted from 1.
        size_t line = 0;
        std::vector<Value> values;
    };

    // Reads and parses the file at `path`: ERROR_SUCCESS, or the system's
    // code when it cannot be read (the script is then empty). Whether it is a
    // whole script is IsComplete's to say.
    DWORD Read(LPCSTR path);
    // Parses the bytes of a file.
    void Parse(const std::string& bytes);
    // A script of `keys`, complete, as read from somewhere else than a file.
    static RegistryScript OfKeys(std::vector<Key> keys);

    // True when the file is a script to its end: the byte-order mark, the
    // header, only lines that the format knows as an export writes them,
    // and the blank line with which an export ends.
    bool IsComplete() const { return m_problem.empty(); }
    // What is wrong, in English, naming the first offending line; empty for a
    // complete script.
    const std::wstring& GetProblem() const { return m_problem; }
    // The keys in file order, up to the first offending line.
    const std::vector<Key>& GetKeys() const { return m_keys; }

    // A key or a value of one script that another script lacks.
    struct Absence
    {
        std::wstring keyPath;
        // Empty for the key itself; the value's name ("" for "@") otherwise.
        std::optional<std::wstring> valueName;
        // The other script has the value, with other data.
        bool otherData = false;

        // As the script writes it: "[path]", or "[path]" and the value's
        // name as its line begins ("\"name\"", "@").
        std::wstring Describe() const;
    };

    // Why the script is not a complete export of the key `key` alone: empty
    // when it is complete, its first key line is `key` and every other one
    // lies below it, and it deletes neither a key nor a value. Names the
    // first offending line, in English.
    std::wstring CheckExportOf(const std::wstring& key) const;

    // What of this script `other` lacks, keys in this script's order, the
    // values of each by name: every key that `other` does not hold (its
    // values not listed apart), and every value of a key that both hold that
    // `other` lacks or holds with other data: another type or other bytes.
    // Keys and values that
    // occur more than once count as an import leaves them: the last data
    // wins. Deletions are passed over.
    std::vector<Absence> FindAbsent(const RegistryScript& other) const;

    // A problem worded as GetProblem words it: `what`, the line's number
    // (counted from 1) and the line `text`, its first 200 characters.
    static std::wstring LineProblem(const char* what, size_t line, const std::wstring& text);

    // True when `path` is `root` or lies below it, letters compared as the
    // registry compares them.
    static bool IsAtOrBelow(const std::wstring& path, const std::wstring& root);

private:
    // Records the problem at line `line` (counted from 1), `text` the line.
    void Fail(const char* what, size_t line, const std::wstring& text);

    std::vector<Key> m_keys;
    std::wstring m_problem;
};
