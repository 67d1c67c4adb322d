#include "library/error/NvException.h"

#include "library/fs/NvFsPathT.h"

namespace Error
{
NvException::NvException(LPCSTR file, int line) : m_strModule(NvFsPath(file).GetFileName()), m_nLine(line)
{
}

int NvException::ShowMessage(UINT type) const
{
    CString text = GetText();
    text.Trim();
    if (text.IsEmpty())
        text.Format("Unknown error occured\nFile: %s, Line: %d", m_strModule.GetString(), m_nLine);
    return MessageBoxA(nullptr, text, "Error", type);
}
} // namespace Error
