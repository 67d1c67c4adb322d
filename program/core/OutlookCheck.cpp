#include "program/core/OutlookCheck.h"

#include "library/fs/NvFsPathT.h"
#include "library/system/CProcessesEnum.h"
#include "library/system/ProcessOwner.h"
#include "program/core/CLogFile.h"

#include <algorithm>

bool IsOutlookRunning(const CString& ownerSid)
{
    CProcessesEnum processes;
    processes.Enumerate();
    // The system may give a full path as well as a bare file name.
    return std::any_of(processes.begin(), processes.end(), [&](const PROCESSENTRY32& process) {
        CString name = NvFsPath(process.szExeFile).GetFileName();
        if (name.Trim().CompareNoCase("outlook.exe") != 0)
            return false;
        if (ownerSid.IsEmpty())
            return true;
        CString owner = GetProcessOwnerSid(process.th32ProcessID);
        return owner.IsEmpty() || owner.CompareNoCase(ownerSid) == 0;
    });
}

void LogOutlookRunning()
{
    CLogFile::Instance().InfoF("Outlook jest uruchomiony, procedura usuwania nie może zostać rozpoczęta.");
}
