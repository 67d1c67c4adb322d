#pragma once

#include "library/fs/NvFsPathT.h"

class RegistryScript;

#include <string>

// The registry editor, started with the caller's rights and waited for.
class RegistryEditor
{
public:
    // REGEDIT.EXE of the Windows folder, waited for up to one hour. Throws
    // Error::NvExceptionCommon (string 105) when the Windows folder cannot be
    // had.
    static RegistryEditor OfSystem();

    // The program at `path`, waited for up to `timeoutMs` milliseconds.
    RegistryEditor(const NvFsPath& path, DWORD timeoutMs);

    const NvFsPath& GetPath() const { return m_path; }

    // Exports the key `keyText` ("HKEY_CURRENT_USER\Software\...") with all
    // below it into `file`. Returns when the editor ended with 0 and the file
    // is a complete export of exactly that key; throws an Error::NvException
    // otherwise: string 124 for a key holding a quotation mark (the editor is
    // not started), 109, 110 or 111 (with what is wrong with the file).
    void Export(const NvFsPath& file, const std::wstring& keyText) const;
    // The same, with the export as it was read for the check in `exported`.
    void Export(const NvFsPath& file, const std::wstring& keyText, RegistryScript& exported) const;

    // What Export throws for an export that is not whole: string 111, then
    // `problem`, what is wrong with it, in English. `file` and `line` are the
    // throw site's.
    [[noreturn]] void ThrowUnsoundExport(const std::wstring& problem, LPCSTR file, int line) const;

private:
    // Runs the editor with `arguments` after its quoted path; returns when
    // it ended with 0, throws 109, 110 or 111 otherwise.
    void Run(const std::wstring& arguments) const;

    NvFsPath m_path;
    DWORD m_timeoutMs;
};
