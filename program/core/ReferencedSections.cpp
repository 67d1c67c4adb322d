#include "program/core/ReferencedSections.h"

#include "program/core/CLogFile.h"
#include "program/core/RegistryFailure.h"

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
    m_listingResult = accountsKey.EnumSubKeys(accounts);
    for (const CString& account : accounts)
    {
        if (account.IsEmpty())
            continue;
        LONG code = ERROR_SUCCESS;
        LPCSTR failedStep = AddAccount(profileKey, accountsKey, account, trace, code);
        if (failedStep == nullptr)
            continue;
        if (trace)
            CLogFile::Instance().Error(RegistryFailureText(code, failedStep));
        m_failedAccounts.push_back(account);
    }
    // Said after the accounts that were listed: they were read all the same.
    if (trace && m_listingResult != ERROR_SUCCESS)
        CLogFile::Instance().Error(RegistryFailureText(m_listingResult, "Błąd podczas listowania kont."));
}

ReferencedSections::Tie ReferencedSections::FindTie(const CString& section, const CString& reference1,
                                                    const CString& reference2) const
{
    if (Contains(section))
        return Tie::Referenced;
    if (Contains(reference1))
        return Tie::Reference1;
    if (Contains(reference2))
        return Tie::Reference2;
    return Tie::None;
}

// What is inserted before a failure stays: a service whose own key does not
// open still protects the sections that name it.
LPCSTR ReferencedSections::AddAccount(const CRegKeyEx& profileKey, const CRegKeyEx& accountsKey, const CString& account,
                                      bool trace, LONG& code)
{
    auto failed = [&code](LONG result, LPCSTR step) {
        code = result;
        return step;
    };
    Trace(trace, "Otwieranie klucza konta: %s", account);
    CRegKeyEx accountKey;
    LONG result = accountKey.Open(accountsKey, account);
    if (result != ERROR_SUCCESS)
        return failed(result, "Błąd podczas otwierania klucza konta.");

    CString accountName;
    result = accountKey.QueryTextValue("Account Name", accountName);
    if (result != ERROR_SUCCESS)
        return failed(result, "Błąd podczas odczytywania nazwy konta.");
    Trace(trace, "Nazwa konta: %s", accountName);

    CString service;
    result = QueryIdentifier(accountKey, "Service UID", service);
    if (result != ERROR_SUCCESS)
        return failed(result, "Błąd podczas pobierania klucza serwisu.");
    Trace(trace, "ID serwisu to %s", service);
    m_sections.insert(service);

    if (trace)
        CLogFile::Instance().Info("Otwieranie klucza serwisu.");
    CRegKeyEx serviceKey;
    result = serviceKey.Open(profileKey, service);
    if (result != ERROR_SUCCESS)
        return failed(result, "Błąd podczas otwierania klucza serwisu.");

    CString store;
    result = QueryIdentifier(serviceKey, "01023d00", store);
    if (result != ERROR_SUCCESS)
        return failed(result, "Błąd podczas pobierania klucza sekcji.");
    Trace(trace, "ID sekcji to %s", store);
    m_sections.insert(store);
    return nullptr;
}
