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

    CString GetText() const override;

private:
    CString m_strText;
};
} // namespace Error
