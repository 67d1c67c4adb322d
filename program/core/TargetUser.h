#pragma once

#include "library/base/CString.h"

#include <windows.h>

#include <string>
#include <vector>

// The user whose registry the run works on: the caller, through
// HKEY_CURRENT_USER, unless another signed-in user's hive below HKEY_USERS
// is chosen (fleet agents run as SYSTEM, whose own hive holds no profile).
class TargetUser
{
public:
    // The key that stands for that user's HKEY_CURRENT_USER.
    static HKEY Root();
    // Its name as the registry editor and the log give it:
    // "HKEY_CURRENT_USER" or "HKEY_USERS\<SID>".
    static std::wstring RootName();
    // The chosen user's SID as text; empty for the caller.
    static const CString& Sid();
    // The chosen user's "DOMAIN\name", or empty when the account look-up
    // gives none (and for the caller).
    static const std::wstring& Account();

    // Works on the loaded hive of `sid` (text such as "S-1-5-21-...") from
    // now on. ERROR_SUCCESS, or the open's code (ERROR_FILE_NOT_FOUND when
    // the user is not signed in); the choice is unchanged on failure.
    static LONG Choose(const CString& sid);
    // Works on the caller's own registry again.
    static void ChooseCaller();
    // Writes the line that names the chosen user to the log, before an
    // action's header lines; nothing for the caller.
    static void LogChoice();

    // The SID of account `name` ("DOMAIN\name" or "name"), or of `name`
    // itself when it is a SID's text, into `sid`; false when it is neither a
    // known account nor a well-formed SID.
    static bool ResolveUser(const std::wstring& name, CString& sid);
    // The account "DOMAIN\name" of SID text `sid`; empty when the look-up
    // gives none.
    static std::wstring LookUpAccount(const CString& sid);
    // The SIDs of the users whose hives are loaded below HKEY_USERS, in
    // registry order: people's accounts ("S-1-5-21-..." and cloud accounts
    // "S-1-12-1-..."), never ".DEFAULT", the "..._Classes" hives or the
    // service accounts. ERROR_SUCCESS, or the code of a listing that failed.
    static LONG ListSignedInUsers(std::vector<CString>& sids);
};
