#include "library/fs/CFileVersionInfo.h"
#include "library/fs/FsFolders.h"
#include "resources/resource.h"
#include "library/framework/WindowHandles.h"
#include "library/ui/NvDialogTemplate.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

namespace
{
// A window's device context with one font selected, both given back on destruction.
class FontDC
{
public:
    FontDC(HWND window, HGDIOBJ font) : m_window(window), m_dc(GetDC(window)), m_old(SelectObject(m_dc, font)) {}
    ~FontDC()
    {
        SelectObject(m_dc, m_old);
        ReleaseDC(m_window, m_dc);
    }
    FontDC(const FontDC&) = delete;
    FontDC& operator=(const FontDC&) = delete;

    // The rectangle that `text` needs when drawn with `flags` into `width` pixels.
    RECT Measure(const std::wstring& text, UINT flags, int width) const
    {
        RECT rect = {0, 0, width, 0};
        DrawTextW(m_dc, text.c_str(), -1, &rect, flags | DT_CALCRECT);
        return rect;
    }

private:
    HWND m_window;
    HDC m_dc;
    HGDIOBJ m_old;
};

const int Dialogs[] = {IDD_ABOUTBOX, IDD_PSTSTRAYSWEEP_DIALOG};

// Template `id` of `module`, which must be there and read whole.
NvDialogTemplate ReadDialogTemplate(HMODULE module, int id)
{
    NvDialogTemplate result;
    EXPECT_EQ(NvDialogTemplate::ReadResult::Read, result.Read(module, id)) << "dialog " << id;
    return result;
}

// Tests run from tests-bin; the program and its language module are built into bin beside it.
NvFsPath LanguageModulePath()
{
    return Combine(GetParentFolder(GetModuleFilePath()), "..\\bin\\Main_ResPL.dll");
}

// The way the program maps the module: resources only, nothing of it runs.
UniqueModule LoadAsData(LPCSTR path)
{
    return UniqueModule(LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

std::wstring LoadText(HMODULE module, UINT id)
{
    const WCHAR* text = nullptr;
    int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, length) : std::wstring();
}

// The printf conversions of a text in order, "%%" included.
std::vector<std::wstring> Conversions(const std::wstring& text)
{
    std::vector<std::wstring> result;
    for (size_t at = text.find(L'%'); at != std::wstring::npos; at = text.find(L'%', at + 2))
        result.push_back(text.substr(at, 2));
    return result;
}

bool FitsWindows1250(const std::wstring& text)
{
    BOOL lossy = FALSE;
    int length = static_cast<int>(text.size());
    std::string bytes(text.size(), '\0');
    int written =
        WideCharToMultiByte(1250, WC_NO_BEST_FIT_CHARS, text.c_str(), length, &bytes[0], length, nullptr, &lossy);
    return written == length && !lossy;
}

INT_PTR CALLBACK MinimalDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

UniqueWindow CreateFromTemplate(HMODULE module, int id)
{
    return UniqueWindow(CreateDialogParamA(module, MAKEINTRESOURCEA(id), nullptr, MinimalDialogProc, 0));
}

struct Control
{
    HWND window;
    int id;
    std::wstring kind;
    LONG style;
    LONG exStyle;
};

std::vector<Control> Children(HWND dialog)
{
    std::vector<Control> result;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    {
        WCHAR kind[64] = {};
        GetClassNameW(child, kind, 64);
        result.push_back(
            {child, GetDlgCtrlID(child), kind, GetWindowLongW(child, GWL_STYLE), GetWindowLongW(child, GWL_EXSTYLE)});
    }
    return result;
}

SIZE ClientSize(HWND window)
{
    RECT rect;
    GetClientRect(window, &rect);
    return {rect.right, rect.bottom};
}

class LanguageModule : public testing::Test
{
protected:
    void SetUp() override
    {
        m_polish = LoadAsData(LanguageModulePath());
        ASSERT_TRUE(m_polish) << LanguageModulePath().GetString() << " error " << GetLastError();
    }

    static HMODULE English() { return GetModuleHandleA(nullptr); }
    HMODULE Polish() const { return m_polish.Get(); }
    std::vector<HMODULE> Both() const { return {English(), Polish()}; }

private:
    UniqueModule m_polish;
};

TEST_F(LanguageModule, EveryStringIsTranslatedWithTheSameConversions)
{
    for (UINT id = IDS_HOME_URL; id <= IDS_LAST_STRING; ++id)
    {
        SCOPED_TRACE(id);
        std::wstring english = LoadText(English(), id);
        std::wstring polish = LoadText(Polish(), id);
        ASSERT_FALSE(english.empty());
        ASSERT_FALSE(polish.empty());
        EXPECT_EQ(Conversions(english), Conversions(polish));
        if (id == IDS_HOME_URL || id == IDS_WEBSITE_URL)
            EXPECT_EQ(english, polish);
        else
            EXPECT_NE(english, polish);
    }
}

TEST_F(LanguageModule, PolishTextsAreWindows1250)
{
    for (UINT id = IDS_HOME_URL; id <= IDS_LAST_STRING; ++id)
        EXPECT_TRUE(FitsWindows1250(LoadText(Polish(), id))) << id;
    for (int dialog : Dialogs)
    {
        NvDialogTemplate polish = ReadDialogTemplate(Polish(), dialog);
        EXPECT_TRUE(FitsWindows1250(polish.caption)) << dialog;
        for (const NvDialogTemplate::Item& item : polish.items)
            EXPECT_TRUE(FitsWindows1250(item.text)) << dialog << " control " << item.id;
    }
}

TEST_F(LanguageModule, AccessKeysOfADialogDoNotRepeat)
{
    for (HMODULE module : Both())
        for (int dialog : Dialogs)
        {
            std::wstring keys;
            for (const NvDialogTemplate::Item& item : ReadDialogTemplate(module, dialog).items)
            {
                size_t at = item.text.find(L'&');
                if (at == std::wstring::npos || at + 1 == item.text.size() || (item.style & SS_NOPREFIX))
                    continue;
                WCHAR key = static_cast<WCHAR>(towlower(item.text[at + 1]));
                EXPECT_EQ(std::wstring::npos, keys.find(key)) << dialog << " control " << item.id;
                keys += key;
            }
        }
}

TEST_F(LanguageModule, PolishDialogsHaveTheEnglishControls)
{
    for (int dialog : Dialogs)
    {
        SCOPED_TRACE(dialog);
        UniqueWindow english = CreateFromTemplate(English(), dialog);
        UniqueWindow polish = CreateFromTemplate(Polish(), dialog);
        ASSERT_TRUE(english);
        ASSERT_TRUE(polish);
        EXPECT_EQ(GetWindowLongW(english.Get(), GWL_STYLE), GetWindowLongW(polish.Get(), GWL_STYLE));
        EXPECT_EQ(GetWindowLongW(english.Get(), GWL_EXSTYLE), GetWindowLongW(polish.Get(), GWL_EXSTYLE));
        EXPECT_EQ(ClientSize(english.Get()).cx, ClientSize(polish.Get()).cx);
        EXPECT_EQ(ClientSize(english.Get()).cy, ClientSize(polish.Get()).cy);

        std::vector<Control> englishControls = Children(english.Get());
        std::vector<Control> polishControls = Children(polish.Get());
        ASSERT_EQ(englishControls.size(), polishControls.size());
        for (size_t i = 0; i < englishControls.size(); ++i)
        {
            SCOPED_TRACE(i);
            EXPECT_EQ(englishControls[i].id, polishControls[i].id);
            EXPECT_EQ(0, lstrcmpiW(englishControls[i].kind.c_str(), polishControls[i].kind.c_str()));
            EXPECT_EQ(englishControls[i].style, polishControls[i].style);
            EXPECT_EQ(englishControls[i].exStyle, polishControls[i].exStyle);
        }
    }
}

TEST_F(LanguageModule, PolishTemplatesKeepTheEnglishFrameAndFont)
{
    for (int dialog : Dialogs)
    {
        SCOPED_TRACE(dialog);
        NvDialogTemplate english = ReadDialogTemplate(English(), dialog);
        NvDialogTemplate polish = ReadDialogTemplate(Polish(), dialog);
        EXPECT_EQ(english.style, polish.style);
        EXPECT_EQ(english.exStyle, polish.exStyle);
        EXPECT_EQ(english.cx, polish.cx);
        EXPECT_EQ(english.cy, polish.cy);
        EXPECT_EQ(english.fontName, polish.fontName);
        EXPECT_EQ(english.pointSize, polish.pointSize);
    }
}

TEST_F(LanguageModule, AboutBoxShowsTheProgramIconInBothLanguages)
{
    for (HMODULE module : Both())
    {
        UniqueWindow about = CreateFromTemplate(module, IDD_ABOUTBOX);
        ASSERT_TRUE(about);
        HWND icon = GetWindow(about.Get(), GW_CHILD);
        ASSERT_EQ(SS_ICON, GetWindowLongW(icon, GWL_STYLE) & SS_TYPEMASK);
        EXPECT_NE(0, SendMessageW(icon, STM_GETICON, 0, 0));
    }
}

TEST_F(LanguageModule, HeaderPictureIs49By35PixelsOf24BitsOnWhite)
{
    for (HMODULE module : Both())
    {
        UniqueBitmap bitmap(static_cast<HBITMAP>(
            LoadImageA(module, MAKEINTRESOURCEA(IDB_HEADER), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        ASSERT_TRUE(bitmap);
        DIBSECTION dib = {};
        ASSERT_EQ(static_cast<int>(sizeof(dib)), GetObjectA(bitmap.Get(), sizeof(dib), &dib));
        EXPECT_EQ(49, dib.dsBm.bmWidth);
        EXPECT_EQ(35, dib.dsBm.bmHeight);
        EXPECT_EQ(24, dib.dsBm.bmBitsPixel);
        // White is drawn as transparent: the picture must not touch the corners.
        const BYTE* bits = static_cast<const BYTE*>(dib.dsBm.bmBits);
        for (int row : {0, 34})
            for (int column : {0, 48})
            {
                const BYTE* pixel = bits + row * dib.dsBm.bmWidthBytes + column * 3;
                EXPECT_EQ(0xFFFFFF, pixel[0] | pixel[1] << 8 | pixel[2] << 16) << row << "," << column;
            }
    }
}

TEST_F(LanguageModule, LoadsAsAModuleWithTheProgramVersion)
{
    UniqueModule module(LoadLibraryA(LanguageModulePath()));
    ASSERT_TRUE(module);
    char text[64] = {};
    EXPECT_LT(0, LoadStringA(module.Get(), IDS_NO_PROFILES, text, sizeof(text)));

    CFileVersionInfo info;
    ASSERT_TRUE(info.Create(LanguageModulePath()));
    EXPECT_STREQ("1.0.0.0", FormatFileVersion(info).GetString());
}

TEST(LanguageModuleFile, AFileThatIsNotAModuleDoesNotLoad)
{
    TempFolder folder;
    std::string path = folder / "Main_ResPL.dll";
    ASSERT_TRUE(WriteFileBytes(path, "Not a module, only its name."));
    UniqueModule module = LoadAsData(path.c_str());
    EXPECT_FALSE(module);
}

struct ExpectedControl
{
    int id;
    const wchar_t* className;
    const wchar_t* text;
    short x, y, cx, cy;
    DWORD style;
};

const DWORD Shown = WS_CHILD | WS_VISIBLE;

void ExpectControls(const NvDialogTemplate& resource, const std::vector<ExpectedControl>& expected)
{
    ASSERT_EQ(expected.size(), resource.items.size());
    for (size_t i = 0; i < expected.size(); ++i)
    {
        SCOPED_TRACE(i);
        const NvDialogTemplate::Item& item = resource.items[i];
        EXPECT_EQ(expected[i].id, item.id);
        EXPECT_EQ(0, lstrcmpiW(expected[i].className, item.className.c_str())) << item.className.c_str();
        EXPECT_EQ(expected[i].text, item.text);
        EXPECT_EQ(expected[i].x, item.x);
        EXPECT_EQ(expected[i].y, item.y);
        EXPECT_EQ(expected[i].cx, item.cx);
        EXPECT_EQ(expected[i].cy, item.cy);
        EXPECT_EQ(expected[i].style, item.style);
        EXPECT_EQ(0u, item.exStyle);
    }
}

TEST(EnglishResources, MainDialogHasItsLayout)
{
    NvDialogTemplate main = ReadDialogTemplate(nullptr, IDD_PSTSTRAYSWEEP_DIALOG);
    EXPECT_EQ(
        static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS),
        main.style);
    EXPECT_EQ(static_cast<DWORD>(WS_EX_APPWINDOW), main.exStyle);
    EXPECT_EQ(235, main.cx);
    EXPECT_EQ(177, main.cy);
    EXPECT_EQ(L"PSTStraysweep", main.caption);
    EXPECT_EQ(L"MS Shell Dlg", main.fontName);
    EXPECT_EQ(8, main.pointSize);
    ExpectControls(main,
                   {
                       {IDC_STATIC, L"Static", L"&Select Outlook profile:", 7, 69, 72, 8, Shown | WS_GROUP | SS_LEFT},
                       {IDC_PROFILES, L"ComboBox", L"", 7, 80, 146, 103,
                        Shown | CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP},
                       {IDC_STATIC, L"Static", L"&Enter the display name of ghost PST file:", 8, 106, 131, 8,
                        Shown | WS_GROUP | SS_LEFT},
                       {IDC_PST_NAME, L"ComboBox", L"", 7, 117, 146, 80,
                        Shown | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP},
                       {IDC_CHECK, L"Button", L"&Check", 178, 80, 50, 15, Shown | BS_PUSHBUTTON | WS_TABSTOP},
                       {IDOK, L"Button", L"Repair!", 178, 100, 50, 15, Shown | BS_DEFPUSHBUTTON | WS_TABSTOP},
                       {IDC_BACKUP, L"Button", L"&Backup...", 178, 120, 50, 15, Shown | BS_PUSHBUTTON | WS_TABSTOP},
                       {IDCANCEL, L"Button", L"Close", 178, 140, 50, 15, Shown | BS_PUSHBUTTON | WS_TABSTOP},
                       {IDC_LINK_WEBSITE, L"Static", L"Read more...", 7, 147, 44, 8, Shown | WS_GROUP | SS_LEFT},
                       {IDC_LINK_HOME, L"Static", L"\u00A9 2007 Norvale", 7, 162, 60, 8, Shown | WS_GROUP | SS_LEFT},
                       {IDC_HEADER_PLACEHOLDER, L"Static", L"", 7, 7, 221, 54, WS_CHILD | SS_BLACKFRAME},
                   });
}

TEST(EnglishResources, AboutBoxHasItsLayout)
{
    NvDialogTemplate about = ReadDialogTemplate(nullptr, IDD_ABOUTBOX);
    EXPECT_EQ(static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS),
              about.style);
    EXPECT_EQ(235, about.cx);
    EXPECT_EQ(55, about.cy);
    EXPECT_EQ(L"About PSTStraysweep", about.caption);
    EXPECT_EQ(L"MS Shell Dlg", about.fontName);
    EXPECT_EQ(8, about.pointSize);
    ExpectControls(
        about,
        {
            {IDC_STATIC, L"Static", L"", 11, 17, 20, 20, Shown | SS_ICON},
            {IDC_STATIC, L"Static", L"PSTStraysweep Version 1.0", 40, 10, 119, 8,
             Shown | WS_GROUP | SS_LEFT | SS_NOPREFIX},
            {IDC_STATIC, L"Static", L"Copyright \u00A9 2007 Norvale", 40, 25, 119, 8, Shown | WS_GROUP | SS_LEFT},
            {IDOK, L"Button", L"OK", 178, 7, 50, 16, Shown | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON},
        });
    EXPECT_EQ(IDR_MAINFRAME, about.items[0].textOrdinal);
}

TEST(EnglishResources, ProgramIconHasSmallAndLargeImages)
{
    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_MAINFRAME), RT_GROUP_ICON);
    ASSERT_NE(nullptr, resource);
    const BYTE* directory = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, resource)));
    WORD count = *reinterpret_cast<const WORD*>(directory + 4);
    std::vector<int> sizes;
    for (WORD i = 0; i < count; ++i)
        sizes.push_back(directory[6 + 14 * i]); // each entry starts with its width
    EXPECT_NE(sizes.end(), std::find(sizes.begin(), sizes.end(), 16));
    EXPECT_NE(sizes.end(), std::find(sizes.begin(), sizes.end(), 32));
}

