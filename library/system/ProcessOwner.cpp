#include "library/system/ProcessOwner.h"

#include "library/base/UniqueHandle.h"

#include <sddl.h>

#include <vector>

CString GetProcessOwnerSid(DWORD processId)
{
    // The least right that reveals a token: enough for another user's
    // process when the caller is an administrator or SYSTEM.
    UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process)
        return CString();
    HANDLE tokenHandle = nullptr;
    if (!OpenProcessToken(process.Get(), TOKEN_QUERY, &tokenHandle))
        return CString();
    UniqueKernelHandle token(tokenHandle);
    DWORD size = 0;
    GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
    if (size == 0)
        return CString();
    std::vector<BYTE> buffer(size);
    if (!GetTokenInformation(token.Get(), TokenUser, buffer.data(), size, &size))
        return CString();
    return SidToText(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid);
}

CString SidToText(PSID sid)
{
    LPSTR text = nullptr;
    if (!ConvertSidToStringSidA(sid, &text))
        return CString();
    UniqueLocalMemory owner(text);
    return text;
}
