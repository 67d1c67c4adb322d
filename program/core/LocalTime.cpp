#include "program/core/LocalTime.h"

#include <ctime>

CString FormatLocalTime(LPCSTR format)
{
    __time64_t now = _time64(nullptr);
    const tm* local = _localtime64(&now);
    if (local == nullptr)
        return CString();
    char buffer[128] = {};
    if (std::strftime(buffer, sizeof(buffer), format, local) == 0)
        return CString();
    return CString(buffer);
}
