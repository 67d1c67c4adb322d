#include "library/framework/WindowHandles.h"
#include "library/ui/NvDialog.h"
#include "library/ui/NvHyperLink.h"
#include "tests/data/TestDialogIds.h"
#include "tests/library/framework/ScriptedDialog.h"
#include "tests/library/ui/ClientPixels.h"
#include "tests/support/MessageBoxCatcher.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/TempFolder.h"

#include <commctrl.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace
{
const COLORREF DefaultLinkColor = RGB(0, 0, 255);
const COLORREF DefaultVisitedColor = RGB(128, 0, 128);
const char* const ColorsKey = "Software\\Microsoft\\Internet Explorer\\Settings";

std::string TestFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.rfind('\\') + 1);
}

const char* const WebAddress = "http://www.norvale.com/";

// A copy of the tests' helper program in a folder of its own: opening it
// adds a line with its process id to "opened.txt" beside it. While the
// object lives, the shell opens web and mail addresses and those of the
// scheme "norvale:" with it.
class LinkTarget
{
public:
    LinkTarget()
    {
        if (!CopyFileA((TestFolder() + "link_target_helper.exe").c_str(), Path().c_str(), FALSE))
            ADD_FAILURE() << "cannot copy the link target";
        const std::string command = "\"" + Path() + "\" \"%1\"";
        for (const char* scheme : {"http", "https", "mailto", "norvale"})
        {
            HKEY key = nullptr;
            std::string path = std::string(scheme) + "\\shell\\open\\command";
            if (RegCreateKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                nullptr) != ERROR_SUCCESS)
            {
                ADD_FAILURE() << "cannot register " << scheme;
                continue;
            }
            RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                           static_cast<DWORD>(command.size() + 1));
            RegCloseKey(key);
        }
    }

    std::string Path() const { return m_folder / "target.exe"; }

    // Waits (20 seconds at most) until the target was opened `count` times
    // and those runs ended; returns the number of openings then.
    size_t WaitForOpenings(size_t count)
    {
        std::vector<DWORD> processes;
        for (int attempt = 0; attempt < 1000; ++attempt)
        {
            processes = Openings();
            if (processes.size() >= count)
                break;
            Sleep(20);
        }
        for (DWORD id : processes)
        {
            UniqueKernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, id));
            if (process)
                WaitForSingleObject(process.Get(), 10000);
        }
        return Openings().size();
    }

private:
    std::vector<DWORD> Openings() const
    {
        std::istringstream lines(ReadFileBytes(m_folder / "opened.txt"));
        std::vector<DWORD> ids;
        DWORD id = 0;
        while (lines >> id)
            ids.push_back(id);
        return ids;
    }

    ScratchRegistry m_classes{HKEY_CLASSES_ROOT};
    TempFolder m_folder;
};

// Takes a static over as the program's dialog does: tooltip text, subclass,
// InitLink, target.
void TakeOver(CWnd& dialog, NvHyperLink& link, int id, const std::string& tooltip, const std::string& target)
{
    link.SetTooltipText(std::wstring(tooltip.begin(), tooltip.end()));
    if (link.SubclassWindow(dialog.GetDlgItem(id)->m_hWnd))
        link.InitLink();
    if (!target.empty())
        link.SetLinkTarget(target.c_str());
}

class LinkDialog : public ScriptedDialog<NvDialog>
{
public:
    LinkDialog() : ScriptedDialog(IDD_TEST_DIALOG) {}

    NvHyperLink link;
    NvHyperLink picture;
    // Prepares the links once the dialog is initialised.
    std::function<void(LinkDialog&)> prepare;

    HWND Link() const { return link.m_hWnd; }

protected:
    BOOL OnInitDialog() override
    {
        BOOL result = ScriptedDialog::OnInitDialog();
        if (prepare)
            prepare(*this);
        return result;
    }

