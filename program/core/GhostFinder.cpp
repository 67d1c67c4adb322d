#include "program/core/GhostFinder.h"

#include "library/base/NameComparison.h"
#include "library/base/TextConversion.h"
#include "library/fs/FsFolders.h"
#include "program/core/GhostPstRemover.h"
#include "program/core/ProfileSection.h"
#include "program/core/ProfilesRoot.h"
#include "program/core/ReferencedSections.h"
#include "program/core/RegistryFailure.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace
{
void AddReason(std::wstring& reasons, const std::wstring& reason)
{
    if (!reasons.empty())
        reasons += L"; ";
    reasons += reason;
}

// Reads only what the rule needs, in the order that costs least: the display
// name first (a section without one costs its open, that read and its close),
// the provider library only beside a display name, the references only of a
// PST store. A referenced section is tied whatever it holds: it is not even
// opened.
bool ReadCandidate(const RegistryKey& profileKey, const std::wstring& name, const ReferencedSections& referenced,
                   ProfileSection& section, LONG& openResult)
{
    openResult = ERROR_SUCCESS;
    if (name.empty() || ProfileSection::IsReservedName(name) || referenced.Contains(name))
        return false;
    openResult = section.Open(profileKey, name);
    if (openResult != ERROR_SUCCESS)
        return false;
    section.ReadDisplayName();
    if (section.GetDisplayName().empty())
        return false;
    section.ReadProvider();
    if (!SameName(section.GetProvider(), L"mspst.dll"))
        return false;
    section.ReadReferences(false);
    return GhostFinder::IsCandidate(name, section, referenced);
}
} // namespace

bool GhostFinder::IsCandidate(const std::wstring& name, const ProfileSection& section,
                              const ReferencedSections& referenced)
{
    // Typing the section's own display name makes it a candidate of the
    // analysis; it is removed unless something ties it to an account.
    return !ProfileSection::IsReservedName(name) && !section.GetDisplayName().empty() &&
           SameName(section.GetProvider(), L"mspst.dll") &&
           referenced.FindTie(name, section.GetReference1(), section.GetReference2()) == ReferencedSections::Tie::None;
}

GhostFinder::Result GhostFinder::Find(const std::wstring& profileName, const std::atomic<bool>* cancel)
{
    GhostPstRemover::ProfileKeys keys = GhostPstRemover::OpenProfileKeys(GetProfileKeyPath(profileName));
    const RegistryKey& profileKey = keys.profile;
    ReferencedSections referenced;
    referenced.Collect(profileKey, keys.accounts, false);

    Result result;
    for (const std::wstring& account : referenced.GetFailedAccounts())
        AddReason(result.incomplete, L"the account key \"" + account + L"\" cannot be read");
    if (!referenced.IsComplete() && result.incomplete.empty())
        AddReason(result.incomplete, L"the listing of the accounts stopped early");

    // Section by section as listed: a reading that is no longer wanted stops
    // at once, not after a listing of thousands of names.
    std::wstring name;
    for (DWORD index = 0;; ++index)
    {
        if (cancel != nullptr && cancel->load())
            break;
        LONG listing = profileKey.EnumSubKey(index, name);
        if (listing == ERROR_NO_MORE_ITEMS)
            break;
        if (listing != ERROR_SUCCESS)
        {
            AddReason(result.incomplete,
                      L"the listing of the sections stopped early: " + AnsiToWide(RegistryFailureText(listing, "")));
            break;
        }
        ProfileSection section;
        LONG opened = ERROR_SUCCESS;
        if (ReadCandidate(profileKey, name, referenced, section, opened))
        {
            section.ReadPstPath();
            result.candidates.push_back({name, section.GetDisplayName(), section.GetPstPath(), std::nullopt});
        }
        else if (opened != ERROR_SUCCESS)
        {
            result.unopenedSections.push_back(name);
        }
    }
    return result;
}

bool GhostFinder::DefaultFileQuestion(const std::wstring& path)
{
    return IsExistingFile(path);
}

void GhostFinder::AskFiles(const std::vector<Candidate*>& candidates, DWORD boundMs, const FileQuestion& exists)
{
    // Shared with the questions, which may outlive this call.
    struct Answers
    {
        std::mutex mutex;
        std::condition_variable answered;
        std::vector<std::optional<bool>> answers;
        size_t pending = 0;
    };
    auto shared = std::make_shared<Answers>();
    shared->answers.resize(candidates.size());
    for (size_t i = 0; i < candidates.size(); ++i)
    {
        if (candidates[i]->pstPath.empty())
            continue;
        std::lock_guard<std::mutex> lock(shared->mutex);
        ++shared->pending;
        try
        {
            std::thread([shared, i, exists, path = candidates[i]->pstPath] {
                bool answer = exists(path);
                std::lock_guard<std::mutex> answerLock(shared->mutex);
                shared->answers[i] = answer;
                --shared->pending;
                shared->answered.notify_all();
            }).detach();
        }
        catch (const std::system_error&)
        {
            // No thread, no question: that file stays unknown.
            --shared->pending;
        }
    }
    std::unique_lock<std::mutex> lock(shared->mutex);
    shared->answered.wait_for(lock, std::chrono::milliseconds(boundMs), [&] { return shared->pending == 0; });
    for (size_t i = 0; i < candidates.size(); ++i)
        candidates[i]->pstFileExists = shared->answers[i];
}
