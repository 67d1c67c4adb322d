#include "library/base/AfxResource.h"
#include "library/base/UniqueHandle.h"
#include "library/ui/NvDialogTemplate.h"
#include "program/window/LanguageResources.h"
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

#include <functional>
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

const WORD Polish = MAKELANGID(LANG_POLISH, SUBLANG_DEFAULT);

// Puts `bytes` in place of the Polish resource `type`/`id` of the module at
// `path`.
bool ReplaceResource(const std::string& path, LPCSTR type, WORD id, const void* bytes, size_t size)
{
    HANDLE update = BeginUpdateResourceA(path.c_str(), FALSE);
    if (update == nullptr)
        return false;
    BOOL replaced =
        UpdateResourceA(update, type, MAKEINTRESOURCEA(id), Polish, const_cast<void*>(bytes), static_cast<DWORD>(size));
    return EndUpdateResourceA(update, !replaced) && replaced;
}

// Changes string `id` of the module at `path` with `edit`; a string left
// empty is removed.
bool EditString(const std::string& path, UINT id, const std::function<void(std::wstring&)>& edit)
{
    const WORD block = static_cast<WORD>(id / 16 + 1);
    std::vector<std::wstring> texts(16);
    {
        UniqueModule module(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        HRSRC found = FindResourceExA(module.Get(), RT_STRING, MAKEINTRESOURCEA(block), Polish);
        if (found == nullptr)
            return false;
        // Sixteen strings, each its length in characters and then its text.
        auto at = static_cast<const WCHAR*>(LockResource(LoadResource(module.Get(), found)));
        for (std::wstring& text : texts)
        {
            text.assign(at + 1, *at);
            at += 1 + *at;
        }
    }
    edit(texts[id % 16]);
    std::wstring resource;
    for (const std::wstring& text : texts)
        resource += static_cast<WCHAR>(text.size()) + text;
    return ReplaceResource(path, RT_STRING, block, resource.data(), resource.size() * sizeof(WCHAR));
}

// `from` in the classic form (DLGTEMPLATE) without the control `leftOut`;
// control classes are given by name.
std::string ClassicTemplate(const NvDialogTemplate& from, int leftOut)
{
    std::string bytes;
    auto word = [&](WORD value) { bytes.append(reinterpret_cast<const char*>(&value), sizeof(value)); };
    auto dword = [&](DWORD value) { bytes.append(reinterpret_cast<const char*>(&value), sizeof(value)); };
    auto text = [&](const std::wstring& value) {
        bytes.append(reinterpret_cast<const char*>(value.c_str()), (value.size() + 1) * sizeof(WCHAR));
    };
    std::vector<NvDialogTemplate::Item> items;
    for (const NvDialogTemplate::Item& item : from.items)
        if (item.id != leftOut)
            items.push_back(item);
    dword(from.style);
    dword(from.exStyle);
    word(static_cast<WORD>(items.size()));
    for (short value : {short(0), short(0), from.cx, from.cy})
        word(static_cast<WORD>(value));
    word(0); // menu
    word(0); // window class
    text(from.caption);
    word(from.pointSize);
    text(from.fontName);
    for (const NvDialogTemplate::Item& item : items)
    {
        bytes.resize((bytes.size() + 3) & ~size_t(3), '\0');
        dword(item.style);
        dword(item.exStyle);
        for (short value : {item.x, item.y, item.cx, item.cy})
            word(static_cast<WORD>(value));
        word(static_cast<WORD>(item.id));
        text(item.className);
        text(item.text);
        word(0); // creation data
    }
    return bytes;
}

// Replaces dialog 102 of the module at `path` by the executable's own, in
// the classic form, without the control `leftOut`.
bool PlantClassicMainDialog(const std::string& path, int leftOut)
{
    NvDialogTemplate english;
    if (english.Read(nullptr, IDD_PSTSTRAYSWEEP_DIALOG) != NvDialogTemplate::ReadResult::Read)
        return false;
    std::string classic = ClassicTemplate(english, leftOut);
    return ReplaceResource(path, RT_DIALOG, IDD_PSTSTRAYSWEEP_DIALOG, classic.data(), classic.size());
}

// Cuts dialog 102 of the module at `path` short, in its first control.
bool CutMainDialog(const std::string& path)
{
    std::string cut;
    {
        UniqueModule module(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        HRSRC found = FindResourceExA(module.Get(), RT_DIALOG, MAKEINTRESOURCEA(IDD_PSTSTRAYSWEEP_DIALOG), Polish);
        if (found == nullptr)
            return false;
        cut.assign(static_cast<const char*>(LockResource(LoadResource(module.Get(), found))), 120);
    }
    return ReplaceResource(path, RT_DIALOG, IDD_PSTSTRAYSWEEP_DIALOG, cut.data(), cut.size());
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
    return ReplaceResource(path, RT_BITMAP, IDB_HEADER, picture.data(), picture.size());
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

// A module that lacks a string or a dialog control, or whose string takes
// other arguments than the English one, is not used at all: the program runs
// in English and says why in one line after its start lines. Changes that
// keep every string's arguments and every control leave it in use.
struct PlantedModule
{
    const char* name;
    std::function<bool(const std::string& path)> plant;
    // What the log line says after the module's path; null: the module is used.
    const char* refusal;
};

class ChangedLanguageModule : public LanguageModule, public testing::WithParamInterface<PlantedModule>
{
};

TEST_P(ChangedLanguageModule, IsUsedOnlyWithEveryStringAndControl)
{
    PutBesideTheExecutable(BuiltModule());
    ASSERT_TRUE(GetParam().plant(beside.Path()));

    Shown shown = RunAndPressCheck();

    if (GetParam().refusal == nullptr)
    {
        EXPECT_TRUE(shown.mapped);
        EXPECT_EQ((std::vector<CapturedBox>{
                      ProgramBox("Wpisz nazwę wyświetlaną widmowego pliku PST.", BoxIcon::Exclamation)}),
                  boxes.Boxes());
        EXPECT_EQ(RunLines({}), log.Lines());
        return;
    }
    EXPECT_EQ((std::vector<std::string>{"&Check", "Repair!", "&Backup...", "Close"}), shown.buttons);
    EXPECT_EQ("&Select Outlook profile:", shown.label);
    EXPECT_EQ(GetModuleHandleA(nullptr), shown.resources);
    EXPECT_FALSE(GetLanguageResources().Module);
    EXPECT_EQ((std::vector<CapturedBox>{ProgramBox(ProgramTexts::EnterPstName, BoxIcon::Exclamation)}), boxes.Boxes());
    EXPECT_EQ(RunLines({{"Error: Moduł językowy \"" + beside.Path() + "\" nie został użyty: " + GetParam().refusal}}),
              log.Lines());
}

INSTANTIATE_TEST_SUITE_P(
    Table, ChangedLanguageModule,
    testing::Values(
        PlantedModule{"ExtraConversion",
                      [](const std::string& path) {
                          return EditString(path, IDS_BACKUP_FOLDER_INFO, [](std::wstring& text) { text += L" %s"; });
                      },
                      "symbole zastępcze w tekście 120 różnią się od angielskich."},
        PlantedModule{"OtherKindOfConversion",
                      [](const std::string& path) {
                          return EditString(path, IDS_OPEN_KEY_FAILED,
                                            [](std::wstring& text) { text.replace(text.find(L"%s"), 2, L"%d"); });
                      },
                      "symbole zastępcze w tekście 104 różnią się od angielskich."},
        PlantedModule{"MissingString",
                      [](const std::string& path) {
                          return EditString(path, IDS_ENTER_PST_NAME, [](std::wstring& text) { text.clear(); });
                      },
                      "brak tekstu 122."},
        PlantedModule{"PercentSignAndOtherFlags",
                      [](const std::string& path) {
                          return EditString(path, IDS_BACKUP_INFO, [](std::wstring& text) { text += L" (100%%)"; }) &&
                                 EditString(path, IDS_BACKUP_FOLDER_INFO, [](std::wstring& text) {
                                     text.replace(text.find(L"%s"), 2, L"%-20.200s");
                                 });
                      },
                      nullptr},
        PlantedModule{"ClassicTemplateWithEveryControl",
                      [](const std::string& path) { return PlantClassicMainDialog(path, 0); }, nullptr},
        PlantedModule{"ClassicTemplateWithoutAButton",
                      [](const std::string& path) { return PlantClassicMainDialog(path, IDC_BACKUP); },
                      "w oknie dialogowym 102 brak kontrolki 1006."},
        PlantedModule{"CutTemplate", CutMainDialog, "okno dialogowe 102 jest uszkodzone."}),
    [](const testing::TestParamInfo<PlantedModule>& info) { return std::string(info.param.name); });
} // namespace
