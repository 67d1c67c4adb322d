#include "program/console/HelpText.h"

#include "program/console/ExitCode.h"

#include <algorithm>

const char* GetUsageText()
{
    return "Usage:\n"
           "  straysweep list [--profile NAME] [--user USER | --all-users] [--json]\n"
           "  straysweep check --profile NAME --pst DISPLAYNAME [--user USER] [--json]\n"
           "  straysweep repair --profile NAME --pst DISPLAYNAME [--without-backup] [--user USER] [--json]\n"
           "  straysweep scan [--user USER | --all-users] [--json]\n"
           "  straysweep backups [--profile NAME] [--user USER] [--json]\n"
           "  straysweep restore --backup FILE [--profile NAME] [--without-backup] [--user USER] [--json]\n"
           "  straysweep restore --profile NAME --latest [--without-backup] [--user USER] [--json]\n"
           "  straysweep --help\n";
}

namespace
{
// `text` in lines of at most `width` characters, the first after `first`,
// the others after `indent`; words are not cut.
std::string Wrapped(const std::string& first, const std::string& indent, const std::string& text, size_t width)
{
    std::string result;
    std::string line = first;
    bool bare = true;
    for (size_t start = 0; start < text.size();)
    {
        size_t end = std::min(text.find(' ', start), text.size());
        std::string word = text.substr(start, end - start);
        start = end + 1;
        if (!bare && line.size() + 1 + word.size() > width)
        {
            result += line + "\n";
            line = indent;
            bare = true;
        }
        line += (bare ? "" : " ") + word;
        bare = false;
    }
    return result + line + "\n";
}

const char* const CommandsText =
    "Norvale PST Straysweep, command line: finds and removes ghost (duplicated) PST\n"
    "store entries of an Outlook mail profile of the current user (or, with --user\n"
    "or --all-users, of other signed-in users), and restores the backups that it\n"
    "takes before.\n"
    "\n"
    "  straysweep list [--profile NAME] [--user USER | --all-users] [--json]\n"
    "      Without --profile: the mail profiles, the default one marked.\n"
    "      With --profile: every section of the profile that carries a display\n"
    "      name or a provider library, and whether it is tied to a section that\n"
    "      one of the profile's accounts references (tied) or not (untied), and\n"
    "      whether it is a ghost store (see scan).\n"
    "\n"
    "  straysweep check --profile NAME --pst DISPLAYNAME [--user USER] [--json]\n"
    "      Lists the invalid sections of the PST store named DISPLAYNAME (letter\n"
    "      case does not matter, blanks do): the sections that carry that name\n"
    "      and are untied. Changes nothing.\n"
    "\n"
    "  straysweep repair --profile NAME --pst DISPLAYNAME [--without-backup] [--user USER] [--json]\n"
    "      Refuses while OUTLOOK.EXE runs. Saves the profile key to a .reg file in\n"
    "      the \"Registry Backup\" folder of %APPDATA%\\Norvale PST Straysweep,\n"
    "      then deletes the invalid sections. The backup counts only as a complete\n"
    "      export of the profile key; when it fails nothing is deleted, unless\n"
    "      --without-backup is given. Outlook is looked for again right before\n"
    "      the first deletion.\n"
    "\n"
    "  straysweep scan [--user USER | --all-users] [--json]\n"
    "      Finds the ghost stores of every profile: the untied PST stores\n"
    "      (mspst.dll) with a display name, which a repair with that name would\n"
    "      remove, with their file and whether it exists. Ends with the repair\n"
    "      command for each. A profile that cannot be read completely (an account\n"
    "      or a listing failed) offers none. With --all-users, the profiles of\n"
    "      every signed-in user, each repair command with its --user. Changes\n"
    "      nothing.\n"
    "\n"
    "  straysweep backups [--profile NAME] [--user USER] [--json]\n"
    "      Lists the backups in the \"Registry Backup\" folder, newest first: when\n"
    "      each was taken, the profile key that it holds, its size and whether it\n"
    "      is a complete export of one profile key. With --profile: the backups of\n"
    "      that profile only.\n"
    "\n"
    "  straysweep restore --backup FILE [--profile NAME] [--without-backup] [--user USER] [--json]\n"
    "  straysweep restore --profile NAME --latest [--without-backup] [--user USER] [--json]\n"
    "      Puts a profile back from the backup FILE, or from the newest complete\n"
    "      backup of the profile. Refuses while OUTLOOK.EXE runs. Refuses a file\n"
    "      that is not a complete export of one profile key of the current user,\n"
    "      that writes outside it or deletes anything (and, with --profile, a\n"
    "      backup of another profile). Backs the profile key up as it is now (when\n"
    "      that fails nothing is written, unless --without-backup is given),\n"
    "      writes the keys and values of the file below the profile key, then\n"
    "      reads the key back to check that every key and value of the backup is\n"
    "      back. Keys and values added after the backup was taken stay, and are\n"
    "      listed.\n"
    "\n"
    "Options:\n"
    "  --profile NAME    the mail profile (also --profile=NAME)\n"
    "  --pst NAME        the display name of the ghost PST store (also --pst=NAME)\n"
    "  --backup FILE     restore: the backup file to restore (also --backup=FILE)\n"
    "  --latest          restore: the newest complete backup of the profile\n"
    "  --without-backup  repair, restore: go on when the backup cannot be made\n"
    "  --user USER       work on the profiles of another signed-in user, named\n"
    "                    DOMAIN\\name, name or SID (for agents that run as SYSTEM or\n"
    "                    as an administrator); a repair is then refused only while\n"
    "                    an OUTLOOK.EXE of that user runs. Backups and the log stay\n"
    "                    in the running account's data folder; a backup's name\n"
    "                    carries the user.\n"
    "  --all-users       list, scan: every signed-in user's profiles\n"
    "  --json            one JSON document (UTF-8) on standard output instead of text\n"
    "  --help, -h, /?    this help\n"
    "\n";

const char* const LogText = "Every run is written to %APPDATA%\\Norvale PST Straysweep\\Log.txt, the log of\n"
                            "the window program.\n";
} // namespace

std::string GetHelpText()
{
    std::string codes = "Exit codes:\n";
    for (const ExitCode::Meaning& meaning : ExitCode::Meanings)
    {
        std::string code = "  " + std::to_string(meaning.code);
        code.resize(6, ' ');
        codes += Wrapped(code, "      ", meaning.text, 78);
    }
    return CommandsText + codes + "\n" + LogText;
}
