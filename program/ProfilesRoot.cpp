#include "program/ProfilesRoot.h"

CString GetProfilesRoot()
{
    return "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\Profiles";
}
