#include "tests/support/NewBackups.h"

#include "library/base/UniqueHandle.h"
#include "program/core/ProductFolder.h"

namespace
{
std::set<std::string> ListBackups()
{
    std::set<std::string> names;
    WIN32_FIND_DATAA entry;
    UniqueFindHandle search(FindFirstFileA((BackupFolder() + "\\*").c_str(), &entry));
    if (!search)
        return names;
    do
    {
        std::string name = entry.cFileName;
        if (name != "." && name != "..")
            names.insert(name);
    } while (FindNextFileA(search.Get(), &entry));
    return names;
}
} // namespace

std::string BackupFolder()
{
    return GetAppDataFolder().Str() + "\\Registry Backup";
}

NewBackups::NewBackups() : m_before(ListBackups())
{
}

NewBackups::~NewBackups()
{
    for (const std::string& name : Names())
        DeleteFileA((BackupFolder() + "\\" + name).c_str());
}

std::vector<std::string> NewBackups::Names() const
{
    std::vector<std::string> names;
    for (const std::string& name : ListBackups())
        if (m_before.count(name) == 0)
            names.push_back(name);
    return names;
}
