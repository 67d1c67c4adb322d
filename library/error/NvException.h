#pragma once

#include "library/base/CString.h"

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

    // The message as the user and the log see it.
    virtual CString GetText() const = 0;

    // Shows the text, trimmed, in a box without owner captioned "Error"; an
    // empty text shows the module and line instead. Returns the box's result.
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
