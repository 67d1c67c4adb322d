#include "tests/support/ProgramTexts.h"

#include "library/error/ErrorMessages.h"

namespace ProgramTexts
{
std::string ExceptionText(DWORD code, const std::string& message)
{
    CString system = Error::GetSystemErrorText(code);
    system.Trim();
    char hex[16];
    wsprintfA(hex, "%#lx", static_cast<unsigned long>(code));
    return system.Str() + " (" + hex + ") \n\n" + message;
}

std::vector<std::string> CheckLines(const std::string& profile, const std::string& pst)
{
    return {"Info:  ", "Info: -- CHECK --",
            "Info: Proces sprawdzania dla profilu \"" + profile + "\" i magazynu PST \"" + pst + "\"."};
}

std::vector<std::string> RepairLines(const std::string& profile, const std::string& pst)
{
    return {"Info:  ", "Info: -- START --",
            "Info: Pocedura usuwania dla profilu \"" + profile + "\" i magazynu PST \"" + pst + "\"."};
}
} // namespace ProgramTexts
