#pragma once

#include "tests/support/ProfileTreeBuilder.h"

#include <string>
#include <vector>

// A mail profile below a profiles root of HKEY_CURRENT_USER as the program's
// tests use it: one account whose store section 2222... carries the PST's
// display name; a section 3333... of that name tied to the store; a section
// cccc... of another store; and, when asked for, a ghost aaaa... of the PST's
// name tied to nothing.
class SampleProfile
{
public:
    static constexpr const char* Pst = "Archiwum";

    SampleProfile(const std::string& name, const std::string& root, bool withGhost);

    ProfileTreeBuilder& Tree() { return m_tree; }
    // A 16-byte section identifier in hex digits, all one digit.
    static std::string Id(char digit);
    // The sections of a profile after a removal of the ghost.
    static std::set<std::string> SectionsWithoutGhost();

    // The engine's log lines for this profile, from its opening line on, in
    // check mode or removal mode.
    std::vector<std::string> Trace(bool checkOnly) const;

private:
    std::string m_name;
    std::string m_root;
    bool m_withGhost;
    ProfileTreeBuilder m_tree;
};
