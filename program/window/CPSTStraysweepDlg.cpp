#include "program/window/CPSTStraysweepDlg.h"

#include "library/error/NvException.h"
#include "library/framework/AfxMessageBox.h"
#include "library/base/AfxResource.h"
#include "library/framework/CPaintDC.h"
#include "library/base/TextConversion.h"
#include "program/window/CAboutDlg.h"
#include "program/core/CLogFile.h"
#include "program/core/ProfilesRoot.h"
#include "program/core/RegistryBackup.h"
#include "program/window/Settings.h"
#include "resources/resource.h"
#include "program/core/ProductFolder.h"

#include <shellapi.h>

#include <string>
#include <vector>

namespace
{
const UINT ErrorBoxType = MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST;
// The links keep the colour of an unvisited link once visited.
const COLORREF LinkVisitedColor = RGB(0, 0, 255);
const UINT AboutCommand = 0x0010;
// Posted by the ghost list's reader, with the reading's generation.
const UINT GhostListReadMessage = WM_APP + 1;
// Starts the first reading of the ghost list.
const UINT_PTR GhostListTimer = 1;

// Box `id` with each "%s" filled by the next of `texts`.
int ShowFormattedBox(UINT id, const std::vector<std::wstring>& texts, UINT type)
{
    return AfxMessageBox(AfxFormatWide(AfxLoadWideString(id), texts), type);
}
} // namespace

CPSTStraysweepDlg::CPSTStraysweepDlg() : NvDialog(IDD_PSTSTRAYSWEEP_DIALOG), m_ghostList(GhostListReadMessage)
{
}

void CPSTStraysweepDlg::DoDataExchange(CDataExchange* dx)
{
    NvDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_PROFILES, m_comboProfiles);
    DDX_Control(dx, IDC_PST_NAME, m_comboPstName);
    DDX_Text(dx, IDC_PST_NAME, m_strPstName);
}

BOOL CPSTStraysweepDlg::OnInitDialog()
{
    NvDialog::OnInitDialog();
    SetWindowText(ProductName);
    // The window's own icon in its caption and task bar button.
    HICON icon = LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));

    RECT placeholder = {};
    GetDlgItem(IDC_HEADER_PLACEHOLDER)->GetWindowRect(&placeholder);
    UniqueBitmap picture(LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDB_HEADER)));
    m_header.Init(this, placeholder.bottom - placeholder.top, AfxLoadWideString(IDS_HEADER_TEXT), picture.Get(),
                  RGB(255, 255, 255));

    SetUpLink(m_linkHome, IDC_LINK_HOME, IDS_HOME_URL, IDS_HOME_URL);
    SetUpLink(m_linkWebsite, IDC_LINK_WEBSITE, IDS_WEBSITE_TOOLTIP, IDS_WEBSITE_URL);

    m_strPstName = GetPstNameSetting();
    FillProfileList();
    if (m_comboProfiles.GetCount() < 1)
    {
        AfxMessageBox(IDS_NO_PROFILES, MB_OK | MB_ICONERROR);
        for (int id : {IDOK, IDC_CHECK, IDC_PST_NAME})
            GetDlgItem(id)->EnableWindow(FALSE);
    }
    // A timer's message comes only after the window's first paint: the
    // first reading never competes with the window's coming up.
    ::SetTimer(m_hWnd, GhostListTimer, USER_TIMER_MINIMUM, nullptr);
    UpdateData(FALSE);
    return TRUE;
}

// The tooltip text goes in before the subclassing: InitLink reads it.
void CPSTStraysweepDlg::SetUpLink(NvHyperLink& link, int controlId, UINT tooltipId, UINT targetId)
{
    link.SetTooltipText(AfxLoadWideString(tooltipId));
    if (link.SubclassWindow(::GetDlgItem(m_hWnd, controlId)))
        link.InitLink();
    link.SetLinkTarget(AfxLoadWideString(targetId));
    link.SetVisitedColor(LinkVisitedColor);
}

