#include "tests/support/ProgramRun.h"

#include "program/window/CPSTStraysweepApp.h"
#include "program/window/Settings.h"

ProgramRun::ProgramRun() : settings(GetSettingsFilePath().Str())
{
    // A test whose program kept the module mapped to its end could not
    // delete it.
    DeleteFileA(LanguageModulePath().c_str());
}

int ProgramRun::RunProgram()
{
    static bool ran = false;
    if (ran)
    {
        ADD_FAILURE() << "the program ran before in this process; run one test per process";
        return -1;
    }
    ran = true;
    CPSTStraysweepApp app;
    app.InitInstance();
    return app.ExitInstance();
}

CapturedBox ProgramRun::ProgramBox(const std::string& text, BoxIcon icon, std::vector<int> buttons) const
{
    CapturedBox box;
    box.text = text;
    box.caption = "Norvale PST Straysweep";
    box.owner = driver.Dialog();
    box.icon = icon;
    box.buttons = std::move(buttons);
    return box;
}

CapturedBox ProgramRun::ErrorBox(const std::string& text)
{
    CapturedBox box;
    box.text = text;
    box.caption = "Error";
    box.icon = BoxIcon::Error;
    box.buttons = {IDOK};
    return box;
}

std::string ProgramRun::LanguageModulePath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string executable(path);
    return executable.substr(0, executable.rfind('\\') + 1) + "Main_ResPL.dll";
}

std::vector<std::string> ProgramRun::StartLines()
{
    return {"Info:  ", "Info: " + std::string(49, '-'), "Info: Program started."};
}

std::vector<std::string> ProgramRun::RunLines(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> all = StartLines();
    for (const std::vector<std::string>& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    all.push_back("Info: Program exit.");
    return all;
}
