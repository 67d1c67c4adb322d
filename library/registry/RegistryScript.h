#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A registry script as the registry editor exports it: a UTF-16LE file with
// a byte-order mark, the line "Windows Registry Editor Version 5.00", then
// key lines ("[path]", "[-path]" for a deletion) each followed by its value
// lines ("name"=data, @=data, "name"=- for a deletion). Read in one pass.
class RegistryScript
{
public:
    struct Value
    {
        // Empty for the default value ("@").
        std::wstring name;
        // The text after "=" with the line breaks and leading blanks of the
        // continuation lines removed: "hex:01,02", "dword:0000002a",
        // "\"text\"" (escapes kept), "-" for a deletion.
        std::wstring data;
        bool IsDeletion() const { return data == L"-"; }
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

    // True when the file is a script to its end: the byte-order mark, the
    // header, only lines that the format knows, and a last entry that is
    // complete and ends in a line break.
    bool IsComplete() const { return m_problem.empty(); }
    // What is wrong, in English, naming the first offending line; empty for a
    // complete script.
    const std::string& GetProblem() const { return m_problem; }
    // The keys in file order, up to the first offending line.
    const std::vector<Key>& GetKeys() const { return m_keys; }

    // True when `path` is `root` or lies below it, letters compared as the
    // registry compares them.
    static bool IsAtOrBelow(const std::wstring& path, const std::wstring& root);
    // Two names compared as the registry compares them: letter case aside.
    static bool SameName(const std::wstring& left, const std::wstring& right);

private:
    // Records the problem at line `line` (counted from 1), `text` the line.
    void Fail(const char* what, size_t line, const std::wstring& text);

    std::vector<Key> m_keys;
    std::string m_problem;
};
