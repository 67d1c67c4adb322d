#pragma once

#include "library/error/NvExceptionText.h"
#include "library/fs/NvFsPathT.h"
#include "program/core/CoreOutcome.h"

#include <optional>
#include <string>
#include <vector>

class GhostPstRemover;
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
        // Outlook runs: nothing was removed (repair only). Found before the
        // backup, only that was logged; found again right before the first
        // removal, the analysis was logged up to there.
        OutlookRunning,
        // The backup failed and the front end would not go on without one.
        BackupDeclined,
        // The profile or its accounts key did not open: `failure` says why.
        Stopped,
        // The accounts could not all be read, so nothing was removed (a
        // fail-closed repair only).
        AccountsUnread,
        // The engine ran.
        Finished,
    };

    struct Outcome
    {
        Stage stage = Stage::InputRefused;
        std::wstring profileName;
        std::wstring pstName;
        // What the engine found when it ran (Finished): Clean,
        // InvalidSections or RemovalFailed, whatever it could not read.
        CoreOutcome::What found = CoreOutcome::What::Clean;
        // Found invalid (check) or removed (repair), in registry order.
        std::vector<std::wstring> invalidSections;
        std::vector<std::wstring> failedSections;
        // Whether the engine read every account and section it looked at.
        bool readCompletely = true;
        // The backup's file, or the text of its failure as the user sees it
        // (repair only).
        NvFsPath backupFile;
        std::wstring backupError;
        // What stopped the engine, as it was thrown (logged already), and
        // the system's code it carried (0 without one).
        std::optional<Error::NvExceptionText> failure;
        DWORD failureCode = 0;

        // What the action came to, as both front ends tell it: an
        // incomplete reading outweighs what was found, a failed removal
        // outweighs both.
        CoreOutcome Result() const;
    };

    // How a repair treats a profile that it cannot read in full.
    enum class Strictness
    {
        // The window's: a profile that does not open is found out when the
        // engine opens it, after the backup; accounts that cannot be read are
        // passed over.
        Lenient,
        // The command line's: a profile that does not open is found out
        // before the backup, which is then not attempted; when an account
        // cannot be read nothing is removed.
        FailClosed,
    };

    explicit GhostPstSweep(SweepFrontEnd& frontEnd);

    // The analysis alone: nothing is changed.
    Outcome Check();

    // Refuses while Outlook runs, backs the profile key up, then removes the
    // invalid sections, Outlook checked again right before the first removal.
    // Lets out what the Outlook check throws; every other failure is in the
    // outcome.
    Outcome Repair(Strictness strictness = Strictness::Lenient);

private:
    // Runs `remover` into `outcome`; a failure to open the profile is logged
    // and kept in it.
    static void RunEngine(Outcome& outcome, GhostPstRemover& remover);
    // The profile did not open (`e`, logged here): the action stops.
    static void Stop(Outcome& outcome, const Error::NvException& e);
    // Whether Outlook runs; when it does, the front end is told and the log
    // says so.
    bool RefuseForOutlook();

    SweepFrontEnd& m_frontEnd;
};
