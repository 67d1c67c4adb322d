#include "program/core/ProfileSection.h"

#include "library/error/ErrorMessages.h"
#include "program/core/CLogFile.h"

const char* const AccountsKeyName = "9375CFF0413111d3B88A00104B2A6676";

namespace
{
const char* const ReservedNames[] = {AccountsKeyName, "{D9734F19-8CFB-411D-BC59-833E334FCB5E}",
                                     "0a0d020000000000c000000000000046"};

struct TextProperty
{
    const char* valueName;
    const char* errorFormat;
    const char* successFormat;
};

// In the order of the analysis trace: display name (wide, narrow), then
// provider library (wide, narrow).
const TextProperty WideName = {"001f3001", "Błąd odczytu wartości 1. %s", "Wartość1 = %s"};
const TextProperty NarrowName = {"001e3001", "Błąd odczytu wartości 2. %s", "Wartość2 = %s"};
const TextProperty WideProvider = {"001f300a", "Błąd odczytu wartości 3. %s", "Wartość3 = %s"};
const TextProperty NarrowProvider = {"001e300a", "Błąd odczytu wartości 4. %s", "Wartość4 = %s"};

// A missing value reads as empty text; a read failure leaves the text empty,
// it does not end the section's examination.
CString ReadText(const CRegKeyEx& section, const TextProperty& property, bool trace)
{
    CString text;
    LONG result = section.QueryTextValue(property.valueName, text);
    if (!trace)
        return text;
    if (result != ERROR_SUCCESS)
        CLogFile::Instance().InfoF(property.errorFormat, Error::GetSystemErrorText(result).GetString());
    else
        CLogFile::Instance().InfoF(property.successFormat, text.GetString());
    return text;
}
} // namespace

bool ProfileSection::IsReservedName(const CString& name)
{
    for (const char* reserved : ReservedNames)
    {
        if (name == reserved)
            return true;
    }
    return false;
}

LONG ProfileSection::Open(const CRegKeyEx& profileKey, LPCSTR name)
{
    return m_key.Open(profileKey, name);
}

void ProfileSection::Close()
{
    m_key.Close();
}

void ProfileSection::ReadTexts(bool trace)
{
    m_wideName = ReadText(m_key, WideName, trace);
    m_narrowName = ReadText(m_key, NarrowName, trace);
    m_wideProvider = ReadText(m_key, WideProvider, trace);
    m_narrowProvider = ReadText(m_key, NarrowProvider, trace);
}

void ProfileSection::ReadDisplayName()
{
    m_wideName = ReadText(m_key, WideName, false);
    m_narrowName = m_wideName.IsEmpty() ? ReadText(m_key, NarrowName, false) : CString();
}

void ProfileSection::ReadProvider()
{
    m_wideProvider = ReadText(m_key, WideProvider, false);
    m_narrowProvider = m_wideProvider.IsEmpty() ? ReadText(m_key, NarrowProvider, false) : CString();
}

void ProfileSection::ReadPstPath()
{
    m_key.QueryTextValue("001f6700", m_widePstPath);
    if (m_widePstPath.IsEmpty())
        m_key.QueryTextValue("001e6700", m_narrowPstPath);
    else
        m_narrowPstPath.Empty();
}

void ProfileSection::ReadReferences(bool trace)
{
    // The results are not examined: an unreadable reference ties the section
    // to nothing.
    m_key.QueryHexValue("01023d00", m_reference1);
    m_key.QueryHexValue("01023d0c", m_reference2);
    if (trace)
    {
        CLogFile::Instance().InfoF("ID sekcji 1: %s", m_reference1.GetString());
        CLogFile::Instance().InfoF("ID sekcji 2: %s", m_reference2.GetString());
    }
}

const CString& ProfileSection::GetDisplayName() const
{
    return m_wideName.IsEmpty() ? m_narrowName : m_wideName;
}

const CString& ProfileSection::GetProvider() const
{
    return m_wideProvider.IsEmpty() ? m_narrowProvider : m_wideProvider;
}

const CString& ProfileSection::GetPstPath() const
{
    return m_widePstPath.IsEmpty() ? m_narrowPstPath : m_widePstPath;
}
