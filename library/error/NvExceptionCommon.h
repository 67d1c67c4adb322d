#pragma once

#include "library/error/NvException.h"

namespace Error
{
// A failed system call: the system error code and the program's own message.
class NvExceptionCommon : public NvException
{
public:
    // `message` may be null (empty) or a string resource id below 0x10000.
    NvExceptionCommon(DWORD error, LPCSTR message, LPCSTR file, int line);
    // The same with the message as the user sees it beside the log's.
    NvExceptionCommon(DWORD error, const CString& message, const std::wstring& wideMessage, LPCSTR file, int line);

    // The system's text for the code, " (0x..)", then " \n\n" and the message
    // when there is one.
    CString GetText() const override;
    std::wstring GetWideText() const override;

    DWORD GetError() const { return m_dwError; }
    const CString& GetMessage() const { return m_strMessage; }

private:
    // The system's text for the code and " (0x..)".
    CString GetCodeText() const;

    DWORD m_dwError;
    CString m_strMessage;
    std::wstring m_wideMessage;
};
} // namespace Error
