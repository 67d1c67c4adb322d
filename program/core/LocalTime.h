#pragma once

#include "library/base/CString.h"

#include <ctime>

// `time` (the current time by default) as local time formatted with strftime
// `format`; empty when it cannot be converted or formats to nothing.
CString FormatLocalTime(LPCSTR format, __time64_t time = _time64(nullptr));
