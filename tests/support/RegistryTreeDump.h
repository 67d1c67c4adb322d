#pragma once

#include <string>

// Every key, value type and value byte below `path` of HKEY_CURRENT_USER, in
// enumeration order, one line each; "missing <path>" when it does not open.
std::string DumpTree(const std::string& path);
