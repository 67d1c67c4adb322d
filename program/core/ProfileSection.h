#pragma once

#include "library/base/RegistryKey.h"

#include <string>

// The accounts key below a profile key: one subkey per account.
extern const wchar_t* const AccountsKeyName;

// One section of a mail profile with the properties the analysis reads: the
// store's display name and provider library, each in a wide and a narrow
// form, and the two references to other sections.
class ProfileSection
{
public:
    // True for the subkeys of a profile key that are not sections (the
    // accounts key and two others), matched exactly: another letter case is a
    // section.
    static bool IsReservedName(const std::wstring& name);

    // Opens section `name` below `profileKey`; the system's code.
    LONG Open(const RegistryKey& profileKey, const std::wstring& name);
    // Closes the section's key; what was read stays.
    void Close();

    // Reads both forms of the display name and of the provider library. A
    // value that cannot be read stays empty; with `trace` every read is logged.
    void ReadTexts(bool trace);
    // Read the display name, or the provider library, for the getters below
    // as ReadTexts would, never logged: the narrow form only when the wide
    // one is empty, since the getters give the wide one otherwise.
    void ReadDisplayName();
    void ReadProvider();
    // Reads the path of the store's file the same way, never logged; a value
    // that cannot be read stays empty.
    void ReadPstPath();
    // Reads references 1 ("01023d00") and 2 ("01023d0c") as hex text. A
    // missing, non-binary or too long reference stays empty; with `trace` both
    // are logged.
    void ReadReferences(bool trace);

    // The wide form of the display name when it is not empty, else the narrow.
    const std::wstring& GetDisplayName() const;
    // The wide form of the provider library when it is not empty, else the
    // narrow.
    const std::wstring& GetProvider() const;
    // The wide form of the PST file's path when it is not empty, else the
    // narrow.
    const std::wstring& GetPstPath() const;
    const std::wstring& GetReference1() const { return m_reference1; }
    const std::wstring& GetReference2() const { return m_reference2; }

private:
    RegistryKey m_key;
    std::wstring m_wideName;
    std::wstring m_narrowName;
    std::wstring m_wideProvider;
    std::wstring m_narrowProvider;
    std::wstring m_widePstPath;
    std::wstring m_narrowPstPath;
    std::wstring m_reference1;
    std::wstring m_reference2;
};
