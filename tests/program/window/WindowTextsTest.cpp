#include "resources/resource.h"
#include "tests/support/DialogControls.h"
#include "tests/support/KeptFile.h"
#include "tests/support/ProfileTreeBuilder.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/ScratchRegistry.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

// These tests run in the Windows-1252 code page (LANG=en_US.UTF-8), as an
// English Windows has it, which lacks most Polish letters.
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
} // namespace
