#include "program/core/CLogFile.h"

#include "library/fs/CFileVersionInfo.h"
#include "library/fs/FsFolders.h"
#include "program/core/LocalTime.h"
#include "program/core/ProductFolder.h"

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

CString CLogFile::GetLockGivenUpText() const
{
    return "Nie uzyskano na czas blokady pliku dziennika, którą trzyma inna kopia programu; dalsze wiersze są "
           "zapisywane bez niej.";
}

CString CLogFile::GetLockRefusedText() const
{
    return "Blokada pliku dziennika należy do innego użytkownika i nie jest używana; wiersze są zapisywane bez niej.";
}

// Converting to local time and formatting costs far more than a line's
// write; a run writes many lines a second.
CString CLogFile::GetTimeStamp() const
{
    __time64_t now = _time64(nullptr);
    if (now != m_stampTime)
    {
        m_stamp = FormatLocalTime("%Y.%m.%d %H:%M:%S ", now);
        m_stampTime = now;
    }
    return m_stamp;
}
