#include "program/GhostPstRemover.h"

#include "library/error/NvException.h"
#include "program/CLogFile.h"
#include "program/ProfileSection.h"
#include "program/ProfilesRoot.h"
#include "program/ReferencedSections.h"
#include "program/RegistryFailure.h"

namespace
{
const char* const PublicFoldersName = "nvpublicfolders";
const char* const PublicFoldersProvider = "NvPFStore.dll";
} // namespace

GhostPstRemover::GhostPstRemover(const CString& profileName, const CString& pstDisplayName, bool checkOnly)
    : m_strProfileName(profileName), m_strPstDisplayName(pstDisplayName),
      m_bPublicFolders(pstDisplayName.CompareNoCase(PublicFoldersName) == 0), m_bCheckOnly(checkOnly)
{
}

void GhostPstRemover::OpenProfileKeys(const CString& profilePath, CRegKeyEx& profileKey, CRegKeyEx& accountsKey)
{
    LONG result = profileKey.Open(HKEY_CURRENT_USER, profilePath);
    if (result != ERROR_SUCCESS)
        ThrowOpenKeyFailure(result, profilePath, __FILE__, __LINE__);
    result = accountsKey.Open(profileKey, AccountsKeyName);
    if (result != ERROR_SUCCESS)
        ThrowOpenKeyFailure(result, profilePath + "\\" + AccountsKeyName, __FILE__, __LINE__);
}

int GhostPstRemover::Run()
{
    m_invalidSections.clear();
    m_failedSections.clear();
    CLogFile& log = CLogFile::Instance();
    CString path = GetProfileKeyPath(m_strProfileName);
    log.InfoF("Otwieranie klucza profilów: HKEY_CURRENT_USER\\%s", path.GetString());
    CRegKeyEx profileKey;
    CRegKeyEx accountsKey;
    OpenProfileKeys(path, profileKey, accountsKey);

    log.Info(" ");
    log.Info("-- Listowanie kont --");
    ReferencedSections referenced;
    referenced.Collect(profileKey, accountsKey, true);

    log.Info(" ");
    log.Info("-- Listowanie sekcji -- ");
    // The list is taken in full first: deleting sections must not shift the
    // enumeration indexes under the loop.
    std::vector<CString> sections;
    profileKey.EnumSubKeys(sections);
    for (const CString& section : sections)
    {
        if (section.IsEmpty())
            continue;
        try
        {
            if (JudgeSection(profileKey, section, referenced))
                m_invalidSections.push_back(section);
        }
        catch (const Error::NvException& e)
        {
            log.Error(e.GetText());
        }
    }

    if (!m_failedSections.empty())
        return 2;
    return m_invalidSections.empty() ? 0 : 1;
}

bool GhostPstRemover::JudgeSection(const CRegKeyEx& profileKey, const CString& section,
                                   const ReferencedSections& referenced)
{
    if (ProfileSection::IsReservedName(section))
        return false;
    CLogFile& log = CLogFile::Instance();
    if (referenced.Contains(section))
    {
        log.InfoF("Sekcja jest poprawna: %s", section.GetString());
        return false;
    }

    log.InfoF("Otwieranie sekcji: %s", section.GetString());
    ProfileSection values;
    LONG result = values.Open(profileKey, section);
    if (result != ERROR_SUCCESS)
        ThrowRegistryFailure(result, "Błąd podczas otwierania sekcji.", __FILE__, __LINE__);
    values.ReadTexts(true);
    if (!IsCandidate(values.GetDisplayName(), values.GetProvider()))
        return false;

    log.Info("Kandydat do usunięcia, sprawdzanie powiązań.");
    values.ReadReferences(true);
    switch (referenced.FindTie(values.GetReference1(), values.GetReference2()))
    {
    case 1:
        log.Info("Sekcja powiązana z poprawną sekcją 1, pozostaje.");
        return false;
    case 2:
        log.Info("Sekcja powiązana z poprawną sekcją 2, pozostaje.");
        return false;
    }

    values.Close();
    if (m_bCheckOnly)
    {
        log.Info("Ta sekcja jest niepoprawne i powinna zostać usunięta.");
        return true;
    }
    result = RegDeleteKeyA(profileKey, section);
    if (result != ERROR_SUCCESS)
    {
        m_failedSections.push_back(section);
        ThrowRegistryFailure(result, "Błąd podczas usuwania niepoprawnej sekcji.", __FILE__, __LINE__);
    }
    log.Info("Ta sekcja jest niepoprawna i została usunięta.");
    return true;
}

// Only the first display-name form that is present is compared (the section
// gives it); the provider library counts only in public-folders mode and
// without a display name.
bool GhostPstRemover::IsCandidate(const CString& displayName, const CString& provider) const
{
    if (!displayName.IsEmpty())
        return displayName.CompareNoCase(m_strPstDisplayName) == 0;
    if (!m_bPublicFolders)
        return false;
    if (!provider.IsEmpty())
        return provider.CompareNoCase(PublicFoldersProvider) == 0;
    return false;
}
