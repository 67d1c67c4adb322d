#pragma once

#include "library/framework/CString.h"

#include <atomic>
#include <vector>

class ProfileSection;
class ReferencedSections;

// The ghost candidates of a mail profile: the PST stores (provider library
// "mspst.dll") that a repair would remove if their display name were typed.
// Finding them only reads: nothing is changed and nothing is logged.
class GhostFinder
{
public:
    struct Candidate
    {
        CString section;
        CString displayName;
        // Empty when the section names no file.
        CString pstPath;
        // Whether that file exists; false without a path.
        bool pstFileExists = false;
    };

    struct Result
    {
        // In registry order.
        std::vector<Candidate> candidates;
        // Empty when every account was read and both listings reached their
        // end; else what was not read, in English. A store tied only through
        // it looks untied, so the candidates may then hold live stores.
        CString incomplete;
        // The sections that did not open, in registry order: any of them may
        // be a candidate that `candidates` lacks. The others are sound.
        std::vector<CString> unopenedSections;
    };

    // True when section `name`, its texts and references read, is a candidate
    // of a profile whose accounts reference `referenced`.
    static bool IsCandidate(const CString& name, const ProfileSection& section, const ReferencedSections& referenced);

    // Reads the candidates of profile `profileName` below the profiles root in
    // force, stopping before the next section once `*cancel` is set. Throws
    // Error::NvExceptionCommon (string 104 with the key) when the profile key
    // or its accounts key does not open; any other failure is in the result.
    static Result Find(const CString& profileName, const std::atomic<bool>* cancel = nullptr);
};