void CPSTStraysweepDlg::FillProfileList()
{
    std::vector<std::wstring> profiles;
    try
    {
        profiles = ListProfiles();
    }
    catch (const Error::NvException& e)
    {
        e.ShowMessage(ErrorBoxType);
        return;
    }
    // The list sorts its entries itself, whatever the registry's order.
    for (const std::wstring& profile : profiles)
        m_comboProfiles.AddString(profile);
    m_comboProfiles.SelectString(-1, ReadDefaultProfile());
}

void CPSTStraysweepDlg::FillGhostList()
{
    m_ghostList.Stop();
    SetGhostList({});
    std::wstring profileName;
    if (GetSelectedProfile(profileName))
        m_ghostList.Start(m_hWnd, profileName);
}

void CPSTStraysweepDlg::OnGhostListRead(WPARAM generation)
{
    std::vector<std::wstring> names;
    if (m_ghostList.Take(generation, names))
        SetGhostList(names);
}

// Emptying a combo box's list empties its edit field too, and the user may be
// typing when the list arrives.
void CPSTStraysweepDlg::SetGhostList(const std::vector<std::wstring>& names)
{
    std::wstring typed = m_comboPstName.GetWindowTextWide();
    DWORD start = 0;
    DWORD end = 0;
    m_comboPstName.GetEditSel(start, end);
    m_comboPstName.ResetContent();
    for (const std::wstring& name : names)
        m_comboPstName.AddString(name);
    if (m_comboPstName.GetWindowTextWide() != typed)
        m_comboPstName.SetWindowText(typed);
    m_comboPstName.SetEditSel(static_cast<int>(start), static_cast<int>(end));
}

bool CPSTStraysweepDlg::GetSelectedProfile(std::wstring& profileName)
{
    int selected = m_comboProfiles.GetCurSel();
    if (selected == CB_ERR)
        return false;
    std::wstring entry;
    m_comboProfiles.GetLBText(selected, entry);
    // An entry " Outlook\t" stands for the profile "Outlook".
    profileName = Trimmed(entry);
    return true;
}

