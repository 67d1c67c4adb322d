#include "program/core/ProfileReading.h"

#include "library/base/NameComparison.h"
#include "program/core/ProfileSection.h"
#include "program/core/RegistryFailure.h"

ProfileReading::Keys ProfileReading::OpenKeys(HKEY root, const std::wstring& profilePath)
{
    Keys keys;
    LONG result = keys.profile.Open(root, profilePath);
    if (result != ERROR_SUCCESS)
        ThrowOpenKeyFailure(result, profilePath, __FILE__, __LINE__);
    result = keys.accounts.Open(keys.profile.Get(), AccountsKeyName);
    if (result != ERROR_SUCCESS)
        ThrowOpenKeyFailure(result, profilePath + L"\\" + AccountsKeyName, __FILE__, __LINE__);
    return keys;
}

ProfileReading ProfileReading::Read(Keys keys, bool trace, const std::atomic<bool>* cancel)
{
    ProfileReading reading;
    reading.m_keys = std::move(keys);
    reading.m_referenced.Collect(reading.m_keys.profile, reading.m_keys.accounts, trace);
    // Name by name: a reading that is no longer wanted stops at once, not
    // after a listing of thousands of names.
    std::wstring name;
    for (DWORD index = 0; cancel == nullptr || !cancel->load(); ++index)
    {
        LONG listing = reading.m_keys.profile.EnumSubKey(index, name);
        if (listing == ERROR_NO_MORE_ITEMS)
            break;
        if (listing != ERROR_SUCCESS)
        {
            reading.m_listingResult = listing;
            break;
        }
        if (!name.empty())
            reading.m_sections.push_back(name);
    }
    return reading;
}

bool ProfileReading::IsGhost(const std::wstring& name, const ProfileSection& section) const
{
    // Typing the section's own display name makes it a candidate of the
    // analysis; it is removed unless something ties it to an account.
    return !ProfileSection::IsReservedName(name) && !section.GetDisplayName().empty() &&
           SameName(section.GetProvider(), L"mspst.dll") &&
           m_referenced.FindTie(name, section.GetReference1(), section.GetReference2()) ==
               ReferencedSections::Tie::None;
}
