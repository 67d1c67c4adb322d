#pragma once

#include <string>

#include "program/console/ArgumentParser.h"
#include "program/core/SweepFrontEnd.h"

// The command line as the front end of a check or a repair: the names come
// from the arguments, Outlook running is said by the exit code and the
// error, and --without-backup answers whether to go on without a backup.
class ArgumentsFrontEnd : public SweepFrontEnd
{
public:
    explicit ArgumentsFrontEnd(const ConsoleArguments& arguments) : m_arguments(arguments) {}

    bool ReadInput(std::wstring& profileName, std::wstring& pstName) override;
    void OutlookRunning() override {}
    bool ContinueWithoutBackup(const std::wstring&) override { return m_arguments.withoutBackup; }

private:
    const ConsoleArguments& m_arguments;
};
