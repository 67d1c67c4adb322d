#pragma once

#include "library/base/CString.h"

#include <string>

namespace Error
{
// A failure that ends an operation. Thrown by value, caught by reference to
// this class; carries the bare name of the throwing source file and the line.
class NvException
{
public:
    // `file` may be null (no location): the module name is then empty.
    NvException(LPCSTR file, int line);
    virtual ~NvException() = default;

    // The message as the log sees it: in the ANSI code page, a name's
    // letters that it lacks written as WideToAnsiMarked writes them.
    virtual CString GetText() const = 0;
    // The message as the user sees it, every name in it as it is stored.
    virtual std::wstring GetWideText() const;

    // Shows the wide text, trimmed, in a box without owner captioned "Error";
    // an empty text shows the module and line instead. Returns the box's
    // result.
    int ShowMessage(UINT type) const;

    const CString& GetModule() const { return m_strModule; }
    int GetLine() const { return m_nLine; }

protected:
    NvException(const NvException&) = default;
    NvException& operator=(const NvException&) = default;

private:
    CString m_strModule;
    int m_nLine;
};
} // namespace Error
