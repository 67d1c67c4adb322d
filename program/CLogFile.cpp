#include "program/CLogFile.h"

#include "library/fs/CFileVersionInfo.h"
#include "library/fs/FsFolders.h"

#include <ctime>

CLogFile& CLogFile::Instance()
{
    static CLogFile log;
    return log;
}

CString CLogFile::GetFilePath() const
{
    return Combine(GetAppDataFolder(), "Log.txt");
}

CString CLogFile::GetHeader() const
{
    CFileVersionInfo version;
    version.Create(GetModuleFilePath());
    CString header;
    header.Format("---------------------------------------------------------------------\n"
                  "%s %s log file\n"
                  "---------------------------------------------------------------------\n\n",
                  ProductName, FormatFileVersion(version).GetString());
    return header;
}

CString CLogFile::GetTimeStamp() const
{
    __time64_t now = _time64(nullptr);
    const tm* local = _localtime64(&now);
    if (local == nullptr)
        return CString();
    char buffer[128] = {};
    if (std::strftime(buffer, sizeof(buffer), "%Y.%m.%d %H:%M:%S ", local) == 0)
        return CString();
    return CString(buffer);
}
