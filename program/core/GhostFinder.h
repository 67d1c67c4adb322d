#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The ghost candidates of a mail profile: the PST stores (provider library
// "mspst.dll") that a repair would remove if their display name were typed.
// Finding them only reads: nothing is changed and nothing is logged.
class GhostFinder
{
public:
    struct Candidate
    {
        std::wstring section;
        std::wstring displayName;
        // Empty when the section names no file.
        std::wstring pstPath;
        // Whether that file exists, once AskFiles has had an answer in time;
        // unknown before, and without a path.
        std::optional<bool> pstFileExists;
    };

    struct Result
    {
        // In registry order.
        std::vector<Candidate> candidates;
        // What was not read: the account keys that failed, in registry order,
        // whether the listing of the accounts stopped early, and the code of
        // the failure that stopped the listing of the sections (0 when it
        // reached its end). A store tied only through what was not read
        // looks untied, so no candidate is given unless all was read.
        std::vector<std::wstring> unreadAccounts;
        bool accountsListingStopped = false;
        LONG sectionsListingFailure = ERROR_SUCCESS;
        bool IsComplete() const
        {
            return unreadAccounts.empty() && !accountsListingStopped && sectionsListingFailure == ERROR_SUCCESS;
        }
        // The sections that did not open, in registry order: any of them may
        // be a candidate that `candidates` lacks. The others are sound.
        std::vector<std::wstring> unopenedSections;
    };

    // Reads the candidates of profile `profileName` below the profiles root
    // of `root` (the chosen user's hive), stopping before the next section
    // once `*cancel` is set. Throws as ThrowOpenKeyFailure does, naming the
    // key, when the profile key or its accounts key does not open; any other
    // failure is in the result.
    static Result Find(HKEY root, const std::wstring& profileName, const std::atomic<bool>* cancel = nullptr);

    // The candidates' display names in their order, each once as names
    // compare: the names to offer, since one repair by name removes every
    // candidate of that name.
    static std::vector<std::wstring> DistinctNames(const std::vector<Candidate>& candidates);

    // Tells whether a file exists; may wait as long as the network does.
    using FileQuestion = std::function<bool(const std::wstring& path)>;
    // Asks `exists` about the file of each candidate that names one, all at
    // once, and waits at most `boundMs` for the answers: a ghost's file is
    // very often on a server that is gone, and each such question waits for
    // the network to give up. What has not answered by then stays unknown;
    // its question goes on alone and its answer is dropped, so `exists` is
    // copied and must refer to nothing that may end before it returns.
    static void AskFiles(const std::vector<Candidate*>& candidates, DWORD boundMs,
                         const FileQuestion& exists = DefaultFileQuestion);

private:
    static bool DefaultFileQuestion(const std::wstring& path);
};
