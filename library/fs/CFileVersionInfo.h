#pragma once

#include "library/base/CString.h"

#include <windows.h>

// The version resource of an executable file.
class CFileVersionInfo
{
public:
    CFileVersionInfo();
    virtual ~CFileVersionInfo() = default;

    // Clears everything read so far.
    virtual void Reset();

    // Reads the version resource of `fileName`; true only when the fixed
    // version block was read (false too when the system's version library
    // cannot be loaded). The object is reset first.
    BOOL Create(LPCSTR fileName);

    const VS_FIXEDFILEINFO& GetFixedInfo() const { return m_fixedInfo; }
    // The four numbers of the "ProductVersion" string, zeros when absent.
    const WORD* GetProductVersion() const { return m_productVersion; }

private:
    using QueryValueFn = decltype(&::VerQueryValueA);
    void ReadProductVersion(QueryValueFn query, const void* block);

    VS_FIXEDFILEINFO m_fixedInfo;
    WORD m_productVersion[4];
};

// The fixed file version as four decimal numbers joined by ".".
CString FormatFileVersion(const CFileVersionInfo& info);
