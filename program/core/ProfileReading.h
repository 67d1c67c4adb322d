#pragma once

#include "library/base/RegistryKey.h"
#include "program/core/ReferencedSections.h"

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

class ProfileSection;

// One reading of a mail profile of a user's hive: its keys held open, the
// sections that its accounts reference and the list of its sections, with
// how complete that reading was. The finder, the analysis and the section
// listing ask it their questions; each section's values are read as the
// question needs them (ProfileSection), since what each reads costs.
class ProfileReading
{
public:
    struct Keys
    {
        RegistryKey profile;
        RegistryKey accounts;
    };
    // Opens the key at `profilePath` below `root` and its accounts key.
    // Throws as ThrowOpenKeyFailure does, naming the key that failed, when
    // either does not open.
    static Keys OpenKeys(HKEY root, const std::wstring& profilePath);

    // Reads the accounts of the profile whose keys are `keys` (every step
    // and failure logged with `trace`) and lists its sections, the listing
    // stopping once `*cancel` is set.
    static ProfileReading Read(Keys keys, bool trace, const std::atomic<bool>* cancel = nullptr);

    const RegistryKey& GetProfileKey() const { return m_keys.profile; }
    const ReferencedSections& GetReferenced() const { return m_referenced; }
    // The profile's subkeys in registry order, empty names left out.
    const std::vector<std::wstring>& GetSectionNames() const { return m_sections; }
    // ERROR_SUCCESS when the listing of the sections reached its end (or was
    // cancelled); else the code of the failure that ended it.
    LONG GetListingResult() const { return m_listingResult; }

    // Whether every account was read and both listings reached their end.
    // Without that a section tied only through what was not read looks
    // untied: an incomplete reading offers no ghost.
    bool IsComplete() const { return m_referenced.IsComplete() && m_listingResult == ERROR_SUCCESS; }
    // The rule that makes section `name`, its texts and references read, a
    // ghost: a PST store (provider library "mspst.dll") with a display name,
    // not reserved, tied to no section that an account references.
    bool IsGhost(const std::wstring& name, const ProfileSection& section) const;

private:
    ProfileReading() = default;

    Keys m_keys;
    ReferencedSections m_referenced;
    std::vector<std::wstring> m_sections;
    LONG m_listingResult = ERROR_SUCCESS;
};
