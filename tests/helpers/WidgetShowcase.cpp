// Shows the tests' dialog with a header band and two links for ten seconds
// (or until it is closed), for a look at the widgets or a screenshot.
#include "library/framework/CComboBox.h"
#include "library/framework/CPaintDC.h"
#include "library/framework/CWinApp.h"
#include "library/ui/NvDialog.h"
#include "library/ui/NvDialogHeaderDrawer.h"
#include "library/ui/NvHyperLink.h"
#include "tests/data/TestDialogIds.h"
#include "tests/library/ui/TestPicture.h"

#include <commctrl.h>

namespace
{
const UINT_PTR CloseTimer = 1;

class ShowcaseDialog : public NvDialog
{
public:
    ShowcaseDialog() : NvDialog(IDD_TEST_DIALOG) {}

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Control(dx, IDC_TEST_COMBO, m_combo);
        DDX_Text(dx, IDC_TEST_EDIT, m_name);
    }

    BOOL OnInitDialog() override
    {
        NvDialog::OnInitDialog();
        SetWindowText("Norvale PST Straysweep");
        RECT placeholder;
        GetDlgItem(IDC_TEST_PLACEHOLDER)->GetWindowRect(&placeholder);
        UniqueBitmap picture = MakeTestPicture();
        m_header.Init(this, placeholder.bottom - placeholder.top,
                      "This tool will remove a ghost (duplicated) PST file from an Outlook profile. Select the "
                      "profile containing a ghost file and enter the file display name.",
                      picture.Get(), RGB(255, 255, 255));

        m_website.SetTooltipText("Visit the program website...");
        if (m_website.SubclassWindow(GetDlgItem(IDC_TEST_LINK)->m_hWnd))
            m_website.InitLink();
        m_website.SetLinkTarget("http://www.norvale.com/straysweep/");
        m_home.SetTooltipText("http://www.norvale.com/");
        if (m_home.SubclassWindow(GetDlgItem(IDC_TEST_CREDIT)->m_hWnd))
            m_home.InitLink();
        m_home.SetLinkTarget("http://www.norvale.com/");

        m_combo.AddString("Outlook");
        m_combo.AddString("Archive");
        m_combo.SelectString(-1, "Outlook");
        m_name = "Personal Folders";
        UpdateData(FALSE);
        SetTimer(m_hWnd, CloseTimer, 10000, nullptr);
        return TRUE;
    }

    BOOL PreTranslateMessage(MSG* message) override
    {
        if (message->message == WM_MOUSEMOVE || message->message == WM_LBUTTONDOWN || message->message == WM_LBUTTONUP)
        {
            m_website.GetToolTip().RelayEvent(message);
            m_home.GetToolTip().RelayEvent(message);
        }
        return NvDialog::PreTranslateMessage(message);
    }

    BOOL MessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        if (message == WM_PAINT && !IsIconic())
        {
            CPaintDC dc(this);
            m_header.Draw(&dc);
            *result = 0;
            return TRUE;
        }
        if (message == WM_TIMER && wParam == CloseTimer)
        {
            EndDialog(IDCANCEL);
            *result = 0;
            return TRUE;
        }
        return NvDialog::MessageMap(message, wParam, lParam, result);
    }

private:
    NvDialogHeaderDrawer m_header;
    NvHyperLink m_website;
    NvHyperLink m_home;
    CComboBox m_combo;
    CString m_name;
};

class ShowcaseApp : public CWinApp
{
public:
    BOOL InitInstance() override
    {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        CWinApp::InitInstance();
        ShowcaseDialog dialog;
        m_pMainWnd = &dialog;
        dialog.DoModal();
        return FALSE;
    }
};

ShowcaseApp theApp;
} // namespace
