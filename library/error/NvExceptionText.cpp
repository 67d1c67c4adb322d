#include "library/error/NvExceptionText.h"

#include "library/base/TextConversion.h"

namespace Error
{
NvExceptionText::NvExceptionText(LPCSTR text, LPCSTR file, int line)
    : NvException(file, line), m_strText(text), m_wideText(AnsiToWide(m_strText))
{
}

NvExceptionText::NvExceptionText(const CString& text, const std::wstring& wideText, LPCSTR file, int line)
    : NvException(file, line), m_strText(text), m_wideText(wideText)
{
}

CString NvExceptionText::GetText() const
{
    return m_strText;
}

std::wstring NvExceptionText::GetWideText() const
{
    return m_wideText;
}
} // namespace Error
