#include "program/core/RegistryFailure.h"

#include "library/error/ErrorMessages.h"
#include "library/error/NvExceptionCommon.h"
#include "program/core/TargetUser.h"
#include "resources/resource.h"

#include <string>

CString RegistryFailureText(LONG code, LPCSTR message)
{
    return Error::NvExceptionCommon(static_cast<DWORD>(code), message, nullptr, 0).GetText();
}

void ThrowOpenKeyFailure(LONG code, const std::wstring& keyPath, LPCSTR file, int line)
{
    // String 104 holds HKEY_CURRENT_USER itself; another user's key lies
    // below HKEY_USERS and is named whole.
    bool caller = TargetUser::Sid().IsEmpty();
    UINT format = caller ? IDS_OPEN_KEY_FAILED : IDS_OPEN_USER_KEY_FAILED;
    std::wstring key = (caller ? std::wstring() : TargetUser::RootName()) + L"\\" + keyPath;
    Error::ResourceMessage message = Error::FormatResourceMessage(format, key);
    throw Error::NvExceptionCommon(static_cast<DWORD>(code), message.logged, message.shown, file, line);
}