TEST(EnglishResources, ManifestNamesNoDependencySoCommonControlsAreClassic)
{
    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(1), RT_MANIFEST);
    ASSERT_NE(nullptr, resource);
    std::string manifest(static_cast<const char*>(LockResource(LoadResource(nullptr, resource))),
                         SizeofResource(nullptr, resource));
    EXPECT_NE(std::string::npos, manifest.find("<assembly"));
    EXPECT_EQ(std::string::npos, manifest.find("dependency"));

    UniqueModule controls(LoadLibraryA("comctl32.dll"));
    ASSERT_TRUE(controls);
    auto getVersion =
        reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void*>(GetProcAddress(controls.Get(), "DllGetVersion")));
    ASSERT_NE(nullptr, getVersion);
    DLLVERSIONINFO version = {};
    version.cbSize = sizeof(version);
    ASSERT_EQ(S_OK, getVersion(&version));
    EXPECT_EQ(5u, version.dwMajorVersion);
}

// How a static label or push button draws its text, and the part of its client
// area that the text may fill; false for controls that show no text.
bool TextLayout(HWND control, UINT& flags, RECT& area)
{
    WCHAR kind[16] = {};
    GetClassNameW(control, kind, 16);
    LONG style = GetWindowLongW(control, GWL_STYLE);
    GetClientRect(control, &area);
    if (lstrcmpiW(kind, L"Static") == 0)
    {
        LONG type = style & SS_TYPEMASK;
        if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP)
            return false;
        flags =
            DT_EXPANDTABS | (type == SS_LEFTNOWORDWRAP ? 0 : DT_WORDBREAK) | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
        return true;
    }
    if (lstrcmpiW(kind, L"Button") == 0)
    {
        LONG type = style & BS_TYPEMASK;
        if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON)
            return false;
        // Inside the 2-pixel edge and clear of the focus rectangle drawn within it.
        InflateRect(&area, -4, -4);
        flags = DT_SINGLELINE | DT_CENTER;
        return true;
    }
    return false;
}

