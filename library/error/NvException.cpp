#include "library/error/NvException.h"

#include "library/base/TextConversion.h"
#include "library/fs/NvFsPathT.h"

namespace Error
{
NvException::NvException(LPCSTR file, int line) : m_strModule(NvFsPath(file).GetFileName()), m_nLine(line)
{
}

std::wstring NvException::GetWideText() const
{
    return AnsiToWide(GetText());
}

int NvException::ShowMessage(UINT type) const
{
    const wchar_t* const WhiteSpace = L" \t\n\v\f\r";
    std::wstring text = GetWideText();
    text.erase(text.find_last_not_of(WhiteSpace) + 1);
    text.erase(0, text.find_first_not_of(WhiteSpace));
    if (text.empty())
    {
        CString unknown;
        unknown.Format("Unknown error occured\nFile: %s, Line: %d", m_strModule.GetString(), m_nLine);
        text = AnsiToWide(unknown);
    }
    return MessageBoxW(nullptr, text.c_str(), L"Error", type);
}
} // namespace Error
