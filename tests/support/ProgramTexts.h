#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The program's English message texts, written out as the user reads them,
// and the log lines that open its actions.
namespace ProgramTexts
{
inline const std::string BackupFailedContinue = "Failed to create a registry backup before ghost PST removal "
                                                "process. Do you want to continue the removal procedure?";
inline const std::string NoProfileSelected = "There is no Outlook profile selected.";
inline const std::string CloseOutlook =
    "Please close Microsoft Outlook before you start ghost PST removal process. If Outlook is not running and you "
    "still see this message, ensure OUTLOOK.EXE process is not present on the process list in Task Manager.";
inline const std::string BackupInfo =
    "Every time you click the \"Repair!\" button, PST Straysweep makes a backup of Outlook profile key from "
    "Registry, before any changes to this key are made. This backup is stored in a REG file which you can run to "
    "restore your original Registry settings.";
inline const std::string NoProfiles = "No Outlook profiles were found!";
inline const std::string EnterPstName = "Enter the display name of ghost PST file.";

inline std::string OpenKeyFailed(const std::string& keyPath)
{
    return "Failed to open registry key \"HKEY_CURRENT_USER\\" + keyPath +
           "\". Ensure you have read access to this key.";
}

inline std::string NoInvalidSections(const std::string& pst, const std::string& profile)
{
    return "No invalid profile sections found for the PST file \"" + pst + "\" in the Outlook profile \"" + profile +
           "\".";
}

inline std::string GhostRemoved(const std::string& pst, const std::string& profile)
{
    return "\"" + pst + "\" ghost file was removed from the \"" + profile + "\" Outlook profile.";
}

inline std::string RemovalFailed(const std::string& pst, const std::string& profile, const std::string& logPath)
{
    return "Failed to remove some invalid section for the ghost file \"" + pst + "\" in the Outlook profile \"" +
           profile + "\".\n\nPlease see the log file for detailes:\n" + logPath;
}

inline std::string InvalidSectionsFound(const std::string& pst, const std::string& profile)
{
    return "Invalid sections that should be removed were found for the \"" + pst + "\" PST file in the \"" + profile +
           "\" Outlook profile.\n\nTo remove the ghost PST file, click the \"Repair!\" button.";
}

inline std::string BackupFolderInfo(const std::string& folder)
{
    return "All backups are stored in the \"" + folder + "\" folder.";
}
// The text of an exception for a failed call with system code `code`: the
// system's text, the code, then `message` below.
std::string ExceptionText(DWORD code, const std::string& message);

// The lines with which "&Check" and "Repair!" start their work.
std::vector<std::string> CheckLines(const std::string& profile, const std::string& pst);
std::vector<std::string> RepairLines(const std::string& profile, const std::string& pst);
} // namespace ProgramTexts
