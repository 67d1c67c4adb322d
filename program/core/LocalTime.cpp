#include "program/core/LocalTime.h"

CString FormatLocalTime(LPCSTR format, __time64_t time)
{
    const tm* local = _localtime64(&time);
    if (local == nullptr)
        return CString();
    char buffer[128] = {};
    if (std::strftime(buffer, sizeof(buffer), format, local) == 0)
        return CString();
    return CString(buffer);
}
