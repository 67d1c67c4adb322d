#include "program/GhostPstRemover.h"

#include "library/error/ErrorMessages.h"
#include "library/error/NvExceptionCommon.h"
#include "program/CLogFile.h"
#include "program/ProfilesRoot.h"
#include "resources/resource.h"

#include <vector>

namespace
{
const char* const AccountsKeyName = "9375CFF0413111d3B88A00104B2A6676";
const char* const ReservedNames[] = {AccountsKeyName, "{D9734F19-8CFB-411D-BC59-833E334FCB5E}",
                                     "0a0d020000000000c000000000000046"};
const char* const PublicFoldersName = "nvpublicfolders";
const char* const PublicFoldersProvider = "NvPFStore.dll";

struct TextProperty
{
    const char* valueName;
    const char* errorFormat;
    const char* successFormat;
};

// Display name (wide, narrow), then provider library (wide, narrow).
const TextProperty SectionProperties[4] = {
    {"001f3001", "Błąd odczytu wartości 1. %s", "Wartość1 = %s"},
    {"001e3001", "Błąd odczytu wartości 2. %s", "Wartość2 = %s"},
    {"001f300a", "Błąd odczytu wartości 3. %s", "Wartość3 = %s"},
    {"001e300a", "Błąd odczytu wartości 4. %s", "Wartość4 = %s"},
};

// Registry functions return their code and leave the thread's last-error
// value alone: the code in the exception is the failed call's own.
[[noreturn]] void ThrowFailure(LONG code, LPCSTR message, int line)
{
    throw Error::NvExceptionCommon(static_cast<DWORD>(code), message, __FILE__, line);
}

// The reserved keys are matched exactly: another letter case is a section.
bool IsReservedName(const CString& name)
{
    for (const char* reserved : ReservedNames)
    {
        if (name == reserved)
            return true;
    }
    return false;
}

// An identifier that reads as empty text has no failure code of its own: it
// is reported as invalid data.
LONG QueryIdentifier(const CRegKeyEx& key, LPCSTR valueName, CString& hex)
{
    LONG result = key.QueryHexValue(valueName, hex);
    if (result == ERROR_SUCCESS && hex.IsEmpty())
        return ERROR_INVALID_DATA;
    return result;
}

// A missing value reads as empty text; a read failure is logged and leaves
// the text empty, it does not end the section's examination.
CString ReadLoggedText(const CRegKeyEx& section, const TextProperty& property)
{
    CString text;
    LONG result = section.QueryTextValue(property.valueName, text);
    if (result != ERROR_SUCCESS)
        CLogFile::Instance().InfoF(property.errorFormat, Error::GetSystemErrorText(result).GetString());
    else
        CLogFile::Instance().InfoF(property.successFormat, text.GetString());
    return text;
}
} // namespace

GhostPstRemover::GhostPstRemover(const CString& profileName, const CString& pstDisplayName, bool checkOnly)
    : m_strProfileName(profileName), m_strPstDisplayName(pstDisplayName),
      m_bPublicFolders(pstDisplayName.CompareNoCase(PublicFoldersName) == 0), m_bCheckOnly(checkOnly)
{
}

int GhostPstRemover::Run()
{
    CLogFile& log = CLogFile::Instance();
    CString path = GetProfilesRoot() + "\\" + m_strProfileName;
    log.InfoF("Otwieranie klucza profilów: HKEY_CURRENT_USER\\%s", path.GetString());

    CRegKeyEx profileKey;
    LONG result = profileKey.Open(HKEY_CURRENT_USER, path);
    if (result != ERROR_SUCCESS)
        ThrowFailure(result, Error::FormatResourceString(IDS_OPEN_KEY_FAILED, ("\\" + path).GetString()), __LINE__);
    CRegKeyEx accountsKey;
    result = accountsKey.Open(profileKey, AccountsKeyName);
    if (result != ERROR_SUCCESS)
    {
        CString accountsPath = "\\" + path + "\\" + AccountsKeyName;
        ThrowFailure(result, Error::FormatResourceString(IDS_OPEN_KEY_FAILED, accountsPath.GetString()), __LINE__);
    }

    log.Info(" ");
    log.Info("-- Listowanie kont --");
    SectionSet validSections;
    std::vector<CString> accounts;
    accountsKey.EnumSubKeys(accounts);
    for (const CString& account : accounts)
    {
        if (account.IsEmpty())
            continue;
        try
        {
            CollectAccountSections(profileKey, accountsKey, account, validSections);
        }
        catch (const Error::NvException& e)
        {
            log.Error(e.GetText());
        }
    }

    log.Info(" ");
    log.Info("-- Listowanie sekcji -- ");
    // The list is taken in full first: deleting sections must not shift the
    // enumeration indexes under the loop.
    std::vector<CString> sections;
    profileKey.EnumSubKeys(sections);
    int invalidCount = 0;
    bool deleteFailed = false;
    for (const CString& section : sections)
    {
        if (section.IsEmpty())
            continue;
        try
        {
            if (JudgeSection(profileKey, section, validSections, deleteFailed))
                ++invalidCount;
        }
        catch (const Error::NvException& e)
        {
            log.Error(e.GetText());
        }
    }

    if (deleteFailed)
        return 2;
    return invalidCount >= 1 ? 1 : 0;
}

