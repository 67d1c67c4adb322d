#pragma once

#include <string>

#include "program/console/commands/BackupsCommand.h"
#include "program/console/commands/CheckCommand.h"
#include "program/console/commands/ListCommand.h"
#include "program/console/commands/RepairCommand.h"
#include "program/console/commands/RestoreCommand.h"
#include "program/console/commands/ScanCommand.h"
#include "program/console/commands/UserChoice.h"

// The text that the command line program writes of a command's report, every
// name as it is stored: for standard output (with --json the document goes
// there instead) and for standard error, which gets the errors and warnings
// either way.
class TextRenderer
{
public:
    struct Printed
    {
        std::wstring out;
        std::wstring err;
    };

    static Printed Render(const UserChoice::Report& report);
    static Printed Render(const ListCommand::ProfilesReport& report);
    static Printed Render(const ListCommand::UsersReport& report);
    static Printed Render(const ListCommand::SectionsReport& report);
    static Printed Render(const CheckCommand::Report& report);
    static Printed Render(const RepairCommand::Report& report);
    static Printed Render(const ScanCommand::Report& report);
    static Printed Render(const BackupsCommand::Report& report);
    static Printed Render(const RestoreCommand::Report& report);
};
