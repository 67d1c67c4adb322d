#include "tests/program/console/LiveProfile.h"

#include "library/base/TextConversion.h"

LiveProfile::LiveProfile(const std::string& label, const std::string& root)
    : ProfileTreeBuilder(NameFor(label), root), m_name(NameFor(label)), m_wideName(AnsiToWide(m_name.c_str()))
{
}

LiveProfile::LiveProfile(const std::wstring& label)
    : ProfileTreeBuilder(AnsiToWide(NameFor("").c_str()) + label, Office16Root),
      m_wideName(AnsiToWide(NameFor("").c_str()) + label)
{
    m_name = WideToAnsi(m_wideName).Str();
}

LiveProfile::~LiveProfile()
{
    RemoveUnopenableKeys();
    RegDeleteTreeW(HKEY_CURRENT_USER, WideProfilePath().c_str());
}

std::string LiveProfile::NameFor(const std::string& label)
{
    return "Straysweep test " + std::to_string(GetCurrentProcessId()) + " " + label;
}