    BOOL PreTranslateMessage(MSG* message) override
    {
        if (message->message == WM_MOUSEMOVE || message->message == WM_LBUTTONDOWN || message->message == WM_LBUTTONUP)
        {
            if (link.GetToolTip().m_hWnd != nullptr)
                link.GetToolTip().RelayEvent(message);
        }
        return ScriptedDialog::PreTranslateMessage(message);
    }
};

bool CursorIsAt(POINT at)
{
    POINT now = {};
    return GetCursorPos(&now) && now.x == at.x && now.y == at.y;
}

// The link's answer to WM_SETCURSOR with the mouse pointer at `at` (screen
// coordinates). Under Wine the X server can still report an earlier pointer
// position after the move, and the cursor then jumps back for a moment; an
// answer counts only when the pointer was at `at` both before and after it.
LRESULT SetCursorAnswerAt(HWND link, POINT at)
{
    for (int attempt = 0; attempt < 50; ++attempt)
    {
        SetCursorPos(at.x, at.y);
        for (int i = 0; i < 200 && !CursorIsAt(at); ++i)
            Sleep(5);
        // Takes in the pointer events that are still on their way.
        MSG pending;
        PeekMessageA(&pending, nullptr, 0, 0, PM_NOREMOVE);
        if (!CursorIsAt(at))
            continue;
        LRESULT answer =
            SendMessageA(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        if (CursorIsAt(at))
            return answer;
        Sleep(20);
    }
    ADD_FAILURE() << "the mouse pointer did not stay at " << at.x << ", " << at.y;
    return -1;
}

POINT Center(const RECT& rect)
{
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

void PostMouse(HWND window, UINT message, POINT at)
{
    PostMessageA(window, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(at.x, at.y));
}

std::string ToolText(NvHyperLink& link)
{
    char text[256] = {};
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = GetParent(link.m_hWnd);
    info.uId = reinterpret_cast<UINT_PTR>(link.m_hWnd);
    info.lpszText = text;
    SendMessageA(link.GetToolTip().m_hWnd, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&info));
    return text;
}

void SetColorValue(const char* name, const char* text)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_CURRENT_USER, ColorsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), static_cast<DWORD>(lstrlenA(text) + 1));
    RegCloseKey(key);
}

struct ParseCase
{
    const char* text;
    COLORREF color;
};

class ColorText : public testing::TestWithParam<ParseCase>
{
};

TEST_P(ColorText, ParsesRedGreenBlue)
{
    std::string text = GetParam().text;
    EXPECT_EQ(GetParam().color, NvHyperLink::ParseColorText(&text[0])) << GetParam().text;
}

const COLORREF NoColor = static_cast<COLORREF>(-1);

INSTANTIATE_TEST_SUITE_P(Table, ColorText,
                         testing::Values(ParseCase{"0,0,255", 0xFF0000}, ParseCase{"128,0,128", 0x800080},
                                         ParseCase{"0,128,0", 0x008000}, ParseCase{"300,0,0", 0x00002C},
                                         ParseCase{"255,255,255", 0xFFFFFF}, ParseCase{"red,green,blue", 0},
                                         ParseCase{" 1, 2, 3", 0x030201}, ParseCase{"1,2,3,4", 0x030201},
                                         ParseCase{"0,0,-1", 0xFF0000}, ParseCase{"12,34", NoColor},
                                         ParseCase{"12,34,", NoColor}, ParseCase{"12", NoColor}, ParseCase{"", NoColor},
                                         ParseCase{",,", NoColor}, ParseCase{"-1,0,0", NoColor},
                                         ParseCase{"0,-1,0", NoColor}));

TEST(ColorTextSplit, CommasAreCutInPlace)
{
    char text[] = "1,2,3";
    NvHyperLink::ParseColorText(text);
    EXPECT_EQ(0, std::string(text, sizeof(text))
                     .compare(std::string("1\0"
                                          "2\0"
                                          "3\0",
                                          6)));
}

