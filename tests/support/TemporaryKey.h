#pragma once

#include <string>

// Cleans up after a test that writes below a key of the real
// HKEY_CURRENT_USER: the destructor deletes the key `path` with everything
// below it, and each of its parents that did not exist at construction.
class TemporaryKey
{
public:
    explicit TemporaryKey(const std::string& path);
    ~TemporaryKey();
    TemporaryKey(const TemporaryKey&) = delete;
    TemporaryKey& operator=(const TemporaryKey&) = delete;

private:
    // The outermost key that the test's writes may create: `path` itself, or
    // its first missing parent.
    std::string m_outermost;
};
