#include "library/fs/CFileVersionInfo.h"

#include "library/base/NvModuleWrapper.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

CFileVersionInfo::CFileVersionInfo()
{
    CFileVersionInfo::Reset();
}

void CFileVersionInfo::Reset()
{
    std::memset(&m_fixedInfo, 0, sizeof(m_fixedInfo));
    std::memset(m_productVersion, 0, sizeof(m_productVersion));
}

BOOL CFileVersionInfo::Create(LPCSTR fileName)
{
    Reset();
    NvModuleWrapper library;
    if (!library.Load(L"version.dll"))
        return FALSE;
    auto getSize = library.GetProc<decltype(&::GetFileVersionInfoSizeA)>("GetFileVersionInfoSizeA");
    auto getInfo = library.GetProc<decltype(&::GetFileVersionInfoA)>("GetFileVersionInfoA");
    auto query = library.GetProc<QueryValueFn>("VerQueryValueA");
    if (getSize == nullptr || getInfo == nullptr || query == nullptr)
        return FALSE;

    DWORD handle = 0;
    DWORD size = getSize(fileName, &handle);
    if (size == 0)
        return FALSE;
    std::vector<BYTE> block(size);
    if (!getInfo(fileName, handle, size, block.data()))
        return FALSE;

    ReadProductVersion(query, block.data());

    void* fixed = nullptr;
    UINT length = 0;
    char root[] = "\\";
    if (!query(block.data(), root, &fixed, &length) || length != sizeof(VS_FIXEDFILEINFO))
        return FALSE;
    std::memcpy(&m_fixedInfo, fixed, sizeof(m_fixedInfo));
    return TRUE;
}

void CFileVersionInfo::ReadProductVersion(QueryValueFn query, const void* block)
{
    void* translation = nullptr;
    UINT length = 0;
    char translationName[] = "\\VarFileInfo\\Translation";
    if (!query(block, translationName, &translation, &length) || length < 1)
        return;
    const WORD* entry = static_cast<const WORD*>(translation);

    char name[64] = {};
    std::snprintf(name, sizeof(name), "\\StringFileInfo\\%04x%04x\\ProductVersion", entry[0], entry[1]);
    void* value = nullptr;
    if (!query(block, name, &value, &length) || length < 1)
        return;

    std::string copy(static_cast<const char*>(value), length);
    copy.push_back('\0');
    std::memset(m_productVersion, 0, sizeof(m_productVersion));
    char* token = std::strtok(&copy[0], ".,");
    for (int i = 0; i < 4 && token != nullptr; ++i)
    {
        m_productVersion[i] = static_cast<WORD>(std::atoi(token));
        token = std::strtok(nullptr, ".,");
    }
}

CString FormatFileVersion(const CFileVersionInfo& info)
{
    const VS_FIXEDFILEINFO& fixed = info.GetFixedInfo();
    CString text;
    text.Format("%u.%u.%u.%u", HIWORD(fixed.dwFileVersionMS), LOWORD(fixed.dwFileVersionMS),
                HIWORD(fixed.dwFileVersionLS), LOWORD(fixed.dwFileVersionLS));
    return text;
}
