#include "program/core/RegistryEditor.h"

#include "library/error/ErrorMessages.h"
#include "library/error/NvExceptionCommon.h"
#include "library/error/NvExceptionText.h"
#include "library/base/TextConversion.h"
#include "library/fs/FsFolders.h"
#include "library/registry/RegistryScript.h"
#include "library/system/ProcessRunner.h"
#include "resources/resource.h"

#include <string>

namespace
{
const DWORD SystemEditorTimeoutMs = 60 * 60 * 1000;
const UINT TerminatedExitCode = 100;

// The registry editor asks for the highest rights that the user has: for an
// administrator under UAC, CreateProcess of it fails with
// ERROR_ELEVATION_REQUIRED. With this compatibility layer it runs with the
// caller's rights, which are enough for the caller's own keys.
const wchar_t* const RunAsInvoker = L"__COMPAT_LAYER=RunAsInvoker";

// Why the file at `path`, read into `script`, is not a complete export of
// exactly `keyText`; empty when it is one.
std::wstring CheckExport(const NvFsPath& path, const std::wstring& keyText, RegistryScript& script)
{
    DWORD read = script.Read(path);
    if (read != ERROR_SUCCESS)
        return L"The file cannot be read: " + AnsiToWide(Error::GetSystemErrorSentence(read));
    return script.CheckExportOf(keyText);
}
} // namespace

RegistryEditor RegistryEditor::OfSystem()
{
    char windowsFolder[255] = {};
    if (GetSystemWindowsDirectoryA(windowsFolder, sizeof(windowsFolder)) == 0)
    {
        DWORD error = GetLastError();
        throw Error::NvExceptionCommon(error, Error::FormatResourceString(IDS_WINDOWS_FOLDER_FAILED), __FILE__,
                                       __LINE__);
    }
    return RegistryEditor(Combine(NvFsPath(windowsFolder), "REGEDIT.EXE"), SystemEditorTimeoutMs);
}

RegistryEditor::RegistryEditor(const NvFsPath& path, DWORD timeoutMs) : m_path(path), m_timeoutMs(timeoutMs)
{
}

void RegistryEditor::Export(const NvFsPath& file, const std::wstring& keyText) const
{
    RegistryScript exported;
    Export(file, keyText, exported);
}

void RegistryEditor::Export(const NvFsPath& file, const std::wstring& keyText, RegistryScript& exported) const
{
    // The editor's command line has no escape for a quotation mark: a key
    // name holding one would be cut there, and another key exported.
    if (keyText.find(L'"') != std::wstring::npos)
    {
        Error::ResourceMessage message = Error::FormatResourceMessage(IDS_KEY_NOT_PASSABLE, keyText);
        throw Error::NvExceptionText(message.logged, message.shown, __FILE__, __LINE__);
    }
    Run(L"/e \"" + AnsiToWide(file) + L"\" \"" + keyText + L"\"");
    // The registry editor of Wine ends with 0 also when it could not open the
    // key or create the file, and an export cut short by a full disk ends
    // wherever it stopped: only a whole export of the key counts.
    if (!IsNonEmptyFile(file))
        throw Error::NvExceptionText(Error::FormatResourceString(IDS_PROGRAM_FAILED, m_path.GetString()), __FILE__,
                                     __LINE__);
    std::wstring problem = CheckExport(file, keyText, exported);
    if (!problem.empty())
        ThrowUnsoundExport(problem, __FILE__, __LINE__);
}

void RegistryEditor::ThrowUnsoundExport(const std::wstring& problem, LPCSTR file, int line) const
{
    CString failed = Error::FormatResourceString(IDS_PROGRAM_FAILED, m_path.GetString());
    throw Error::NvExceptionText(failed + "\n\n" + WideToAnsiMarked(problem),
                                 AnsiToWide(failed) + L"\n\n" + problem, file, line);
}

void RegistryEditor::Run(const std::wstring& arguments) const
{
    std::wstring commandLine = L"\"" + AnsiToWide(m_path) + L"\" " + arguments;
    DWORD exitCode = 0;
    DWORD result = RunAndWait(commandLine, m_timeoutMs, TerminatedExitCode, exitCode, RunAsInvoker);
    if (result == WAIT_TIMEOUT)
        throw Error::NvExceptionText(Error::FormatResourceString(IDS_PROGRAM_TERMINATED, m_path.GetString()), __FILE__,
                                     __LINE__);
    if (result != ERROR_SUCCESS)
        throw Error::NvExceptionCommon(result, Error::FormatResourceString(IDS_RUN_PROGRAM_FAILED, m_path.GetString()),
                                       __FILE__, __LINE__);
    if (exitCode != 0)
        throw Error::NvExceptionText(Error::FormatResourceString(IDS_PROGRAM_FAILED, m_path.GetString()), __FILE__,
                                     __LINE__);
}
