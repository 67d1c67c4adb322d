#include "program/core/RegistryFailure.h"

#include "library/base/TextConversion.h"
#include "library/error/ErrorMessages.h"
#include "library/error/NvExceptionCommon.h"
#include "program/core/TargetUser.h"
#include "resources/resource.h"

#include <string>

void ThrowRegistryFailure(LONG code, LPCSTR message, LPCSTR file, int line)
{
    throw Error::NvExceptionCommon(static_cast<DWORD>(code), message, file, line);
}

CString RegistryFailureText(LONG code, LPCSTR message)
{
    return Error::NvExceptionCommon(static_cast<DWORD>(code), message, nullptr, 0).GetText();
}

void ThrowOpenKeyFailure(LONG code, const std::wstring& keyPath, LPCSTR file, int line)
{
    CString message = Error::FormatResourceString(IDS_OPEN_KEY_FAILED, WideToAnsiMarked(L"\\" + keyPath).GetString());
    // The string names HKEY_CURRENT_USER in every language; another user's
    // key lies below HKEY_USERS.
    const std::string caller = "HKEY_CURRENT_USER";
    std::string text = message.Str();
    size_t at = text.find(caller + "\\");
    if (!TargetUser::Sid().IsEmpty() && at != std::string::npos)
        message = CString(text.replace(at, caller.size(), WideToAnsiMarked(TargetUser::RootName()).Str()));
    ThrowRegistryFailure(code, message, file, line);
}
