#include "library/framework/AfxResource.h"
#include "library/framework/UniqueHandle.h"
#include "resources/resource.h"
#include "tests/library/ui/ClientPixels.h"
#include "tests/support/DialogControls.h"
#include "tests/support/KeptFile.h"
#include "tests/support/ProfileTreeBuilder.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/ProgramTexts.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/TempFolder.h"

#include <psapi.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

// These tests run in the Windows-1250 code page (LANG=pl_PL.UTF-8): the
// Polish texts below are Windows-1250 bytes, as the controls give them.
namespace
{
std::string ExecutableFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.rfind('\\'));
}

// The language module as the build puts it beside the program.
std::string BuiltModule()
{
    return ExecutableFolder() + "\\..\\bin\\Main_ResPL.dll";
}

// Replaces the header picture of the module at `path` by one of a single
// colour, of the same size.
bool PaintHeaderPicture(const std::string& path, COLORREF color)
{
    const int width = 49;
    const int height = 35;
    const int stride = (width * 3 + 3) & ~3;
    std::string picture(sizeof(BITMAPINFOHEADER) + static_cast<size_t>(stride * height), '\0');
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(&picture[0]);
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = 24;
    header->biCompression = BI_RGB;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            size_t at = sizeof(BITMAPINFOHEADER) + static_cast<size_t>(y * stride + x * 3);
            picture[at] = static_cast<char>(GetBValue(color));
            picture[at + 1] = static_cast<char>(GetGValue(color));
            picture[at + 2] = static_cast<char>(GetRValue(color));
        }
    HANDLE update = BeginUpdateResourceA(path.c_str(), FALSE);
    if (update == nullptr)
        return false;
    BOOL replaced =
        UpdateResourceA(update, RT_BITMAP, MAKEINTRESOURCEA(IDB_HEADER), MAKELANGID(LANG_POLISH, SUBLANG_DEFAULT),
                        &picture[0], static_cast<DWORD>(picture.size()));
    return EndUpdateResourceA(update, !replaced) && replaced;
}

// True while the language module is mapped at `handle`. Its address is
// compared by the file mapped there, not by being in use: a 32-bit process
// soon gives the freed range to other allocations.
bool IsMapped(HINSTANCE handle)
{
    // A module mapped as data is known by its address with the low bits set.
    auto base = reinterpret_cast<void*>(reinterpret_cast<ULONG_PTR>(handle) & ~static_cast<ULONG_PTR>(3));
    char mapped[MAX_PATH] = {};
    if (GetMappedFileNameA(GetCurrentProcess(), base, mapped, MAX_PATH) == 0)
        return false;
    std::string name(mapped);
    name = name.substr(name.rfind('\\') + 1);
    return lstrcmpiA(name.c_str(), "Main_ResPL.dll") == 0;
}

// A file named "Main_ResPL.dll" beside the test executable, which the
// program takes for its own, for the test's duration.
class LanguageModule : public ProgramRun
{
protected:
    void PutBesideTheExecutable(const std::string& source)
    {
        ASSERT_TRUE(CopyFileA(source.c_str(), beside.Path().c_str(), FALSE)) << source;
    }

    // What a step reads of the texts the dialog shows.
    struct Shown
    {
        std::vector<std::string> buttons;
        std::string caption;
        std::string label;
        HINSTANCE resources = nullptr;
        bool mapped = false;
    };

    // Reads the dialog, presses "&Check" with the profile selected and no
    // PST name, closes.
    Shown RunAndPressCheck()
    {
        Shown shown;
        driver.Then([&](HWND dialog) {
            for (int id : {IDC_CHECK, IDOK, IDC_BACKUP, IDCANCEL})
                shown.buttons.push_back(ControlText(dialog, id));
            shown.caption = WindowText(dialog);
            shown.label = WindowText(GetWindow(GetDlgItem(dialog, IDC_PROFILES), GW_HWNDPREV));
            shown.resources = AfxGetResourceHandle();
            shown.mapped = IsMapped(shown.resources);
            SelectComboEntry(dialog, IDC_PROFILES, "Outlook");
            Click(dialog, IDC_CHECK);
            Click(dialog, IDCANCEL);
        });
        RunProgram();
        return shown;
    }

