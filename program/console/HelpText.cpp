#include "program/console/HelpText.h"

const char* GetUsageText()
{
    return "Usage:\n"
           "  straysweep list [--profile NAME] [--json]\n"
           "  straysweep check --profile NAME --pst DISPLAYNAME [--json]\n"
           "  straysweep repair --profile NAME --pst DISPLAYNAME [--without-backup] [--json]\n"
           "  straysweep --help\n";
}

const char* GetHelpText()
{
    return "Norvale PST Straysweep, command line: finds and removes ghost (duplicated) PST\n"
           "store entries of an Outlook mail profile of the current user.\n"
           "\n"
           "  straysweep list [--profile NAME] [--json]\n"
           "      Without --profile: the mail profiles, the default one marked.\n"
           "      With --profile: every section of the profile that carries a display\n"
           "      name or a provider library, and whether it is tied to a section that\n"
           "      one of the profile's accounts references (tied) or not (untied).\n"
           "\n"
           "  straysweep check --profile NAME --pst DISPLAYNAME [--json]\n"
           "      Lists the invalid sections of the PST store named DISPLAYNAME (letter\n"
           "      case does not matter, blanks do): the sections that carry that name\n"
           "      and are untied. Changes nothing.\n"
           "\n"
           "  straysweep repair --profile NAME --pst DISPLAYNAME [--without-backup] [--json]\n"
           "      Refuses while OUTLOOK.EXE runs. Saves the profile key to a .reg file in\n"
           "      the \"Registry Backup\" folder of %APPDATA%\\Norvale PST Straysweep,\n"
           "      then deletes the invalid sections. When the backup fails nothing is\n"
           "      deleted, unless --without-backup is given.\n"
           "\n"
           "Options:\n"
           "  --profile NAME    the mail profile (also --profile=NAME)\n"
           "  --pst NAME        the display name of the ghost PST store (also --pst=NAME)\n"
           "  --without-backup  repair: go on when the backup cannot be made\n"
           "  --json            one JSON document (UTF-8) on standard output instead of text\n"
           "  --help, -h, /?    this help\n"
           "\n"
           "Exit codes:\n"
           "  0   nothing invalid found (check) or removed (repair); list succeeded\n"
           "  1   invalid sections found (check) or all of them removed (repair)\n"
           "  2   an invalid section could not be removed (see the log)\n"
           "  3   Outlook is running: nothing was done\n"
           "  4   the backup failed: nothing was removed\n"
           "  5   the profile, its accounts key or the profiles root cannot be opened\n"
           "  64  wrong arguments: nothing was done\n"
           "  70  another failure (for example the process list cannot be read)\n"
           "\n"
           "Every run is written to %APPDATA%\\Norvale PST Straysweep\\Log.txt, the log of\n"
           "the window program.\n";
}
