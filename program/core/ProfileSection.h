#pragma once

#include "library/base/CString.h"
#include "library/registry/CRegKeyEx.h"

// The accounts key below a profile key: one subkey per account.
extern const char* const AccountsKeyName;

// One section of a mail profile with the properties the analysis reads: the
// store's display name and provider library, each in a wide and a narrow
// form, and the two references to other sections.
class ProfileSection
{
public:
    // True for the subkeys of a profile key that are not sections (the
    // accounts key and two others), matched exactly: another letter case is a
    // section.
    static bool IsReservedName(const CString& name);

    // Opens section `name` below `profileKey`; the system's code.
    LONG Open(const CRegKeyEx& profileKey, LPCSTR name);
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
    const CString& GetDisplayName() const;
    // The wide form of the provider library when it is not empty, else the
    // narrow.
    const CString& GetProvider() const;
    // The wide form of the PST file's path when it is not empty, else the
    // narrow.
    const CString& GetPstPath() const;
    const CString& GetReference1() const { return m_reference1; }
    const CString& GetReference2() const { return m_reference2; }

private:
    CRegKeyEx m_key;
    CString m_wideName;
    CString m_narrowName;
    CString m_wideProvider;
    CString m_narrowProvider;
    CString m_widePstPath;
    CString m_narrowPstPath;
    CString m_reference1;
    CString m_reference2;
};
