#include "program/core/RegistryFailure.h"

#include "library/base/AfxResource.h"
#include "library/base/TextConversion.h"
#include "library/error/ErrorMessages.h"
#include "library/error/NvExceptionCommon.h"
#include "program/core/TargetUser.h"
#include "resources/resource.h"

#include <string>

CString RegistryFailureText(LONG code, LPCSTR message)
{
    return Error::NvExceptionCommon(static_cast<DWORD>(code), message, nullptr, 0).GetText();
}

namespace
{
// The string names HKEY_CURRENT_USER in every language; another user's key
// lies below HKEY_USERS.
template <typename Text> Text BelowTargetUser(Text message, const Text& caller, const Text& root)
{
    size_t at = message.find(caller + static_cast<typename Text::value_type>('\\'));
    if (!TargetUser::Sid().IsEmpty() && at != Text::npos)
        message.replace(at, caller.size(), root);
    return message;
}
} // namespace

void ThrowOpenKeyFailure(LONG code, const std::wstring& keyPath, LPCSTR file, int line)
{
    CString message = Error::FormatResourceString(IDS_OPEN_KEY_FAILED, WideToAnsiMarked(L"\\" + keyPath).GetString());
    std::string narrow = BelowTargetUser<std::string>(message.Str(), "HKEY_CURRENT_USER",
                                                      WideToAnsiMarked(TargetUser::RootName()).Str());
    std::wstring wide =
        BelowTargetUser<std::wstring>(AfxFormatWide(AfxLoadWideString(IDS_OPEN_KEY_FAILED), {L"\\" + keyPath}),
                                      L"HKEY_CURRENT_USER", TargetUser::RootName());
    throw Error::NvExceptionCommon(static_cast<DWORD>(code), CString(narrow), wide, file, line);
}
