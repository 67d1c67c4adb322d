#include "program/core/RegistryFailure.h"

#include "library/error/ErrorMessages.h"
#include "library/error/NvExceptionCommon.h"
#include "resources/resource.h"

void ThrowRegistryFailure(LONG code, LPCSTR message, LPCSTR file, int line)
{
    throw Error::NvExceptionCommon(static_cast<DWORD>(code), message, file, line);
}

CString RegistryFailureText(LONG code, LPCSTR message)
{
    return Error::NvExceptionCommon(static_cast<DWORD>(code), message, nullptr, 0).GetText();
}

void ThrowOpenKeyFailure(LONG code, const CString& keyPath, LPCSTR file, int line)
{
    ThrowRegistryFailure(code, Error::FormatResourceString(IDS_OPEN_KEY_FAILED, ("\\" + keyPath).GetString()), file,
                         line);
}