bool CPSTStraysweepDlg::ReadInput(std::wstring& profileName, std::wstring& pstName)
{
    if (!GetSelectedProfile(profileName))
    {
        AfxMessageBox(IDS_NO_PROFILE_SELECTED, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (m_strPstName.empty())
    {
        AfxMessageBox(IDS_ENTER_PST_NAME, MB_OK | MB_ICONEXCLAMATION);
        GetDlgItem(IDC_PST_NAME)->SetFocus();
        return false;
    }
    pstName = m_strPstName;
    return true;
}

void CPSTStraysweepDlg::OutlookRunning()
{
    AfxMessageBox(IDS_CLOSE_OUTLOOK, MB_OK | MB_ICONEXCLAMATION);
}

bool CPSTStraysweepDlg::ContinueWithoutBackup(const std::wstring& error)
{
    std::wstring question = AfxLoadWideString(IDS_BACKUP_FAILED_CONTINUE) + L"\n\n" + error;
    return AfxMessageBox(question, MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

void CPSTStraysweepDlg::OnBnClickedCheck()
{
    UpdateData(TRUE);
    ShowOutcome(GhostPstSweep(*this).Check(), true);
}

void CPSTStraysweepDlg::OnOK()
{
    UpdateData(TRUE);
    ShowOutcome(GhostPstSweep(*this).Repair(), false);
}

void CPSTStraysweepDlg::ShowOutcome(const GhostPstSweep::Outcome& outcome, bool checkOnly)
{
    if (outcome.failure)
        outcome.failure->ShowMessage(ErrorBoxType);
    if (outcome.stage != GhostPstSweep::Stage::Finished)
        return;
    const std::wstring& pst = outcome.pstName;
    const std::wstring& profile = outcome.profileName;
    // The window tells what was found; what could not be read is in the log.
    CoreOutcome::What found = outcome.found;
    if (found == CoreOutcome::What::Clean)
        ShowFormattedBox(IDS_NO_INVALID_SECTIONS, {pst, profile}, MB_OK | MB_ICONINFORMATION);
    else if (checkOnly)
        ShowFormattedBox(IDS_INVALID_SECTIONS_FOUND, {pst, profile}, MB_OK | MB_ICONINFORMATION);
    else if (found == CoreOutcome::What::InvalidSections)
        ShowFormattedBox(IDS_GHOST_REMOVED, {pst, profile}, MB_OK | MB_ICONINFORMATION);
    else
        ShowFormattedBox(IDS_REMOVAL_FAILED, {pst, profile, AnsiToWide(CLogFile::Instance().GetFilePath())},
                         MB_OK | MB_ICONEXCLAMATION);
}

void CPSTStraysweepDlg::OnBnClickedBackup()
{
    AfxMessageBox(IDS_BACKUP_INFO, MB_OK | MB_ICONINFORMATION);
    NvFsPath folder = GetRegistryBackupFolder();
    HINSTANCE opened = ShellExecuteA(m_hWnd, "open", folder, "", "", SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(opened) <= 32)
        ShowFormattedBox(IDS_BACKUP_FOLDER_INFO, {AnsiToWide(GetRegistryBackupFolder())}, MB_OK | MB_ICONINFORMATION);
}

void CPSTStraysweepDlg::OnCancel()
{
    UpdateData(TRUE);
    NvDialog::OnCancel();
}

BOOL CPSTStraysweepDlg::DestroyWindow()
{
    m_ghostList.Stop();
    GetPstNameSetting() = m_strPstName;
    SavePstNameSetting(m_strPstName);
    return NvDialog::DestroyWindow();
}

BOOL CPSTStraysweepDlg::PreTranslateMessage(MSG* message)
{
    if (message->message == WM_MOUSEMOVE || message->message == WM_LBUTTONDOWN || message->message == WM_LBUTTONUP)
    {
        m_linkHome.GetToolTip().RelayEvent(message);
        m_linkWebsite.GetToolTip().RelayEvent(message);
    }
    return NvDialog::PreTranslateMessage(message);
}

void CPSTStraysweepDlg::OnPaint()
{
    CPaintDC dc(this);
    m_header.Draw(&dc);
}

void CPSTStraysweepDlg::OnSysCommand(UINT id, LPARAM lParam)
{
    if ((id & 0xFFF0) == AboutCommand)
    {
        CAboutDlg about;
        about.DoModal();
    }
    else
    {
        NvDialog::OnSysCommand(id, lParam);
    }
}

BOOL CPSTStraysweepDlg::MessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (message)
    {
    case WM_SYSCOMMAND:
        OnSysCommand(static_cast<UINT>(wParam), lParam);
        *result = 0;
        return TRUE;
    case WM_PAINT:
        OnPaint();
        *result = 0;
        return TRUE;
    case GhostListReadMessage:
        OnGhostListRead(wParam);
        *result = 0;
        return TRUE;
    case WM_TIMER:
        if (wParam != GhostListTimer)
            break;
        ::KillTimer(m_hWnd, GhostListTimer);
        FillGhostList();
        *result = 0;
        return TRUE;
    case WM_COMMAND:
        if (HIWORD(wParam) == CBN_SELCHANGE && LOWORD(wParam) == IDC_PROFILES)
        {
            FillGhostList();
            *result = 0;
            return TRUE;
        }
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_CHECK)
        {
            OnBnClickedCheck();
            *result = 0;
            return TRUE;
        }
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_BACKUP)
        {
            OnBnClickedBackup();
            *result = 0;
            return TRUE;
        }
        break;
    }
    return NvDialog::MessageMap(message, wParam, lParam, result);
}
