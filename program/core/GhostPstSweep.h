#pragma once

#include "library/error/NvExceptionText.h"
#include "library/fs/NvFsPathT.h"

#include <optional>
#include <vector>

class SweepFrontEnd;

// A check or a repair of one profile from start to end, for both front ends:
// the Outlook check (repair only), the log's header lines, the backup (repair
// only) and the engine's run. The front end gives the input and the answers
// (SweepFrontEnd) and turns the outcome into boxes or console output.
class GhostPstSweep
{
public:
    // How far the action got.
    enum class Stage
    {
        // The front end had no usable input: nothing was logged.
        InputRefused,
        // Outlook runs: only that was logged (repair only).
        OutlookRunning,
        // The backup failed and the front end would not go on without one.
        BackupDeclined,
        // The profile or its accounts key did not open: `failure` says why.
        Stopped,
        // The engine ran: `result` is its result.
        Finished,
    };

    struct Outcome
    {
        Stage stage = Stage::InputRefused;
        CString profileName;
        CString pstName;
        // 0: nothing invalid; 1: invalid sections found (check) or all removed
        // (repair); 2: a removal failed.
        int result = 0;
        // Found invalid (check) or removed (repair), in registry order.
        std::vector<CString> invalidSections;
        std::vector<CString> failedSections;
        // The backup's file, or the text of its failure (repair only).
        NvFsPath backupFile;
        CString backupError;
        // What stopped the engine, as it was thrown (logged already).
        std::optional<Error::NvExceptionText> failure;
    };

    // When a repair finds out that the profile does not open.
    enum class ProfileCheck
    {
        // When the engine opens it, after the backup (the window's order).
        AtRemoval,
        // Before the backup, which is then not attempted (the command line's).
        BeforeBackup,
    };

    explicit GhostPstSweep(SweepFrontEnd& frontEnd);

    // The analysis alone: nothing is changed.
    Outcome Check();

    // Refuses while Outlook runs, backs the profile key up, then removes the
    // invalid sections. Lets out what the Outlook check throws; every other
    // failure is in the outcome.
    Outcome Repair(ProfileCheck profileCheck = ProfileCheck::AtRemoval);

private:
    // Runs the engine into `outcome`; a failure to open the profile is logged
    // and kept in it.
    void RunEngine(Outcome& outcome, bool checkOnly);

    SweepFrontEnd& m_frontEnd;
};