    KeptFile beside{LanguageModulePath()};
    ScratchRegistry registry;
    ProfileTreeBuilder profile{"Outlook"};
};

TEST_F(LanguageModule, GivesEveryTextAndTemplateAndIsGivenBackAtExit)
{
    PutBesideTheExecutable(BuiltModule());

    Shown shown = RunAndPressCheck();

    EXPECT_EQ((std::vector<std::string>{"&Sprawdź", "Napraw!", "&Kopie...", "Zamknij"}), shown.buttons);
    EXPECT_EQ("&Wybierz profil programu Outlook:", shown.label);
    EXPECT_EQ("Norvale PST Straysweep", shown.caption);
    EXPECT_EQ(
        (std::vector<CapturedBox>{ProgramBox("Wpisz nazwę wyświetlaną widmowego pliku PST.", BoxIcon::Exclamation)}),
        boxes.Boxes());
    EXPECT_NE(GetModuleHandleA(nullptr), shown.resources);
    EXPECT_TRUE(shown.mapped);
    EXPECT_FALSE(IsMapped(shown.resources));
    EXPECT_EQ(GetModuleHandleA(nullptr), AfxGetResourceHandle());
    EXPECT_EQ(RunLines({}), log.Lines());
}

TEST_F(LanguageModule, GivesTheAboutBox)
{
    PutBesideTheExecutable(BuiltModule());
    HWND about = nullptr;
    driver.Then([](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, 0x0010, 0); })
        .Then([&](HWND) {
            about = FindThreadWindow("O programie PSTStraysweep");
            if (about != nullptr)
                Click(about, IDOK);
        })
        .Then([](HWND dialog) { Click(dialog, IDCANCEL); });

    RunProgram();

    EXPECT_NE(nullptr, about);
}

TEST_F(LanguageModule, GivesTheHeaderPicture)
{
    PutBesideTheExecutable(BuiltModule());
    const COLORREF green = RGB(0, 255, 0);
    ASSERT_TRUE(PaintHeaderPicture(beside.Path(), green));
    int greenPixels = -1;
    driver.Then([&](HWND dialog) {
        ClientPixels pixels(dialog);
        greenPixels = pixels.Count({0, 0, pixels.Width(), pixels.Height()}, green);
        Click(dialog, IDCANCEL);
    });

    RunProgram();

    EXPECT_EQ(49 * 35, greenPixels);
}

// A file of that name that is no module at all.
TEST_F(LanguageModule, FileThatIsNoModuleLeavesTheBuiltInResourcesSilently)
{
    ASSERT_TRUE(WriteFileBytes(beside.Path(), "MZ but nothing more"));

    Shown shown = RunAndPressCheck();

    EXPECT_EQ((std::vector<std::string>{"&Check", "Repair!", "&Backup...", "Close"}), shown.buttons);
    EXPECT_EQ("&Select Outlook profile:", shown.label);
    EXPECT_EQ(GetModuleHandleA(nullptr), shown.resources);
    EXPECT_EQ((std::vector<CapturedBox>{ProgramBox(ProgramTexts::EnterPstName, BoxIcon::Exclamation)}), boxes.Boxes());
    EXPECT_EQ(RunLines({}), log.Lines());
}

// A module with code of its own and the Polish resources: the program takes
// the resources and never runs the code, which would mark the environment.
TEST_F(LanguageModule, IsMappedAsResourcesOnly)
{
    PutBesideTheExecutable(ExecutableFolder() + "\\code_carrying_module.dll");

    Shown shown = RunAndPressCheck();

    EXPECT_EQ("&Sprawdź", shown.buttons[0]);
    EXPECT_EQ(0u, GetEnvironmentVariableA("STRAYSWEEP_MODULE_CODE_RAN", nullptr, 0));
    UniqueModule loaded(LoadLibraryA(beside.Path().c_str()));
    EXPECT_NE(0u, GetEnvironmentVariableA("STRAYSWEEP_MODULE_CODE_RAN", nullptr, 0));
}
} // namespace
