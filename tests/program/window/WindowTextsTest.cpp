#include "library/base/TextConversion.h"
#include "resources/resource.h"
#include "tests/support/DialogControls.h"
#include "tests/support/KeptFile.h"
#include "tests/support/ProfileTreeBuilder.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/ProgramTexts.h"
#include "tests/support/ScratchRegistry.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

// These tests run in the Windows-1252 code page (LANG=en_US.UTF-8), as an
// English Windows has it, which lacks most Polish letters and every Cyrillic
// one.
namespace
{
std::wstring WideText(HWND window)
{
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

std::string BuiltModule()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.rfind('\\')) + "\\..\\bin\\Main_ResPL.dll";
}

class PolishWindow : public ProgramRun
{
protected:
    KeptFile beside{LanguageModulePath()};
    ScratchRegistry registry;
    ProfileTreeBuilder profile{"Outlook"};
};

// The Polish language module on such a system: the templates' texts, the
// links and the boxes show every letter.
TEST_F(PolishWindow, ShowsEveryLetterWhateverTheCodePage)
{
    ASSERT_EQ(1252u, GetACP());
    ASSERT_TRUE(CopyFileA(BuiltModule().c_str(), beside.Path().c_str(), FALSE));
    std::vector<std::wstring> shown;
    driver.Then([&](HWND dialog) {
        for (int id : {IDC_CHECK, IDOK, IDC_BACKUP, IDCANCEL})
            shown.push_back(WideText(GetDlgItem(dialog, id)));
        shown.push_back(WideText(GetWindow(GetDlgItem(dialog, IDC_PST_NAME), GW_HWNDPREV)));
        shown.push_back(WideText(GetDlgItem(dialog, IDC_LINK_WEBSITE)));
        SelectComboEntry(dialog, IDC_PROFILES, "Outlook");
        Click(dialog, IDC_CHECK);
        Click(dialog, IDCANCEL);
    });

    RunProgram();

    EXPECT_EQ((std::vector<std::wstring>{L"&Sprawdź", L"Napraw!", L"&Kopie...", L"Zamknij",
                                         L"&Nazwa wyświetlana widmowego pliku PST:", L"Więcej informacji..."}),
              shown);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(L"Wpisz nazwę wyświetlaną widmowego pliku PST.", boxes.Boxes()[0].wideText);
}

// The entries of a combo box as it holds them.
std::vector<std::wstring> WideComboEntries(HWND dialog, int id)
{
    std::vector<std::wstring> entries;
    LRESULT count = SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0);
    for (WPARAM i = 0; i < static_cast<WPARAM>(count); ++i)
    {
        std::wstring text(static_cast<size_t>(SendDlgItemMessageW(dialog, id, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
        LRESULT length = SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(length > 0 ? static_cast<size_t>(length) : 0);
        entries.push_back(text);
    }
    return entries;
}

class UnicodeNames : public ProgramRun
{
protected:
    ScratchRegistry registry;
};

// A default profile named in Cyrillic and one with a letter beyond the Basic
// Multilingual Plane are listed as the registry names them; the ghost list
// offers the store "Архив" in its letters, and "&Check" of that name finds
// it, its box naming both.
TEST_F(UnicodeNames, ProfilesAndStoresShowEveryLetter)
{
    ASSERT_EQ(1252u, GetACP());
    const std::wstring mail = L"\u041f\u043e\u0447\u0442\u0430";
    const std::wstring symbol = L"Mail \U0001F4E7";
    const std::wstring archive = L"\u0410\u0440\u0445\u0438\u0432";
    const std::string root = ProfileTreeBuilder::MessagingSubsystemRoot;
    ProfileTreeBuilder profile(mail, root);
    profile.AddAccountsKey();
    profile.AddSection(std::string(32, 'a'), SectionValues().WideDisplayName(archive).WideProvider("mspst.dll"));
    ProfileTreeBuilder other(symbol, root);
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_CURRENT_USER, AnsiToWide(root.c_str()).c_str(), L"DefaultProfile",
                                             REG_SZ, mail.c_str(), static_cast<DWORD>((mail.size() + 1) * 2)));
    std::vector<std::wstring> profiles;
    std::wstring selection;
    std::vector<std::wstring> ghosts;
    driver
        .WaitUntil([](HWND dialog) { return SendDlgItemMessageW(dialog, IDC_PST_NAME, CB_GETCOUNT, 0, 0) > 0; },
                   "the ghost list")
        .Then([&](HWND dialog) {
            profiles = WideComboEntries(dialog, IDC_PROFILES);
            LRESULT selected = SendDlgItemMessageW(dialog, IDC_PROFILES, CB_GETCURSEL, 0, 0);
            if (selected != CB_ERR)
                selection = profiles.at(static_cast<size_t>(selected));
            ghosts = WideComboEntries(dialog, IDC_PST_NAME);
            SetDlgItemTextW(dialog, IDC_PST_NAME, archive.c_str());
            Click(dialog, IDC_CHECK);
            Click(dialog, IDCANCEL);
        });

    RunProgram();

    EXPECT_EQ((std::vector<std::wstring>{symbol, mail}), profiles);
    EXPECT_EQ(mail, selection);
    EXPECT_EQ(std::vector<std::wstring>{archive}, ghosts);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(Utf8ToWide(ProgramTexts::InvalidSectionsFound(WideToUtf8(archive), WideToUtf8(mail))),
              boxes.Boxes()[0].wideText);
}
} // namespace
