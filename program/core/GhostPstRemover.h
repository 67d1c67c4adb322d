#pragma once

#include "library/base/RegistryKey.h"
#include "program/core/CoreOutcome.h"

#include <functional>
#include <string>
#include <vector>

class ReferencedSections;

// Finds the sections of a mail profile that carry a PST store's display name
// but are tied to no section that one of the profile's accounts references,
// and reports them (check-only) or deletes them. Every step goes to the log.
class GhostPstRemover
{
public:
    // A display name of "nvpublicfolders", in any letter case, also makes the
    // public-folder store's provider library mark a section without a
    // display name.
    GhostPstRemover(const std::wstring& profileName, const std::wstring& pstDisplayName, bool checkOnly);

    // Asked once, right before the first section is deleted; false ends the
    // run there with nothing deleted (GetStop gives RemovalRefused). What it
    // throws leaves Run.
    void SetRemovalGate(std::function<bool()> gate) { m_removalGate = std::move(gate); }
    // With `stop`, a removal run whose accounts could not all be read ends
    // after reading them, with nothing examined or deleted (GetStop gives
    // AccountsUnread): a section tied only to an unread account looks untied.
    void SetStopWhenAccountsUnread(bool stop) { m_bStopWhenAccountsUnread = stop; }

    // Reads the profile (ProfileReading) of the chosen user: Clean when no
    // section is invalid, InvalidSections when invalid sections were found
    // (check-only) or all of them deleted, RemovalFailed when a deletion
    // failed. Throws Error::NvExceptionCommon when the profile key or its
    // accounts key does not open; failures of single accounts and sections
    // are logged and passed over.
    CoreOutcome::What Run();

    // Why the last Run ended before it had examined every section.
    enum class Stop
    {
        None,
        AccountsUnread,
        RemovalRefused,
    };
    Stop GetStop() const { return m_stop; }
    // Whether the last Run read the whole profile: every account, both
    // listings to their end and every section it examined.
    bool ReadCompletely() const { return m_bReadCompletely; }

    // The sections that the last Run found invalid (check-only) or deleted,
    // in registry order.
    const std::vector<std::wstring>& GetInvalidSections() const { return m_invalidSections; }
    // The invalid sections whose deletion failed in the last Run.
    const std::vector<std::wstring>& GetFailedSections() const { return m_failedSections; }

private:
    enum class Verdict
    {
        // Not examined, valid, not a candidate, or tied.
        Kept,
        // Not openable: passed over.
        Unread,
        // Invalid, but the removal gate refused the first deletion.
        Refused,
        // Found invalid and counted: reported (check-only) or deleted.
        Invalid,
        // Found invalid, but its deletion failed.
        DeleteFailed,
    };

    // Examines one section, logging every step and failure.
    Verdict JudgeSection(const RegistryKey& profileKey, const std::wstring& section,
                         const ReferencedSections& referenced);
    bool IsCandidate(const std::wstring& displayName, const std::wstring& provider) const;

    std::wstring m_strProfileName;
    std::wstring m_strPstDisplayName;
    bool m_bPublicFolders;
    bool m_bCheckOnly;
    bool m_bStopWhenAccountsUnread = false;
    std::function<bool()> m_removalGate;
    bool m_bRemovalAllowed = false;
    Stop m_stop = Stop::None;
    bool m_bReadCompletely = true;
    std::vector<std::wstring> m_invalidSections;
    std::vector<std::wstring> m_failedSections;
};
