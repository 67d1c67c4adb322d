#include "library/error/NvExceptionCommon.h"

#include "library/base/TextConversion.h"
#include "library/error/ErrorMessages.h"

namespace Error
{
NvExceptionCommon::NvExceptionCommon(DWORD error, LPCSTR message, LPCSTR file, int line)
    : NvException(file, line), m_dwError(error), m_strMessage(message), m_wideMessage(AnsiToWide(m_strMessage))
{
}

NvExceptionCommon::NvExceptionCommon(DWORD error, const CString& message, const std::wstring& wideMessage, LPCSTR file,
                                     int line)
    : NvException(file, line), m_dwError(error), m_strMessage(message), m_wideMessage(wideMessage)
{
}

CString NvExceptionCommon::GetText() const
{
    CString text = GetCodeText();
    if (!m_strMessage.IsEmpty())
        text += " \n\n" + m_strMessage;
    return text;
}

std::wstring NvExceptionCommon::GetWideText() const
{
    std::wstring text = AnsiToWide(GetCodeText());
    if (!m_wideMessage.empty())
        text += L" \n\n" + m_wideMessage;
    return text;
}

CString NvExceptionCommon::GetCodeText() const
{
    CString text = GetSystemErrorText(m_dwError);
    text.Trim();
    text.AppendFormat(" (%#lx)", static_cast<unsigned long>(m_dwError));
    return text;
}
} // namespace Error
