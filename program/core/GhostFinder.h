#pragma once

#include "library/framework/CString.h"

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

    // True when section `name`, its texts and references read, is a candidate
    // of a profile whose accounts reference `referenced`.
    static bool IsCandidate(const CString& name, const ProfileSection& section, const ReferencedSections& referenced);

    // The candidates of profile `profileName` below the profiles root in
    // force, in registry order; sections that do not open are passed over.
    // Throws Error::NvExceptionCommon (string 104 with the key) when the
    // profile key or its accounts key does not open.
    static std::vector<Candidate> Find(const CString& profileName);
};