struct RegistryCase
{
    const char* name;
    const char* linkText;
    const char* visitedText;
    COLORREF link;
    COLORREF visited;
};

class LinkColors : public testing::TestWithParam<RegistryCase>
{
};

TEST_P(LinkColors, ComeFromInternetExplorersSettings)
{
    ScratchRegistry registry;
    if (GetParam().linkText != nullptr)
        SetColorValue("Anchor Color", GetParam().linkText);
    if (GetParam().visitedText != nullptr)
        SetColorValue("Anchor Color Visited", GetParam().visitedText);
    LinkDialog dialog;
    dialog.prepare = [](LinkDialog& d) { TakeOver(d, d.link, IDC_TEST_LINK, "", ""); };
    dialog.Then([&] { dialog.EndDialog(IDOK); });
    dialog.DoModal();
    EXPECT_EQ(GetParam().link, dialog.link.GetLinkColor());
    EXPECT_EQ(GetParam().visited, dialog.link.GetVisitedColor());
}

INSTANTIATE_TEST_SUITE_P(
    Table, LinkColors,
    testing::Values(
        RegistryCase{"NoSettings", nullptr, nullptr, DefaultLinkColor, DefaultVisitedColor},
        RegistryCase{"Green", "0,128,0", nullptr, 0x008000, DefaultVisitedColor},
        RegistryCase{"VisitedRed", nullptr, "255,0,0", DefaultLinkColor, 0x0000FF},
        RegistryCase{"ElevenCharacters", "255,255,255", "100,100,100", 0xFFFFFF, 0x646464},
        RegistryCase{"TwelveCharacters", "255,255,2550", "100,100,1000", DefaultLinkColor, DefaultVisitedColor},
        RegistryCase{"OneComma", "12,34", "12,34", DefaultLinkColor, DefaultVisitedColor},
        RegistryCase{"NothingAfterTheSecondComma", "12,34,", "1,2,", DefaultLinkColor, DefaultVisitedColor}),
    [](const testing::TestParamInfo<RegistryCase>& info) { return std::string(info.param.name); });

