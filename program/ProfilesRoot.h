#pragma once

#include "library/framework/CString.h"

// The key below HKEY_CURRENT_USER that holds one subkey per mail profile.
// Everything that reaches a profile builds its path from this.
CString GetProfilesRoot();
