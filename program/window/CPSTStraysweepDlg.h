#pragma once

#include "library/framework/CComboBox.h"
#include "library/ui/NvDialog.h"
#include "library/ui/NvDialogHeaderDrawer.h"
#include "library/ui/NvHyperLink.h"
#include "program/core/GhostPstSweep.h"
#include "program/core/SweepFrontEnd.h"
#include "program/window/GhostListReader.h"

#include <string>
#include <vector>

// The program's window: pick a profile, type the ghost store's display name,
// then "&Check" (analysis only), "Repair!" (back up, then remove) or
// "&Backup..." (where the backups are). Every action runs to its end inside
// its handler and reports through message boxes and the log; only the PST
// name's list of ghost stores is read on a thread of its own, so that the
// window never waits for it.
class CPSTStraysweepDlg : public NvDialog, private SweepFrontEnd
{
public:
    CPSTStraysweepDlg();

    // Remembers the PST name (Settings.ini), then destroys the window.
    BOOL DestroyWindow() override;
    // Relays the mouse to the links' tooltips before the dialog keyboard.
    BOOL PreTranslateMessage(MSG* message) override;

    // Lists the profiles of the profiles root, sorted, and selects the default
    // one. Reports its own failure in the error box; nothing leaves it.
    void FillProfileList();
    // Empties the PST name's list and starts reading the ghost stores of the
    // selected profile, which the list offers once they are read, each
    // display name once. A profile that cannot be read offers none, without a
    // message: the actions report it.
    void FillGhostList();

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    // "Repair!": refuses while Outlook runs, backs the profile key up, then
    // removes the invalid sections. Never ends the dialog.
    void OnOK() override;
    // "Close", Esc and the close box: keeps the edit's text for saving.
    void OnCancel() override;
    BOOL MessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    void OnBnClickedCheck();
    void OnBnClickedBackup();

private:
    // The selected profile, trimmed, and the typed PST name. False when
    // something is missing; the user was told and the action ends.
    bool ReadInput(std::wstring& profileName, std::wstring& pstName) override;
    // Box 112.
    void OutlookRunning() override;
    // Asks the user, showing the backup's failure.
    bool ContinueWithoutBackup(const std::wstring& error) override;
    // The selected profile's name, trimmed of white space at both ends; false
    // when none is selected.
    bool GetSelectedProfile(std::wstring& profileName);

    void SetUpLink(NvHyperLink& link, int controlId, UINT tooltipId, UINT targetId);
    // The list of reading `generation` arrived: offered if it is the last
    // reading's.
    void OnGhostListRead(WPARAM generation);
    // Makes the PST name's list hold `names`; the edit's text, caret and
    // selection stay as they are.
    void SetGhostList(const std::vector<std::wstring>& names);
    // The result box of a finished check or repair, or the error box of a
    // stopped one; nothing for an action that ended earlier.
    void ShowOutcome(const GhostPstSweep::Outcome& outcome, bool checkOnly);

    NvDialogHeaderDrawer m_header;
    NvHyperLink m_linkHome;
    NvHyperLink m_linkWebsite;
    CComboBox m_comboProfiles;
    CComboBox m_comboPstName;
    std::wstring m_strPstName;
    GhostListReader m_ghostList;
};
