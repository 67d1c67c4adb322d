#include "program/core/ProfileSection.h"

#include "library/base/TextConversion.h"
#include "library/error/ErrorMessages.h"
#include "program/core/CLogFile.h"

const wchar_t* const AccountsKeyName = L"9375CFF0413111d3B88A00104B2A6676";

namespace
{
const wchar_t* const ReservedNames[] = {AccountsKeyName, L"{D9734F19-8CFB-411D-BC59-833E334FCB5E}",
                                        L"0a0d020000000000c000000000000046"};

struct TextProperty
{
    const wchar_t* valueName;
    const char* errorFormat;
    const char* successFormat;
};

// In the order of the analysis trace: display name (wide, narrow), then
// provider library (wide, narrow).
const TextProperty WideName = {L"001f3001", "Błąd odczytu wartości 1. %s", "Wartość1 = %s"};
const TextProperty NarrowName = {L"001e3001", "Błąd odczytu wartości 2. %s", "Wartość2 = %s"};
const TextProperty WideProvider = {L"001f300a", "Błąd odczytu wartości 3. %s", "Wartość3 = %s"};
const TextProperty NarrowProvider = {L"001e300a", "Błąd odczytu wartości 4. %s", "Wartość4 = %s"};

// A missing value reads as empty text; a read failure leaves the text empty,
// it does not end the section's examination.
std::wstring ReadText(const RegistryKey& section, const TextProperty& property, bool trace)
{
    std::wstring text;
    LONG result = section.QueryTextValue(property.valueName, text);
    if (!trace)
        return text;
    if (result != ERROR_SUCCESS)
        CLogFile::Instance().InfoF(property.errorFormat, Error::GetSystemErrorText(result).GetString());
    else
        CLogFile::Instance().InfoF(property.successFormat, WideToAnsiMarked(text).GetString());
    return text;
}
} // namespace

bool ProfileSection::IsReservedName(const std::wstring& name)
{
    for (const wchar_t* reserved : ReservedNames)
    {
        if (name == reserved)
            return true;
    }
    return false;
}

LONG ProfileSection::Open(const RegistryKey& profileKey, const std::wstring& name)
{
    return m_key.Open(profileKey.Get(), name);
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
    m_narrowName = m_wideName.empty() ? ReadText(m_key, NarrowName, false) : std::wstring();
}

void ProfileSection::ReadProvider()
{
    m_wideProvider = ReadText(m_key, WideProvider, false);
    m_narrowProvider = m_wideProvider.empty() ? ReadText(m_key, NarrowProvider, false) : std::wstring();
}

void ProfileSection::ReadPstPath()
{
    m_key.QueryTextValue(L"001f6700", m_widePstPath);
    if (m_widePstPath.empty())
        m_key.QueryTextValue(L"001e6700", m_narrowPstPath);
    else
        m_narrowPstPath.clear();
}

void ProfileSection::ReadReferences(bool trace)
{
    // The results are not examined: an unreadable reference ties the section
    // to nothing.
    m_key.QueryHexValue(L"01023d00", m_reference1);
    m_key.QueryHexValue(L"01023d0c", m_reference2);
    if (trace)
    {
        CLogFile::Instance().InfoF("ID sekcji 1: %s", WideToAnsiMarked(m_reference1).GetString());
        CLogFile::Instance().InfoF("ID sekcji 2: %s", WideToAnsiMarked(m_reference2).GetString());
    }
}

const std::wstring& ProfileSection::GetDisplayName() const
{
    return m_wideName.empty() ? m_narrowName : m_wideName;
}

const std::wstring& ProfileSection::GetProvider() const
{
    return m_wideProvider.empty() ? m_narrowProvider : m_wideProvider;
}

const std::wstring& ProfileSection::GetPstPath() const
{
    return m_widePstPath.empty() ? m_narrowPstPath : m_widePstPath;
}
