#pragma once

#include "library/error/NvException.h"

namespace Error
{
// A failure without a system error code: just a text.
class NvExceptionText : public NvException
{
public:
    // `text` may be null (empty) or a string resource id below 0x10000.
    NvExceptionText(LPCSTR text, LPCSTR file, int line);
    // The same with the text as the user sees it beside the log's.
    NvExceptionText(const CString& text, const std::wstring& wideText, LPCSTR file, int line);

    CString GetText() const override;
    std::wstring GetWideText() const override;

private:
    CString m_strText;
    std::wstring m_wideText;
};
} // namespace Error