// What is inserted before a failure stays valid: a service whose own key does
// not open still protects the sections that name it.
void GhostPstRemover::CollectAccountSections(const CRegKeyEx& profileKey, const CRegKeyEx& accountsKey,
                                             const CString& account, SectionSet& validSections) const
{
    CLogFile& log = CLogFile::Instance();
    log.InfoF("Otwieranie klucza konta: %s", account.GetString());
    CRegKeyEx accountKey;
    LONG result = accountKey.Open(accountsKey, account);
    if (result != ERROR_SUCCESS)
        ThrowFailure(result, "Błąd podczas otwierania klucza konta.", __LINE__);

    CString accountName;
    result = accountKey.QueryTextValue("Account Name", accountName);
    if (result != ERROR_SUCCESS)
        ThrowFailure(result, "Błąd podczas odczytywania nazwy konta.", __LINE__);
    log.InfoF("Nazwa konta: %s", accountName.GetString());

    CString service;
    result = QueryIdentifier(accountKey, "Service UID", service);
    if (result != ERROR_SUCCESS)
        ThrowFailure(result, "Błąd podczas pobierania klucza serwisu.", __LINE__);
    log.InfoF("ID serwisu to %s", service.GetString());
    validSections.insert(service);

    log.Info("Otwieranie klucza serwisu.");
    CRegKeyEx serviceKey;
    result = serviceKey.Open(profileKey, service);
    if (result != ERROR_SUCCESS)
        ThrowFailure(result, "Błąd podczas otwierania klucza serwisu.", __LINE__);

    CString store;
    result = QueryIdentifier(serviceKey, "01023d00", store);
    if (result != ERROR_SUCCESS)
        ThrowFailure(result, "Błąd podczas pobierania klucza sekcji.", __LINE__);
    log.InfoF("ID sekcji to %s", store.GetString());
    validSections.insert(store);
}

bool GhostPstRemover::JudgeSection(const CRegKeyEx& profileKey, const CString& section, const SectionSet& validSections,
                                   bool& deleteFailed) const
{
    if (IsReservedName(section))
        return false;
    CLogFile& log = CLogFile::Instance();
    if (validSections.count(section) != 0)
    {
        log.InfoF("Sekcja jest poprawna: %s", section.GetString());
        return false;
    }

    log.InfoF("Otwieranie sekcji: %s", section.GetString());
    CRegKeyEx sectionKey;
    LONG result = sectionKey.Open(profileKey, section);
    if (result != ERROR_SUCCESS)
        ThrowFailure(result, "Błąd podczas otwierania sekcji.", __LINE__);
    CString values[4];
    for (int i = 0; i < 4; ++i)
        values[i] = ReadLoggedText(sectionKey, SectionProperties[i]);
    if (!IsCandidate(values))
        return false;

    log.Info("Kandydat do usunięcia, sprawdzanie powiązań.");
    // A missing, non-binary or too long reference stays empty, which ties
    // the section to nothing.
    CString reference1;
    sectionKey.QueryHexValue("01023d00", reference1);
    log.InfoF("ID sekcji 1: %s", reference1.GetString());
    CString reference2;
    sectionKey.QueryHexValue("01023d0c", reference2);
    log.InfoF("ID sekcji 2: %s", reference2.GetString());
    if (validSections.count(reference1) != 0)
    {
        log.Info("Sekcja powiązana z poprawną sekcją 1, pozostaje.");
        return false;
    }
    if (validSections.count(reference2) != 0)
    {
        log.Info("Sekcja powiązana z poprawną sekcją 2, pozostaje.");
        return false;
    }

    sectionKey.Close();
    if (m_bCheckOnly)
    {
        log.Info("Ta sekcja jest niepoprawne i powinna zostać usunięta.");
        return true;
    }
    result = RegDeleteKeyA(profileKey, section);
    if (result != ERROR_SUCCESS)
    {
        deleteFailed = true;
        ThrowFailure(result, "Błąd podczas usuwania niepoprawnej sekcji.", __LINE__);
    }
    log.Info("Ta sekcja jest niepoprawna i została usunięta.");
    return true;
}

// Only the first display-name form that is present is compared; the provider
// library counts only in public-folders mode and without a display name.
bool GhostPstRemover::IsCandidate(const CString (&values)[4]) const
{
    const CString& wideName = values[0];
    const CString& narrowName = values[1];
    const CString& wideProvider = values[2];
    const CString& narrowProvider = values[3];
    if (!wideName.IsEmpty())
        return wideName.CompareNoCase(m_strPstDisplayName) == 0;
    if (!narrowName.IsEmpty())
        return narrowName.CompareNoCase(m_strPstDisplayName) == 0;
    if (!m_bPublicFolders)
        return false;
    if (!wideProvider.IsEmpty())
        return wideProvider.CompareNoCase(PublicFoldersProvider) == 0;
    if (!narrowProvider.IsEmpty())
        return narrowProvider.CompareNoCase(PublicFoldersProvider) == 0;
    return false;
}
