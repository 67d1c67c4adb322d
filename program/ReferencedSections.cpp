#include "program/ReferencedSections.h"

#include "library/error/NvException.h"
#include "program/CLogFile.h"
#include "program/RegistryFailure.h"

namespace
{
// An identifier that reads as empty text has no failure code of its own: it
// is reported as invalid data.
LONG QueryIdentifier(const CRegKeyEx& key, LPCSTR valueName, CString& hex)
{
    LONG result = key.QueryHexValue(valueName, hex);
    if (result == ERROR_SUCCESS && hex.IsEmpty())
        return ERROR_INVALID_DATA;
    return result;
}

// The analysis trace when it is asked for; nothing otherwise.
void Trace(bool trace, LPCSTR format, const CString& value)
{
    if (trace)
        CLogFile::Instance().InfoF(format, value.GetString());
}
} // namespace

void ReferencedSections::Collect(const CRegKeyEx& profileKey, const CRegKeyEx& accountsKey, bool trace)
{
    m_failedAccounts.clear();
    std::vector<CString> accounts;
    accountsKey.EnumSubKeys(accounts);
    for (const CString& account : accounts)
    {
        if (account.IsEmpty())
            continue;
        try
        {
            AddAccount(profileKey, accountsKey, account, trace);
        }
        catch (const Error::NvException& e)
        {
            if (trace)
                CLogFile::Instance().Error(e.GetText());
            m_failedAccounts.push_back(account);
        }
    }
}

int ReferencedSections::FindTie(const CString& reference1, const CString& reference2) const
{
    if (Contains(reference1))
        return 1;
    if (Contains(reference2))
        return 2;
    return 0;
}

// What is inserted before a failure stays: a service whose own key does not
// open still protects the sections that name it.
void ReferencedSections::AddAccount(const CRegKeyEx& profileKey, const CRegKeyEx& accountsKey, const CString& account,
                                    bool trace)
{
    Trace(trace, "Otwieranie klucza konta: %s", account);
    CRegKeyEx accountKey;
    LONG result = accountKey.Open(accountsKey, account);
    if (result != ERROR_SUCCESS)
        ThrowRegistryFailure(result, "Błąd podczas otwierania klucza konta.", __FILE__, __LINE__);

    CString accountName;
    result = accountKey.QueryTextValue("Account Name", accountName);
    if (result != ERROR_SUCCESS)
        ThrowRegistryFailure(result, "Błąd podczas odczytywania nazwy konta.", __FILE__, __LINE__);
    Trace(trace, "Nazwa konta: %s", accountName);

    CString service;
    result = QueryIdentifier(accountKey, "Service UID", service);
    if (result != ERROR_SUCCESS)
        ThrowRegistryFailure(result, "Błąd podczas pobierania klucza serwisu.", __FILE__, __LINE__);
    Trace(trace, "ID serwisu to %s", service);
    m_sections.insert(service);

    if (trace)
        CLogFile::Instance().Info("Otwieranie klucza serwisu.");
    CRegKeyEx serviceKey;
    result = serviceKey.Open(profileKey, service);
    if (result != ERROR_SUCCESS)
        ThrowRegistryFailure(result, "Błąd podczas otwierania klucza serwisu.", __FILE__, __LINE__);

    CString store;
    result = QueryIdentifier(serviceKey, "01023d00", store);
    if (result != ERROR_SUCCESS)
        ThrowRegistryFailure(result, "Błąd podczas pobierania klucza sekcji.", __FILE__, __LINE__);
    Trace(trace, "ID sekcji to %s", store);
    m_sections.insert(store);
}
