#include "program/core/GhostPstSweep.h"

#include "library/base/TextConversion.h"
#include "library/error/NvExceptionCommon.h"
#include "program/core/CLogFile.h"
#include "program/core/GhostPstRemover.h"
#include "program/core/OutlookCheck.h"
#include "program/core/ProfileReading.h"
#include "program/core/ProfilesRoot.h"
#include "program/core/RegistryBackup.h"
#include "program/core/SweepFrontEnd.h"
#include "program/core/TargetUser.h"

#include <exception>

namespace
{
Error::NvExceptionText CopyOf(const Error::NvException& e)
{
    return Error::NvExceptionText(e.GetText(), e.GetWideText(), e.GetModule(), e.GetLine());
}
} // namespace

CoreOutcome GhostPstSweep::Outcome::Result() const
{
    switch (stage)
    {
    case Stage::InputRefused:
        break;
    case Stage::OutlookRunning:
        return {CoreOutcome::What::OutlookRunning};
    case Stage::BackupDeclined:
        return {CoreOutcome::What::BackupFailed};
    case Stage::Stopped:
        return {CoreOutcome::What::ProfileNotOpened, failureCode};
    case Stage::AccountsUnread:
        return {CoreOutcome::What::ProfileReadIncompletely};
    case Stage::Finished:
        if (!readCompletely && found != CoreOutcome::What::RemovalFailed)
            return {CoreOutcome::What::ProfileReadIncompletely};
        return {found};
    }
    return {CoreOutcome::What::Clean};
}

GhostPstSweep::GhostPstSweep(SweepFrontEnd& frontEnd) : m_frontEnd(frontEnd)
{
}

GhostPstSweep::Outcome GhostPstSweep::Check()
{
    Outcome outcome;
    if (!m_frontEnd.ReadInput(outcome.profileName, outcome.pstName))
        return outcome;
    CLogFile& log = CLogFile::Instance();
    TargetUser::LogChoice();
    log.InfoF(" ");
    log.InfoF("-- CHECK --");
    log.InfoF("Proces sprawdzania dla profilu \"%s\" i magazynu PST \"%s\".",
              WideToAnsiMarked(outcome.profileName).GetString(), WideToAnsiMarked(outcome.pstName).GetString());
    GhostPstRemover remover(outcome.profileName, outcome.pstName, true);
    RunEngine(outcome, remover);
    return outcome;
}

GhostPstSweep::Outcome GhostPstSweep::Repair(Strictness strictness)
{
    Outcome outcome;
    // Nothing else is looked at while Outlook runs: it would write the
    // profile back over the removal.
    if (RefuseForOutlook())
    {
        outcome.stage = Stage::OutlookRunning;
        return outcome;
    }
    if (!m_frontEnd.ReadInput(outcome.profileName, outcome.pstName))
        return outcome;
    CLogFile& log = CLogFile::Instance();
    TargetUser::LogChoice();
    log.InfoF(" ");
    log.InfoF("-- START --");
    log.InfoF("Pocedura usuwania dla profilu \"%s\" i magazynu PST \"%s\".",
              WideToAnsiMarked(outcome.profileName).GetString(), WideToAnsiMarked(outcome.pstName).GetString());

    std::wstring profileKey = GetProfileKeyPath(outcome.profileName);
    if (strictness == Strictness::FailClosed)
    {
        try
        {
            ProfileReading::OpenKeys(TargetUser::Root(), profileKey);
        }
        catch (const Error::NvException& e)
        {
            Stop(outcome, e);
            return outcome;
        }
    }
    outcome.backupFile =
        BackUpProfile(nullptr, TargetUser::RootName() + L"\\" + profileKey, outcome.profileName, outcome.backupError);
    if (outcome.backupFile.IsEmpty() && !m_frontEnd.ContinueWithoutBackup(outcome.backupError))
    {
        outcome.stage = Stage::BackupDeclined;
        return outcome;
    }

    GhostPstRemover remover(outcome.profileName, outcome.pstName, false);
    remover.SetStopWhenAccountsUnread(strictness == Strictness::FailClosed);
    // The backup and the question before it may have taken minutes: Outlook
    // may have been started meanwhile. What the check throws is kept for
    // after the run, which must not take it for a failure of the profile,
    // and let out as it was thrown, its error code with it.
    std::exception_ptr outlookCheckFailure;
    remover.SetRemovalGate([&]() {
        try
        {
            return !RefuseForOutlook();
        }
        catch (const Error::NvException&)
        {
            outlookCheckFailure = std::current_exception();
            return false;
        }
    });
    RunEngine(outcome, remover);
    if (outlookCheckFailure)
        std::rethrow_exception(outlookCheckFailure);
    if (remover.GetStop() == GhostPstRemover::Stop::RemovalRefused)
        outcome.stage = Stage::OutlookRunning;
    else if (remover.GetStop() == GhostPstRemover::Stop::AccountsUnread)
        outcome.stage = Stage::AccountsUnread;
    return outcome;
}

void GhostPstSweep::Stop(Outcome& outcome, const Error::NvException& e)
{
    CLogFile::Instance().Error(e.GetText());
    outcome.failure = CopyOf(e);
    outcome.stage = Stage::Stopped;
    auto common = dynamic_cast<const Error::NvExceptionCommon*>(&e);
    outcome.failureCode = common != nullptr ? common->GetError() : 0;
}

bool GhostPstSweep::RefuseForOutlook()
{
    if (!IsOutlookRunning(TargetUser::Sid()))
        return false;
    m_frontEnd.OutlookRunning();
    LogOutlookRunning();
    return true;
}

void GhostPstSweep::RunEngine(Outcome& outcome, GhostPstRemover& remover)
{
    try
    {
        outcome.found = remover.Run();
        outcome.stage = Stage::Finished;
    }
    catch (const Error::NvException& e)
    {
        Stop(outcome, e);
    }
    outcome.invalidSections = remover.GetInvalidSections();
    outcome.failedSections = remover.GetFailedSections();
    outcome.readCompletely = remover.ReadCompletely();
}
