#include "library/error/NvExceptionText.h"

namespace Error
{
NvExceptionText::NvExceptionText(LPCSTR text, LPCSTR file, int line) : NvException(file, line), m_strText(text)
{
}

CString NvExceptionText::GetText() const
{
    return m_strText;
}
} // namespace Error
