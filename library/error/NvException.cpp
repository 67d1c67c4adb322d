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
    std::wstring text = Trimmed(GetWideText());
    if (text.empty())
    {
        CString unknown;
        unknown.Format("Unknown error occured\nFile: %s, Line: %d", m_strModule.GetString(), m_nLine);
        text = AnsiToWide(unknown);
    }
    return MessageBoxW(nullptr, text.c_str(), L"Error", type);
}
} // namespace Error
