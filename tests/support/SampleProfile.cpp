#include "tests/support/SampleProfile.h"

SampleProfile::SampleProfile(const std::string& name, const std::string& root, bool withGhost)
    : m_name(name), m_root(root), m_withGhost(withGhost), m_tree(name, root)
{
    m_tree.AddAccount("0001", "Jan", Id('1'));
    m_tree.AddService(Id('1'), Id('2'));
    m_tree.AddSection(Id('2'), SectionValues().WideDisplayName(Pst));
    m_tree.AddSection(Id('3'), SectionValues().WideDisplayName(Pst).Reference1(Id('2')));
    m_tree.AddSection(Id('c'), SectionValues().WideDisplayName("Inne"));
    if (withGhost)
        m_tree.AddSection(Id('a'), SectionValues().WideDisplayName(Pst));
}

std::string SampleProfile::Id(char digit)
{
    return std::string(32, digit);
}

std::set<std::string> SampleProfile::SectionsWithoutGhost()
{
    return {ProfileTreeBuilder::AccountsKey, Id('1'), Id('2'), Id('3'), Id('c')};
}

std::vector<std::string> SampleProfile::Trace(bool checkOnly) const
{
    const std::string pst = Pst;
    std::vector<std::string> lines = {
        "Info: Otwieranie klucza profilów: HKEY_CURRENT_USER\\" + m_root + "\\" + m_name,
        "Info:  ",
        "Info: -- Listowanie kont --",
        "Info: Otwieranie klucza konta: 0001",
        "Info: Nazwa konta: Jan",
        "Info: ID serwisu to " + Id('1'),
        "Info: Otwieranie klucza serwisu.",
        "Info: ID sekcji to " + Id('2'),
        "Info:  ",
        "Info: -- Listowanie sekcji -- ",
        "Info: Sekcja jest poprawna: " + Id('1'),
        "Info: Sekcja jest poprawna: " + Id('2'),
        "Info: Otwieranie sekcji: " + Id('3'),
        "Info: Wartość1 = " + pst,
        "Info: Wartość2 = ",
        "Info: Wartość3 = ",
        "Info: Wartość4 = ",
        "Info: Kandydat do usunięcia, sprawdzanie powiązań.",
        "Info: ID sekcji 1: " + Id('2'),
        "Info: ID sekcji 2: ",
        "Info: Sekcja powiązana z poprawną sekcją 1, pozostaje.",
    };
    if (m_withGhost)
    {
        lines.insert(lines.end(), {
                                      "Info: Otwieranie sekcji: " + Id('a'),
                                      "Info: Wartość1 = " + pst,
                                      "Info: Wartość2 = ",
                                      "Info: Wartość3 = ",
                                      "Info: Wartość4 = ",
                                      "Info: Kandydat do usunięcia, sprawdzanie powiązań.",
                                      "Info: ID sekcji 1: ",
                                      "Info: ID sekcji 2: ",
                                      checkOnly ? "Info: Ta sekcja jest niepoprawne i powinna zostać usunięta."
                                                : "Info: Ta sekcja jest niepoprawna i została usunięta.",
                                  });
    }
    lines.insert(lines.end(), {
                                  "Info: Otwieranie sekcji: " + Id('c'),
                                  "Info: Wartość1 = Inne",
                                  "Info: Wartość2 = ",
                                  "Info: Wartość3 = ",
                                  "Info: Wartość4 = ",
                              });
    return lines;
}
