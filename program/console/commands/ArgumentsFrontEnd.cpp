#include "program/console/commands/ArgumentsFrontEnd.h"

bool ArgumentsFrontEnd::ReadInput(std::wstring& profileName, std::wstring& pstName)
{
    profileName = m_arguments.profile;
    pstName = m_arguments.pst;
    return true;
}
