#include "program/console/commands/ArgumentsFrontEnd.h"

bool ArgumentsFrontEnd::ReadInput(CString& profileName, CString& pstName)
{
    profileName = m_arguments.profile;
    pstName = m_arguments.pst;
    return true;
}