// The texts are measured as the templates hold them: a dialog created through the
// "A" functions may hold them converted to the ANSI code page.
TEST_F(LanguageModule, NoLabelOrButtonTextIsClipped)
{
    for (HMODULE module : Both())
        for (int dialog : Dialogs)
        {
            NvDialogTemplate resource = ReadDialogTemplate(module, dialog);
            UniqueWindow window = CreateFromTemplate(module, dialog);
            ASSERT_TRUE(window);
            std::vector<Control> controls = Children(window.Get());
            ASSERT_EQ(resource.items.size(), controls.size());
            for (size_t i = 0; i < controls.size(); ++i)
            {
                const std::wstring& text = resource.items[i].text;
                UINT flags;
                RECT area;
                if (text.empty() || !TextLayout(controls[i].window, flags, area))
                    continue;
                HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(controls[i].window, WM_GETFONT, 0, 0));
                RECT needed = FontDC(controls[i].window, font).Measure(text, flags, area.right - area.left);
                EXPECT_LE(needed.right, area.right - area.left) << dialog << " control " << controls[i].id;
                EXPECT_LE(needed.bottom, area.bottom - area.top) << dialog << " control " << controls[i].id;
            }
        }
}

// The English header text is the product's fixed wording, and Wine's Tahoma needs
// more lines for it than the band shows; the translation is held to the band.
TEST_F(LanguageModule, PolishHeaderTextFitsItsBand)
{
    UniqueFont font(CreateFontW(13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    ASSERT_TRUE(font);
    UniqueWindow window = CreateFromTemplate(Polish(), IDD_PSTSTRAYSWEEP_DIALOG);
    ASSERT_TRUE(window);
    RECT placeholder;
    GetWindowRect(GetDlgItem(window.Get(), IDC_HEADER_PLACEHOLDER), &placeholder);
    // The band spans the client area as high as the placeholder; its text keeps 10 pixels
    // from every edge and leaves the 49-pixel picture and 20 more pixels on the right.
    int width = ClientSize(window.Get()).cx - 20 - (49 + 20);
    int height = placeholder.bottom - placeholder.top - 20;
    RECT needed = FontDC(window.Get(), font.Get())
                      .Measure(LoadText(Polish(), IDS_HEADER_TEXT), DT_WORDBREAK | DT_EDITCONTROL, width);
    EXPECT_LE(needed.right, width);
    EXPECT_LE(needed.bottom, height);
}
} // namespace
