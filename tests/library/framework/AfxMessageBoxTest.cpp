#include "library/framework/AfxMessageBox.h"
#include "library/framework/CWinApp.h"
#include "tests/data/TestDialogIds.h"
#include "tests/library/framework/ScriptedDialog.h"
#include "tests/support/MessageBoxCatcher.h"
#include "tests/support/TestResourceIds.h"

#include <gtest/gtest.h>

namespace
{
struct IconCase
{
    UINT type;
    BoxIcon icon;
    std::vector<int> buttons;
};

class FrameworkBoxIcon : public testing::TestWithParam<IconCase>
{
};

TEST_P(FrameworkBoxIcon, IsAddedOnlyWhenTheTypeNamesNone)
{
    MessageBoxCatcher catcher;
    AfxMessageBox("text", GetParam().type);
    ASSERT_EQ(1u, catcher.Boxes().size());
    EXPECT_EQ(GetParam().icon, catcher.Boxes()[0].icon);
    EXPECT_EQ(GetParam().buttons, catcher.Boxes()[0].buttons);
}

INSTANTIATE_TEST_SUITE_P(Table, FrameworkBoxIcon,
                         testing::Values(IconCase{MB_OK, BoxIcon::Exclamation, {IDOK}},
                                         IconCase{MB_OKCANCEL, BoxIcon::Exclamation, {IDOK, IDCANCEL}},
                                         IconCase{MB_YESNO, BoxIcon::Question, {IDYES, IDNO}},
                                         IconCase{MB_YESNOCANCEL, BoxIcon::Question, {IDCANCEL, IDYES, IDNO}},
                                         IconCase{MB_RETRYCANCEL, BoxIcon::None, {IDCANCEL, IDRETRY}},
                                         IconCase{MB_OK | MB_ICONINFORMATION, BoxIcon::Information, {IDOK}},
                                         IconCase{MB_OK | MB_ICONERROR, BoxIcon::Error, {IDOK}},
                                         IconCase{MB_YESNO | MB_ICONEXCLAMATION, BoxIcon::Exclamation, {IDYES, IDNO}},
                                         IconCase{MB_OKCANCEL | MB_ICONQUESTION, BoxIcon::Question, {IDOK, IDCANCEL}}));

TEST(FrameworkBox, CaptionIsTheApplicationsNameAndOwnerTheMainWindow)
{
    CWinApp app("Norvale PST Straysweep");
    ScriptedDialog<CDialog> dialog(IDD_TEST_DIALOG);
    app.m_pMainWnd = &dialog;
    MessageBoxCatcher catcher({IDNO});
    int answer = 0;
    dialog.Then([&] {
        answer = AfxMessageBox("Go on?", MB_YESNO);
        dialog.EndDialog(IDOK);
    });
    HWND window = nullptr;
    catcher.OnBox([&](const CapturedBox&) { window = dialog.m_hWnd; });
    dialog.DoModal();
    ASSERT_EQ(1u, catcher.Boxes().size());
    EXPECT_EQ("Go on?", catcher.Boxes()[0].text);
    EXPECT_EQ("Norvale PST Straysweep", catcher.Boxes()[0].caption);
    EXPECT_EQ(window, catcher.Boxes()[0].owner);
    EXPECT_NE(nullptr, window);
    EXPECT_EQ(IDNO, answer);
}

TEST(FrameworkBox, WithoutMainWindowTheBoxHasNoOwner)
{
    CWinApp app("Norvale PST Straysweep");
    MessageBoxCatcher catcher;
    AfxMessageBox("text", MB_OK);
    ASSERT_EQ(1u, catcher.Boxes().size());
    EXPECT_EQ(nullptr, catcher.Boxes()[0].owner);
    EXPECT_EQ("Norvale PST Straysweep", catcher.Boxes()[0].caption);
}

TEST(FrameworkBox, StringIdIsLoadedFromTheResourceModule)
{
    CWinApp app("Norvale PST Straysweep");
    MessageBoxCatcher catcher;
    EXPECT_EQ(IDOK, AfxMessageBox(IDS_TEST_PLAIN, MB_ICONINFORMATION));
    ASSERT_EQ(1u, catcher.Boxes().size());
    EXPECT_EQ("Text from the string table.", catcher.Boxes()[0].text);
    EXPECT_EQ(BoxIcon::Information, catcher.Boxes()[0].icon);
}
} // namespace
