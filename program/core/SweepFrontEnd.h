#pragma once

#include "library/base/CString.h"

#include <string>

// What a check or a repair asks of the front end that runs it (the window or
// the command line): the input, and the answers that a user or the command
// line gives on the way.
class SweepFrontEnd
{
public:
    virtual ~SweepFrontEnd() = default;

    // The profile and the PST display name to work on; false when there is no
    // usable input (the front end has said why), which ends the action
    // before anything is logged.
    virtual bool ReadInput(std::wstring& profileName, std::wstring& pstName) = 0;

    // Outlook runs, so the repair ends; told before that is logged.
    virtual void OutlookRunning() = 0;

    // The backup failed with `error`, as the user sees it: true goes on with
    // the removal without one.
    virtual bool ContinueWithoutBackup(const std::wstring& error) = 0;
};
