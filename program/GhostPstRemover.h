#pragma once

#include "library/framework/CString.h"
#include "library/registry/CRegKeyEx.h"

#include <set>

// Finds the sections of a mail profile that carry a PST store's display name
// but are tied to no section that one of the profile's accounts references,
// and reports them (check-only) or deletes them. Every step goes to the log.
class GhostPstRemover
{
public:
    // A display name of "nvpublicfolders", in any letter case, also makes the
    // public-folder store's provider library mark a section without a
    // display name.
    GhostPstRemover(const CString& profileName, const CString& pstDisplayName, bool checkOnly);

    // 0: no invalid section; 1: invalid sections found (check-only) or all of
    // them deleted; 2: a deletion failed. Throws Error::NvExceptionCommon when
    // the profile key or its accounts key does not open; failures of single
    // accounts and sections are logged and passed over.
    int Run();

private:
    // Section identifiers compared ignoring case (_mbsicmp).
    struct NoCaseLess
    {
        bool operator()(const CString& left, const CString& right) const { return left.CompareNoCase(right) < 0; }
    };
    using SectionSet = std::set<CString, NoCaseLess>;

    void CollectAccountSections(const CRegKeyEx& profileKey, const CRegKeyEx& accountsKey, const CString& account,
                                SectionSet& validSections) const;
    // True when the section was found invalid and counted (reported, or
    // deleted); throws when it cannot be opened or deleted.
    bool JudgeSection(const CRegKeyEx& profileKey, const CString& section, const SectionSet& validSections,
                      bool& deleteFailed) const;
    bool IsCandidate(const CString (&values)[4]) const;

    CString m_strProfileName;
    CString m_strPstDisplayName;
    bool m_bPublicFolders;
    bool m_bCheckOnly;
};
