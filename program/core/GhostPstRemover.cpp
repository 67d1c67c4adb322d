#include "program/core/GhostPstRemover.h"

#include "library/base/NameComparison.h"
#include "library/base/TextConversion.h"
#include "program/core/CLogFile.h"
#include "program/core/ProfileReading.h"
#include "program/core/ProfileSection.h"
#include "program/core/ProfilesRoot.h"
#include "program/core/ReferencedSections.h"
#include "program/core/RegistryFailure.h"
#include "program/core/TargetUser.h"

namespace
{
const wchar_t* const PublicFoldersName = L"nvpublicfolders";
const wchar_t* const PublicFoldersProvider = L"NvPFStore.dll";
} // namespace

GhostPstRemover::GhostPstRemover(const std::wstring& profileName, const std::wstring& pstDisplayName, bool checkOnly)
    : m_strProfileName(profileName), m_strPstDisplayName(pstDisplayName),
      m_bPublicFolders(SameName(pstDisplayName, PublicFoldersName)), m_bCheckOnly(checkOnly)
{
}

CoreOutcome::What GhostPstRemover::Run()
{
    m_invalidSections.clear();
    m_failedSections.clear();
    m_stop = Stop::None;
    m_bReadCompletely = true;
    m_bRemovalAllowed = false;
    CLogFile& log = CLogFile::Instance();
    std::wstring path = GetProfileKeyPath(m_strProfileName);
    log.InfoF("Otwieranie klucza profilów: %s", WideToAnsiMarked(TargetUser::RootName() + L"\\" + path).GetString());
    ProfileReading::Keys keys = ProfileReading::OpenKeys(TargetUser::Root(), path);
    log.Info(" ");
    log.Info("-- Listowanie kont --");
    ProfileReading reading = ProfileReading::Read(std::move(keys), true);
    const ReferencedSections& referenced = reading.GetReferenced();
    m_bReadCompletely = referenced.IsComplete();
    if (!m_bReadCompletely && !m_bCheckOnly && m_bStopWhenAccountsUnread)
    {
        log.Error("Nie wszystkie konta zostały odczytane, żadna sekcja nie zostanie usunięta.");
        m_stop = Stop::AccountsUnread;
        return CoreOutcome::What::Clean;
    }

    log.Info(" ");
    log.Info("-- Listowanie sekcji -- ");
    // The list was taken in full first: deleting sections must not shift the
    // enumeration indexes under the loop.
    for (const std::wstring& section : reading.GetSectionNames())
    {
        switch (JudgeSection(reading.GetProfileKey(), section, referenced))
        {
        case Verdict::Kept:
            break;
        case Verdict::Unread:
            m_bReadCompletely = false;
            break;
        case Verdict::Invalid:
            m_invalidSections.push_back(section);
            break;
        case Verdict::DeleteFailed:
            m_failedSections.push_back(section);
            break;
        case Verdict::Refused:
            m_stop = Stop::RemovalRefused;
            return CoreOutcome::What::Clean;
        }
    }
    LONG listing = reading.GetListingResult();
    if (listing != ERROR_SUCCESS)
    {
        log.Error(RegistryFailureText(listing, "Błąd podczas listowania sekcji."));
        m_bReadCompletely = false;
    }

    if (!m_failedSections.empty())
        return CoreOutcome::What::RemovalFailed;
    return m_invalidSections.empty() ? CoreOutcome::What::Clean : CoreOutcome::What::InvalidSections;
}

GhostPstRemover::Verdict GhostPstRemover::JudgeSection(const RegistryKey& profileKey, const std::wstring& section,
                                                       const ReferencedSections& referenced)
{
    if (ProfileSection::IsReservedName(section))
        return Verdict::Kept;
    CLogFile& log = CLogFile::Instance();
    if (referenced.Contains(section))
    {
        log.InfoF("Sekcja jest poprawna: %s", WideToAnsiMarked(section).GetString());
        return Verdict::Kept;
    }

    log.InfoF("Otwieranie sekcji: %s", WideToAnsiMarked(section).GetString());
    ProfileSection values;
    LONG result = values.Open(profileKey, section);
    if (result != ERROR_SUCCESS)
    {
        log.Error(RegistryFailureText(result, "Błąd podczas otwierania sekcji."));
        return Verdict::Unread;
    }
    values.ReadTexts(true);
    if (!IsCandidate(values.GetDisplayName(), values.GetProvider()))
        return Verdict::Kept;

    log.Info("Kandydat do usunięcia, sprawdzanie powiązań.");
    values.ReadReferences(true);
    switch (referenced.FindTie(section, values.GetReference1(), values.GetReference2()))
    {
    case ReferencedSections::Tie::Reference1:
        log.Info("Sekcja powiązana z poprawną sekcją 1, pozostaje.");
        return Verdict::Kept;
    case ReferencedSections::Tie::Reference2:
        log.Info("Sekcja powiązana z poprawną sekcją 2, pozostaje.");
        return Verdict::Kept;
    case ReferencedSections::Tie::Referenced:
    case ReferencedSections::Tie::None:
        break;
    }

    values.Close();
    if (m_bCheckOnly)
    {
        log.Info("Ta sekcja jest niepoprawne i powinna zostać usunięta.");
        return Verdict::Invalid;
    }
    if (!m_bRemovalAllowed)
    {
        if (m_removalGate && !m_removalGate())
            return Verdict::Refused;
        m_bRemovalAllowed = true;
    }
    result = profileKey.DeleteSubKey(section);
    if (result != ERROR_SUCCESS)
    {
        log.Error(RegistryFailureText(result, "Błąd podczas usuwania niepoprawnej sekcji."));
        return Verdict::DeleteFailed;
    }
    log.Info("Ta sekcja jest niepoprawna i została usunięta.");
    return Verdict::Invalid;
}

// Only the first display-name form that is present is compared (the section
// gives it); the provider library counts only in public-folders mode and
// without a display name.
bool GhostPstRemover::IsCandidate(const std::wstring& displayName, const std::wstring& provider) const
{
    if (!displayName.empty())
        return SameName(displayName, m_strPstDisplayName);
    if (!m_bPublicFolders)
        return false;
    if (!provider.empty())
        return SameName(provider, PublicFoldersProvider);
    return false;
}
