#pragma once

#include <string>

// Sets an environment variable of the test process (inherited by the
// programs it starts) and removes it again.
class ScopedEnvironment
{
public:
    ScopedEnvironment(const char* name, const std::string& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string m_name;
};
