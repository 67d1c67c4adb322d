#pragma once

#include "program/console/commands/BackupsCommand.h"
#include "program/console/commands/CheckCommand.h"
#include "program/console/commands/ListCommand.h"
#include "program/console/commands/RepairCommand.h"
#include "program/console/commands/RestoreCommand.h"
#include "program/console/commands/ScanCommand.h"
#include "program/console/commands/UserChoice.h"

#include <string>

// The JSON document (UTF-8, one line without its line break) that the
// command line program writes of a command's report with --json.
class JsonRenderer
{
public:
    static std::string Render(const UserChoice::Report& report);
    static std::string Render(const ListCommand::ProfilesReport& report);
    static std::string Render(const ListCommand::UsersReport& report);
    static std::string Render(const ListCommand::SectionsReport& report);
    static std::string Render(const CheckCommand::Report& report);
    static std::string Render(const RepairCommand::Report& report);
    static std::string Render(const ScanCommand::Report& report);
    static std::string Render(const BackupsCommand::Report& report);
    static std::string Render(const RestoreCommand::Report& report);
};
