#pragma once

#include "tests/support/DialogDriver.h"
#include "tests/support/KeptFile.h"
#include "tests/support/LogTail.h"
#include "tests/support/MessageBoxCatcher.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

// Runs the real program in the test process, from its start-up to its exit:
// the application object's InitInstance, which runs the main dialog modally
// until it closes, then its ExitInstance. The test acts on the dialog
// through `driver` and answers its message boxes through `boxes`; the log
// lines of the run are in `log`. Settings.ini starts missing and is put back
// afterwards. No language module lies beside the test executable unless the
// test puts one there.
//
// The program keeps its profiles root, its remembered PST name and its
// language module for the life of the process: one run per process, as CTest
// runs each test.
class ProgramRun : public testing::Test
{
protected:
    ProgramRun();

    // Start-up to exit; the exit code.
    int RunProgram();

    // A box of the program's own: captioned with the application's name and
    // owned by the main dialog.
    CapturedBox ProgramBox(const std::string& text, BoxIcon icon, std::vector<int> buttons = {IDOK}) const;
    // The exception box: captioned "Error", without owner, OK only.
    static CapturedBox ErrorBox(const std::string& text);
    // The log lines of a run: the start lines, the parts one after the
    // other, then the exit line.
    static std::vector<std::string> RunLines(std::initializer_list<std::vector<std::string>> parts);
    // The three lines that every start writes.
    static std::vector<std::string> StartLines();
    // Where the program looks for its language module: beside the test
    // executable.
    static std::string LanguageModulePath();

    LogTail log;
    KeptFile settings;
    MessageBoxCatcher boxes;
    DialogDriver driver;
};
