#pragma once

#include "library/base/NameComparison.h"
#include "library/base/RegistryKey.h"

#include <set>
#include <string>
#include <vector>

// The sections that a mail profile's accounts reference: each account's
// service section and the section that the service refers to. A section tied
// to one of them belongs to an account. Identifiers compare as names do.
class ReferencedSections
{
public:
    // Reads every account below `accountsKey`, the accounts key of
    // `profileKey`. An account that fails is passed over; what it gave before
    // failing stays referenced, and so do the accounts listed before a listing
    // that fails. With `trace` every step and every failure goes to the log.
    void Collect(const RegistryKey& profileKey, const RegistryKey& accountsKey, bool trace);

    bool Contains(const std::wstring& section) const { return m_sections.count(section) != 0; }

    // How a section belongs to an account, the first that holds.
    enum class Tie
    {
        None,
        // It is a referenced section itself.
        Referenced,
        // Its reference 1 ("01023d00") names a referenced section.
        Reference1,
        // Its reference 2 ("01023d0c") does.
        Reference2,
    };
    // The one rule that keeps a section: what ties section `section` with
    // references `reference1` and `reference2` to an account.
    Tie FindTie(const std::wstring& section, const std::wstring& reference1, const std::wstring& reference2) const;

    // The account keys that the last Collect passed over, in registry order.
    const std::vector<std::wstring>& GetFailedAccounts() const { return m_failedAccounts; }
    // Whether the last Collect read every account: none failed and the
    // listing of the accounts reached its end. Without that, a section tied
    // only to an unread account looks untied.
    bool IsComplete() const { return m_failedAccounts.empty() && m_listingResult == ERROR_SUCCESS; }
    // ERROR_SUCCESS when the listing of the accounts reached its end; else
    // the code of the failure that ended it.
    LONG GetListingResult() const { return m_listingResult; }

private:
    // Null when the account was read in full; else the failed step's message,
    // with the registry's code in `code`.
    LPCSTR AddAccount(const RegistryKey& profileKey, const RegistryKey& accountsKey, const std::wstring& account,
                      bool trace, LONG& code);

    std::set<std::wstring, NameLess> m_sections;
    std::vector<std::wstring> m_failedAccounts;
    LONG m_listingResult = ERROR_SUCCESS;
};
