#pragma once

#include <string>

// The short usage shown with an error in the arguments.
const char* GetUsageText();

// The full help of --help: commands, options and exit codes.
std::string GetHelpText();
