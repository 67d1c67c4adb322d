#include "program/core/GhostPstSweep.h"

#include "program/core/CLogFile.h"
#include "program/core/GhostPstRemover.h"
#include "program/core/OutlookCheck.h"
#include "program/core/ProfilesRoot.h"
#include "program/core/RegistryBackup.h"
#include "program/core/SweepFrontEnd.h"

namespace
{
Error::NvExceptionText CopyOf(const Error::NvException& e)
{
    return Error::NvExceptionText(e.GetText(), e.GetModule(), e.GetLine());
}
} // namespace

GhostPstSweep::GhostPstSweep(SweepFrontEnd& frontEnd) : m_frontEnd(frontEnd)
{
}

GhostPstSweep::Outcome GhostPstSweep::Check()
{
    Outcome outcome;
    if (!m_frontEnd.ReadInput(outcome.profileName, outcome.pstName))
        return outcome;
    CLogFile& log = CLogFile::Instance();
    log.InfoF(" ");
    log.InfoF("-- CHECK --");
    log.InfoF("Proces sprawdzania dla profilu \"%s\" i magazynu PST \"%s\".", outcome.profileName.GetString(),
              outcome.pstName.GetString());
    RunEngine(outcome, true);
    return outcome;
}

GhostPstSweep::Outcome GhostPstSweep::Repair(ProfileCheck profileCheck)
{
    Outcome outcome;
    CLogFile& log = CLogFile::Instance();
    // Nothing else is looked at while Outlook runs: it would write the
    // profile back over the removal.
    if (IsOutlookRunning())
    {
        m_frontEnd.OutlookRunning();
        log.InfoF("Outlook jest uruchomiony, procedura usuwania nie może zostać rozpoczęta.");
        outcome.stage = Stage::OutlookRunning;
        return outcome;
    }
    if (!m_frontEnd.ReadInput(outcome.profileName, outcome.pstName))
        return outcome;
    log.InfoF(" ");
    log.InfoF("-- START --");
    log.InfoF("Pocedura usuwania dla profilu \"%s\" i magazynu PST \"%s\".", outcome.profileName.GetString(),
              outcome.pstName.GetString());

    CString profileKey = GetProfileKeyPath(outcome.profileName);
    if (profileCheck == ProfileCheck::BeforeBackup)
    {
        try
        {
            CRegKeyEx profile;
            CRegKeyEx accounts;
            GhostPstRemover::OpenProfileKeys(profileKey, profile, accounts);
        }
        catch (const Error::NvException& e)
        {
            log.Error(e.GetText());
            outcome.failure = CopyOf(e);
            outcome.stage = Stage::Stopped;
            return outcome;
        }
    }
    try
    {
        outcome.backupFile = CreateRegistryBackup("HKEY_CURRENT_USER\\" + profileKey, outcome.profileName);
    }
    catch (const Error::NvException& e)
    {
        log.ErrorF("Nie można utworzyć backupu dla profilu \"%s\".", outcome.profileName.GetString());
        outcome.backupError = e.GetText();
        if (!m_frontEnd.ContinueWithoutBackup(outcome.backupError))
        {
            outcome.stage = Stage::BackupDeclined;
            return outcome;
        }
    }
    RunEngine(outcome, false);
    return outcome;
}

void GhostPstSweep::RunEngine(Outcome& outcome, bool checkOnly)
{
    GhostPstRemover remover(outcome.profileName, outcome.pstName, checkOnly);
    try
    {
        outcome.result = remover.Run();
        outcome.stage = Stage::Finished;
    }
    catch (const Error::NvException& e)
    {
        CLogFile::Instance().Error(e.GetText());
        outcome.failure = CopyOf(e);
        outcome.stage = Stage::Stopped;
    }
    outcome.invalidSections = remover.GetInvalidSections();
    outcome.failedSections = remover.GetFailedSections();
}
