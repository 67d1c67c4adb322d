#pragma once

#include "library/framework/CString.h"
#include "library/registry/CRegKeyEx.h"

#include <set>
#include <vector>

// The sections that a mail profile's accounts reference: each account's
// service section and the section that the service refers to. A section tied
// to one of them belongs to an account. Identifiers compare ignoring case.
class ReferencedSections
{
public:
    // Reads every account below `accountsKey`, the accounts key of
    // `profileKey`. An account that fails is passed over; what it gave before
    // failing stays referenced. With `trace` every step and every failure goes
    // to the log.
    void Collect(const CRegKeyEx& profileKey, const CRegKeyEx& accountsKey, bool trace);

    bool Contains(const CString& section) const { return m_sections.count(section) != 0; }

    // 1 when `reference1` names a referenced section, else 2 when `reference2`
    // does, else 0.
    int FindTie(const CString& reference1, const CString& reference2) const;

    // The account keys that the last Collect passed over, in registry order.
    const std::vector<CString>& GetFailedAccounts() const { return m_failedAccounts; }

private:
    struct NoCaseLess
    {
        bool operator()(const CString& left, const CString& right) const { return left.CompareNoCase(right) < 0; }
    };

    void AddAccount(const CRegKeyEx& profileKey, const CRegKeyEx& accountsKey, const CString& account, bool trace);

    std::set<CString, NoCaseLess> m_sections;
    std::vector<CString> m_failedAccounts;
};
