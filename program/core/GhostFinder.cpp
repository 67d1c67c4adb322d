#include "program/core/GhostFinder.h"

#include "library/base/NameComparison.h"
#include "library/fs/FsFolders.h"
#include "program/core/ProfileReading.h"
#include "program/core/ProfileSection.h"
#include "program/core/ProfilesRoot.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace
{
// Reads only what the rule needs, in the order that costs least: the display
// name first (a section without one costs its open, that read and its close),
// the provider library only beside a display name, the references only of a
// PST store. A referenced section is tied whatever it holds: it is not even
// opened.
bool ReadCandidate(const ProfileReading& reading, const std::wstring& name, ProfileSection& section, LONG& openResult)
{
    openResult = ERROR_SUCCESS;
    if (ProfileSection::IsReservedName(name) || reading.GetReferenced().Contains(name))
        return false;
    openResult = section.Open(reading.GetProfileKey(), name);
    if (openResult != ERROR_SUCCESS)
        return false;
    section.ReadDisplayName();
    if (section.GetDisplayName().empty())
        return false;
    section.ReadProvider();
    if (!SameName(section.GetProvider(), L"mspst.dll"))
        return false;
    section.ReadReferences(false);
    return reading.IsGhost(name, section);
}
} // namespace

GhostFinder::Result GhostFinder::Find(HKEY root, const std::wstring& profileName, const std::atomic<bool>* cancel)
{
    ProfileReading reading =
        ProfileReading::Read(ProfileReading::OpenKeys(root, GetProfileKeyPath(profileName)), false, cancel);
    Result result;
    result.unreadAccounts = reading.GetReferenced().GetFailedAccounts();
    result.accountsListingStopped = reading.GetReferenced().GetListingResult() != ERROR_SUCCESS;
    result.sectionsListingFailure = reading.GetListingResult();
    for (const std::wstring& name : reading.GetSectionNames())
    {
        if (cancel != nullptr && cancel->load())
            break;
        ProfileSection section;
        LONG opened = ERROR_SUCCESS;
        if (ReadCandidate(reading, name, section, opened))
        {
            section.ReadPstPath();
            result.candidates.push_back({name, section.GetDisplayName(), section.GetPstPath(), std::nullopt});
        }
        else if (opened != ERROR_SUCCESS)
        {
            result.unopenedSections.push_back(name);
        }
    }
    // A store tied only through what was not read looks like a ghost.
    if (!result.IsComplete())
        result.candidates.clear();
    return result;
}

std::vector<std::wstring> GhostFinder::DistinctNames(const std::vector<Candidate>& candidates)
{
    std::vector<std::wstring> names;
    for (const Candidate& candidate : candidates)
    {
        auto same = [&](const std::wstring& name) { return SameName(name, candidate.displayName); };
        if (std::none_of(names.begin(), names.end(), same))
            names.push_back(candidate.displayName);
    }
    return names;
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
