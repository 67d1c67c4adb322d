#pragma once

#include "tests/support/ProfileTreeBuilder.h"

#include <string>

// A mail profile built under a profiles root of the real HKEY_CURRENT_USER,
// where other processes see it, named "Straysweep test <process id>
// <label>" so that no other test meets it; deleted with its whole tree when
// the object dies. Tests that make one take the lock "profilesroot".
class LiveProfile : public ProfileTreeBuilder
{
public:
    explicit LiveProfile(const std::string& label, const std::string& root = Office16Root);
    // The same for a label in any letters.
    explicit LiveProfile(const std::wstring& label);
    ~LiveProfile();

    // In the ANSI code page for a profile named in it.
    const std::string& Name() const { return m_name; }
    const std::wstring& WideName() const { return m_wideName; }

    // The name for `label`, whether or not such a profile exists.
    static std::string NameFor(const std::string& label);

private:
    std::string m_name;
    std::wstring m_wideName;
};
