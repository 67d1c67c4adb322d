#include "program/core/ReferencedSections.h"

#include "library/base/TextConversion.h"
#include "program/core/CLogFile.h"
#include "program/core/RegistryFailure.h"

namespace
{
// An identifier that reads as empty text has no failure code of its own: it
// is reported as invalid data.
LONG QueryIdentifier(const RegistryKey& key, const wchar_t* valueName, std::wstring& hex)
{
    LONG result = key.QueryHexValue(valueName, hex);
    if (result == ERROR_SUCCESS && hex.empty())
        return ERROR_INVALID_DATA;
    return result;
}

// The analysis trace when it is asked for; nothing otherwise.
void Trace(bool trace, LPCSTR format, const std::wstring& value)
{
    if (trace)
        CLogFile::Instance().InfoF(format, WideToAnsiMarked(value).GetString());
}
} // namespace

void ReferencedSections::Collect(const RegistryKey& profileKey, const RegistryKey& accountsKey, bool trace)
{
    m_failedAccounts.clear();
    std::vector<std::wstring> accounts;
    m_listingResult = accountsKey.EnumSubKeys(accounts);
    for (const std::wstring& account : accounts)
    {
        if (account.empty())
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

ReferencedSections::Tie ReferencedSections::FindTie(const std::wstring& section, const std::wstring& reference1,
                                                    const std::wstring& reference2) const
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
LPCSTR ReferencedSections::AddAccount(const RegistryKey& profileKey, const RegistryKey& accountsKey,
                                      const std::wstring& account, bool trace, LONG& code)
{
    auto failed = [&code](LONG result, LPCSTR step) {
        code = result;
        return step;
    };
    Trace(trace, "Otwieranie klucza konta: %s", account);
    RegistryKey accountKey;
    LONG result = accountKey.Open(accountsKey.Get(), account);
    if (result != ERROR_SUCCESS)
        return failed(result, "Błąd podczas otwierania klucza konta.");

    std::wstring accountName;
    result = accountKey.QueryTextValue(L"Account Name", accountName);
    if (result != ERROR_SUCCESS)
        return failed(result, "Błąd podczas odczytywania nazwy konta.");
    Trace(trace, "Nazwa konta: %s", accountName);

    std::wstring service;
    result = QueryIdentifier(accountKey, L"Service UID", service);
    if (result != ERROR_SUCCESS)
        return failed(result, "Błąd podczas pobierania klucza serwisu.");
    Trace(trace, "ID serwisu to %s", service);
    m_sections.insert(service);

    if (trace)
        CLogFile::Instance().Info("Otwieranie klucza serwisu.");
    RegistryKey serviceKey;
    result = serviceKey.Open(profileKey.Get(), service);
    if (result != ERROR_SUCCESS)
        return failed(result, "Błąd podczas otwierania klucza serwisu.");

    std::wstring store;
    result = QueryIdentifier(serviceKey, L"01023d00", store);
    if (result != ERROR_SUCCESS)
        return failed(result, "Błąd podczas pobierania klucza sekcji.");
    Trace(trace, "ID sekcji to %s", store);
    m_sections.insert(store);
    return nullptr;
}
