#include "library/error/NvExceptionCommon.h"

#include "library/error/ErrorMessages.h"

namespace Error
{
NvExceptionCommon::NvExceptionCommon(DWORD error, LPCSTR message, LPCSTR file, int line)
    : NvException(file, line), m_dwError(error), m_strMessage(message)
{
}

CString NvExceptionCommon::GetText() const
{
    CString text = GetSystemErrorText(m_dwError);
    text.Trim();
    text.AppendFormat(" (%#lx)", static_cast<unsigned long>(m_dwError));
    if (!m_strMessage.IsEmpty())
        text += " \n\n" + m_strMessage;
    return text;
}
} // namespace Error
