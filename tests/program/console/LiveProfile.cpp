#include "tests/program/console/LiveProfile.h"

LiveProfile::LiveProfile(const std::string& label, const std::string& root)
    : ProfileTreeBuilder(NameFor(label), root), m_name(NameFor(label))
{
}

LiveProfile::~LiveProfile()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, ProfilePath().c_str());
}

std::string LiveProfile::NameFor(const std::string& label)
{
    return "Straysweep test " + std::to_string(GetCurrentProcessId()) + " " + label;
}
