#include "tests/support/ScopedEnvironment.h"

#include <windows.h>

ScopedEnvironment::ScopedEnvironment(const char* name, const std::string& value) : m_name(name)
{
    SetEnvironmentVariableA(name, value.c_str());
}

ScopedEnvironment::~ScopedEnvironment()
{
    SetEnvironmentVariableA(m_name.c_str(), nullptr);
}