TEST(LinkColorsType, ValueThatIsNoTextIsNotRead)
{
    ScratchRegistry registry;
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_CURRENT_USER, ColorsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    DWORD number = 0x008000;
    RegSetValueExA(key, "Anchor Color", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
    RegCloseKey(key);
    LinkDialog dialog;
    dialog.prepare = [](LinkDialog& d) { TakeOver(d, d.link, IDC_TEST_LINK, "", ""); };
    dialog.Then([&] { dialog.EndDialog(IDOK); });
    dialog.DoModal();
    EXPECT_EQ(DefaultLinkColor, dialog.link.GetLinkColor());
}

TEST(LinkPainting, TextIsPaintedInTheLinkColourThenInTheVisitedColour)
{
    ScratchRegistry registry;
    SetColorValue("Anchor Color", "0,128,0");
    SetColorValue("Anchor Color Visited", "192,0,0");
    LinkTarget target;
    LinkDialog dialog;
    dialog.prepare = [&](LinkDialog& d) { TakeOver(d, d.link, IDC_TEST_LINK, "", WebAddress); };
    int linkPixels = 0;
    int visitedBeforeVisit = 0;
    int visitedPixels = 0;
    int linkAfterVisit = 0;
    dialog.Then([&] {
        ClientPixels pixels(dialog.Link());
        RECT all = {0, 0, pixels.Width(), pixels.Height()};
        linkPixels = pixels.Count(all, 0x008000);
        visitedBeforeVisit = pixels.Count(all, 0x0000C0);
        PostMessageA(dialog.Link(), WM_CHAR, VK_SPACE, 0);
    });
    dialog.Then([&] {
        ClientPixels pixels(dialog.Link());
        RECT all = {0, 0, pixels.Width(), pixels.Height()};
        visitedPixels = pixels.Count(all, 0x0000C0);
        linkAfterVisit = pixels.Count(all, 0x008000);
        dialog.EndDialog(IDOK);
    });
    dialog.DoModal();
    EXPECT_GT(linkPixels, 10);
    EXPECT_EQ(0, visitedBeforeVisit);
    EXPECT_GT(visitedPixels, 10);
    EXPECT_EQ(0, linkAfterVisit);
    EXPECT_EQ(1u, target.WaitForOpenings(1));
}

TEST(LinkPreparation, StaticTextBecomesCaptionTargetAndTooltip)
{
    LinkDialog dialog;
    dialog.prepare = [](LinkDialog& d) { TakeOver(d, d.link, IDC_TEST_LINK, "", ""); };
    std::string tool;
    DWORD style = 0;
    LOGFONTA linkFont = {};
    LOGFONTA dialogFont = {};
    dialog.Then([&] {
        tool = ToolText(dialog.link);
        style = dialog.link.GetStyle();
        GetObjectA(dialog.link.GetLinkFont(), sizeof(linkFont), &linkFont);
        GetObjectA(reinterpret_cast<HFONT>(dialog.SendMessage(WM_GETFONT)), sizeof(dialogFont), &dialogFont);
        dialog.EndDialog(IDOK);
    });
    dialog.DoModal();
    EXPECT_TRUE(dialog.link.IsTextLink());
    EXPECT_EQ("Read more...", tool);
    EXPECT_TRUE(style & SS_NOTIFY);
    EXPECT_TRUE(linkFont.lfUnderline);
    EXPECT_FALSE(dialogFont.lfUnderline);
    EXPECT_STREQ(dialogFont.lfFaceName, linkFont.lfFaceName);
    EXPECT_EQ(dialogFont.lfHeight, linkFont.lfHeight);
}

TEST(LinkPreparation, TooltipTextSetBeforehandIsTheTooltip)
{
    LinkDialog dialog;
    dialog.prepare = [](LinkDialog& d) {
        TakeOver(d, d.link, IDC_TEST_LINK, "Visit the program website...", "http://www.norvale.com/");
    };
    std::string tool;
    dialog.Then([&] {
        tool = ToolText(dialog.link);
        dialog.EndDialog(IDOK);
    });
    dialog.DoModal();
    EXPECT_EQ("Visit the program website...", tool);
}

TEST(LinkPreparation, TextRectangleIsTheTextWrappedInTheControl)
{
    LinkDialog dialog;
    dialog.prepare = [](LinkDialog& d) { TakeOver(d, d.link, IDC_TEST_LINK, "", ""); };
    RECT client = {};
    RECT shortText = {};
    RECT longText = {};
    dialog.Then([&] {
        dialog.link.GetClientRect(&client);
        shortText = dialog.link.GetTextRect();
        dialog.link.SetLinkText("a caption far longer than the control is wide");
        longText = dialog.link.GetTextRect();
        dialog.EndDialog(IDOK);
    });
    dialog.DoModal();
    EXPECT_EQ(0, shortText.left);
    EXPECT_EQ(0, shortText.top);
    EXPECT_GT(shortText.right, 20);
    EXPECT_LE(shortText.right, client.right);
    EXPECT_GT(shortText.bottom, 5);
    EXPECT_GE(longText.bottom, 2 * shortText.bottom);
    EXPECT_LE(longText.right, client.right);
}

TEST(LinkPreparation, LinkWithoutWindowOrTextHasNoTextRectangle)
{
    NvHyperLink link;
    EXPECT_FALSE(link.UpdateTextRect());
    link.SetLinkText("caption");
    link.SetLinkTarget("target");
    RECT empty = {};
    EXPECT_TRUE(EqualRect(&empty, &link.GetTextRect()));

    LinkDialog dialog;
    bool updated = true;
    dialog.prepare = [&](LinkDialog& d) {
        // The placeholder frame has no text.
        d.link.SubclassWindow(d.GetDlgItem(IDC_TEST_PLACEHOLDER)->m_hWnd);
        updated = d.link.UpdateTextRect();
    };
    dialog.Then([&] { dialog.EndDialog(IDOK); });
    dialog.DoModal();
    EXPECT_FALSE(updated);
}

TEST(PictureLink, IconStaticKeepsItsLookAndIsAllLink)
{
    ScratchRegistry registry;
    SetColorValue("Anchor Color", "0,128,0");
    LinkTarget target;
    LinkDialog dialog;
    int backgroundPixels = 0;
    int area = 0;
    RECT client = {};
    RECT textRect = {};
    dialog.prepare = [&](LinkDialog& d) {
        SendMessageA(d.GetDlgItem(IDC_TEST_ICON)->m_hWnd, STM_SETICON,
                     reinterpret_cast<WPARAM>(LoadIcon(nullptr, IDI_ERROR)), 0);
        d.picture.SetLinkTarget(WebAddress);
        TakeOver(d, d.picture, IDC_TEST_ICON, "", "");
    };
    dialog.Then([&] {
        dialog.picture.GetClientRect(&client);
        textRect = dialog.picture.GetTextRect();
        ClientPixels pixels(dialog.picture.m_hWnd);
        area = pixels.Width() * pixels.Height();
        backgroundPixels = pixels.Count(RECT{0, 0, pixels.Width(), pixels.Height()}, pixels.At(0, 0));
        POINT corner = {client.right - 1, client.bottom - 1};
        PostMouse(dialog.picture.m_hWnd, WM_LBUTTONDOWN, corner);
        PostMouse(dialog.picture.m_hWnd, WM_LBUTTONUP, corner);
    });
    dialog.Then([&] { dialog.EndDialog(IDOK); });
    dialog.DoModal();
    EXPECT_FALSE(dialog.picture.IsTextLink());
    EXPECT_EQ(nullptr, dialog.picture.GetLinkFont());
    EXPECT_EQ(DefaultLinkColor, dialog.picture.GetLinkColor());
    EXPECT_TRUE(EqualRect(&client, &textRect));
    // The static still shows its icon.
    EXPECT_LT(backgroundPixels, area - 50);
    EXPECT_TRUE(dialog.picture.IsVisited());
    EXPECT_EQ(1u, target.WaitForOpenings(1));
}

TEST(LinkMouse, ClickReleasedOutsideOpensNothingReleasedInsideOpens)
{
    LinkTarget target;
    LinkDialog dialog;
    dialog.prepare = [&](LinkDialog& d) { TakeOver(d, d.link, IDC_TEST_LINK, "", WebAddress); };
    bool visitedAfterOutside = true;
    HWND linkWindow = nullptr;
    HWND captureWhilePressed = nullptr;
    HWND focusWhilePressed = nullptr;
    dialog.Then([&] {
        linkWindow = dialog.Link();
        RECT text = dialog.link.GetTextRect();
        PostMouse(dialog.Link(), WM_LBUTTONDOWN, Center(text));
    });
    dialog.Then([&] {
        captureWhilePressed = GetCapture();
        focusWhilePressed = GetFocus();
        RECT text = dialog.link.GetTextRect();
        PostMouse(dialog.Link(), WM_LBUTTONUP, POINT{text.right + 40, text.bottom + 30});
    });
    dialog.Then([&] {
        visitedAfterOutside = dialog.link.IsVisited();
        RECT text = dialog.link.GetTextRect();
        PostMouse(dialog.Link(), WM_LBUTTONDOWN, Center(text));
        PostMouse(dialog.Link(), WM_LBUTTONUP, POINT{text.left, text.top});
    });
    dialog.Then([&] { dialog.EndDialog(IDOK); });
    dialog.DoModal();
    EXPECT_EQ(linkWindow, captureWhilePressed);
    EXPECT_EQ(linkWindow, focusWhilePressed);
    EXPECT_FALSE(visitedAfterOutside);
    EXPECT_TRUE(dialog.link.IsVisited());
    EXPECT_EQ(1u, target.WaitForOpenings(1));
}

TEST(LinkMouse, PressOutsideTheTextDoesNotArmTheLink)
{
    LinkTarget target;
    LinkDialog dialog;
    dialog.prepare = [&](LinkDialog& d) {
        TakeOver(d, d.link, IDC_TEST_LINK, "", WebAddress);
        d.link.SetLinkText("x");
    };
    HWND capture = reinterpret_cast<HWND>(1);
    dialog.Then([&] {
        RECT client;
        dialog.link.GetClientRect(&client);
        POINT outside = {client.right - 1, client.bottom - 1};
        PostMouse(dialog.Link(), WM_LBUTTONDOWN, outside);
        PostMouse(dialog.Link(), WM_LBUTTONUP, Center(dialog.link.GetTextRect()));
    });
    dialog.Then([&] {
        capture = GetCapture();
        dialog.EndDialog(IDOK);
    });
    dialog.DoModal();
    EXPECT_EQ(nullptr, capture);
    EXPECT_FALSE(dialog.link.IsVisited());
}

struct CharCase
{
    WPARAM character;
    bool opens;
};

class LinkKeyboard : public testing::TestWithParam<CharCase>
{
};

TEST_P(LinkKeyboard, EnterAndSpaceOpenTheTarget)
{
    LinkTarget target;
    LinkDialog dialog;
    dialog.prepare = [&](LinkDialog& d) { TakeOver(d, d.link, IDC_TEST_LINK, "", WebAddress); };
    dialog.Then([&] { PostMessageA(dialog.Link(), WM_CHAR, GetParam().character, 1); });
    dialog.Then([&] { dialog.EndDialog(IDOK); });
    dialog.DoModal();
    EXPECT_EQ(GetParam().opens, dialog.link.IsVisited());
    EXPECT_EQ(GetParam().opens ? 1u : 0u, target.WaitForOpenings(GetParam().opens ? 1 : 0));
}

INSTANTIATE_TEST_SUITE_P(Table, LinkKeyboard,
                         testing::Values(CharCase{13, true}, CharCase{32, true}, CharCase{'a', false},
                                         CharCase{9, false}, CharCase{10, false}));

TEST(LinkKeyboardFocus, DialogKeyboardHandsTheLinkItsCharacters)
{
    LinkDialog dialog;
    dialog.prepare = [](LinkDialog& d) { TakeOver(d, d.link, IDC_TEST_LINK, "", ""); };
    LRESULT code = 0;
    dialog.Then([&] {
        code = SendMessageA(dialog.Link(), WM_GETDLGCODE, 0, 0);
        dialog.EndDialog(IDOK);
    });
    dialog.DoModal();
    EXPECT_EQ(DLGC_WANTCHARS, code);
}

// No program is registered for web addresses.
TEST(LinkOpening, TargetThatCannotBeOpenedLeavesTheLinkUnvisitedSilently)
{
    ScratchRegistry classes(HKEY_CLASSES_ROOT);
    MessageBoxCatcher catcher;
    NvHyperLink link;
    EXPECT_FALSE(link.OpenLink());
    link.SetLinkTarget(WebAddress);
    EXPECT_FALSE(link.OpenLink());
    EXPECT_FALSE(link.IsVisited());
    EXPECT_TRUE(catcher.Boxes().empty());
}

struct OpeningCase
{
    const char* name;
    // The target; empty: the helper program, "file:": its file address.
    std::string target;
    bool opens;
};

class LinkScheme : public testing::TestWithParam<OpeningCase>
{
};

// A target that is no web or mail address is not handed to the shell, which
// would run it, whatever the association.
TEST_P(LinkScheme, OnlyWebAndMailAddressesAreOpened)
{
    LinkTarget target;
    std::string address = GetParam().target;
    if (address.empty())
        address = target.Path();
    else if (address == "file:")
        address = "file:///" + target.Path();
    NvHyperLink link;
    link.SetLinkTarget(address.c_str());

    EXPECT_EQ(GetParam().opens, link.OpenLink());

    EXPECT_EQ(GetParam().opens, link.IsVisited());
    EXPECT_EQ(GetParam().opens ? 1u : 0u, target.WaitForOpenings(GetParam().opens ? 1 : 0));
}

INSTANTIATE_TEST_SUITE_P(Table, LinkScheme,
                         testing::Values(OpeningCase{"Web", WebAddress, true},
                                         OpeningCase{"SecureWebInCapitals", "HTTPS://www.norvale.com/products/", true},
                                         OpeningCase{"Mail", "MailTo:office@norvale.com", true},
                                         OpeningCase{"Program", "", false},
                                         OpeningCase{"OtherScheme", "norvale:open", false},
                                         OpeningCase{"FileAddress", "file:", false}),
                         [](const testing::TestParamInfo<OpeningCase>& info) { return std::string(info.param.name); });

TEST(LinkCursor, CursorMessageIsAnsweredOnlyOverTheText)
{
    LinkTarget target;
    LinkDialog dialog;
    dialog.prepare = [&](LinkDialog& d) {
        TakeOver(d, d.link, IDC_TEST_LINK, "", WebAddress);
        d.link.SetLinkText("x");
    };
    LRESULT overText = FALSE;
    LRESULT besideText = TRUE;
    dialog.Then([&] {
        POINT at = Center(dialog.link.GetTextRect());
        ClientToScreen(dialog.Link(), &at);
        overText = SetCursorAnswerAt(dialog.Link(), at);
        RECT client;
        dialog.link.GetClientRect(&client);
        POINT beside = {client.right - 1, client.bottom - 1};
        ClientToScreen(dialog.Link(), &beside);
        besideText = SetCursorAnswerAt(dialog.Link(), beside);
        dialog.EndDialog(IDOK);
    });
    dialog.DoModal();
    EXPECT_EQ(TRUE, overText);
    EXPECT_EQ(FALSE, besideText);
}

TEST(LinkCursor, BuiltInHandPointsWithTheTipOfItsFinger)
{
    UniqueCursor cursor(NvHyperLink::CreateHandCursor());
    ASSERT_TRUE(cursor);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(cursor.Get(), &info));
    UniqueBitmap mask(info.hbmMask);
    UniqueBitmap color(info.hbmColor);
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(5u, info.xHotspot);
    EXPECT_EQ(0u, info.yHotspot);
    EXPECT_FALSE(color) << "monochrome";
    BITMAP bitmap = {};
    GetObjectA(mask.Get(), sizeof(bitmap), &bitmap);
    ASSERT_EQ(32, bitmap.bmWidth);
    ASSERT_EQ(64, bitmap.bmHeight);

    // The AND plane (rows 0-31) over the XOR plane (rows 32-63), 4 bytes a row.
    BYTE planes[64 * 4] = {};
    ASSERT_EQ(static_cast<LONG>(sizeof(planes)), GetBitmapBits(mask.Get(), sizeof(planes), planes));
    auto bit = [&](int x, int y) { return (planes[y * 4 + x / 8] >> (7 - x % 8)) & 1; };
    EXPECT_EQ(0, bit(5, 0)) << "the tip is drawn";
    EXPECT_EQ(1, bit(0, 0)) << "left of the finger is transparent";
    EXPECT_EQ(1, bit(5 + 1, 32 + 1)) << "the finger is white inside";
    EXPECT_EQ(0, bit(4, 32 + 1)) << "its outline black";
    int opaqueOutside = 0;
    for (int y = 0; y < 32; ++y)
    {
        for (int x = 0; x < 32; ++x)
        {
            if ((x >= 17 || y >= 22) && bit(x, y) == 0)
                ++opaqueOutside;
        }
    }
    EXPECT_EQ(0, opaqueOutside) << "the hand stays in the upper left 17 by 22 pixels";
}
} // namespace
