#pragma once

#include "library/framework/CString.h"

// The current local time formatted with strftime `format`; empty when the
// time cannot be had or formats to nothing.
CString FormatLocalTime(LPCSTR format);
