#include "program/core/GhostFinder.h"

#include "library/fs/FsFolders.h"
#include "program/core/GhostPstRemover.h"
#include "program/core/ProfileSection.h"
#include "program/core/ProfilesRoot.h"
#include "program/core/ReferencedSections.h"

bool GhostFinder::IsCandidate(const CString& name, const ProfileSection& section, const ReferencedSections& referenced)
{
    // Typing the section's own display name makes it a candidate of the
    // analysis; it is removed unless something ties it to an account.
    return !ProfileSection::IsReservedName(name) && !section.GetDisplayName().IsEmpty() &&
           section.GetProvider().CompareNoCase("mspst.dll") == 0 &&
           referenced.FindTie(name, section.GetReference1(), section.GetReference2()) == ReferencedSections::Tie::None;
}

std::vector<GhostFinder::Candidate> GhostFinder::Find(const CString& profileName)
{
    CRegKeyEx profileKey;
    CRegKeyEx accountsKey;
    GhostPstRemover::OpenProfileKeys(GetProfileKeyPath(profileName), profileKey, accountsKey);
    ReferencedSections referenced;
    referenced.Collect(profileKey, accountsKey, false);

    std::vector<Candidate> candidates;
    std::vector<CString> names;
    profileKey.EnumSubKeys(names);
    for (const CString& name : names)
    {
        ProfileSection section;
        if (name.IsEmpty() || ProfileSection::IsReservedName(name) || section.Open(profileKey, name) != ERROR_SUCCESS)
            continue;
        section.ReadTexts(false);
        section.ReadReferences(false);
        if (!IsCandidate(name, section, referenced))
            continue;
        section.ReadPstPath();
        const CString& path = section.GetPstPath();
        candidates.push_back({name, section.GetDisplayName(), path, !path.IsEmpty() && IsExistingFile(path)});
    }
    return candidates;
}
