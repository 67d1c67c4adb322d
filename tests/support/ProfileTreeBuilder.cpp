#include "tests/support/ProfileTreeBuilder.h"

#include "library/base/TextConversion.h"

#include <stdexcept>

namespace
{
void Check(LONG result, const std::string& what)
{
    if (result != ERROR_SUCCESS)
        throw std::runtime_error(what + " failed with " + std::to_string(result));
}
} // namespace

std::wstring SectionValues::Wide(const std::string& text)
{
    return AnsiToWide(text.c_str());
}

ProfileTreeBuilder::ProfileTreeBuilder(const std::string& profileName, const std::string& root)
    : m_path(root + "\\" + profileName), m_widePath(AnsiToWide(m_path.c_str()))
{
    CreateProfileKey();
}

ProfileTreeBuilder::ProfileTreeBuilder(const std::wstring& profileName, const std::string& root)
    : m_widePath(AnsiToWide(root.c_str()) + L"\\" + profileName)
{
    m_path = WideToAnsi(m_widePath).Str();
    CreateProfileKey();
}

void ProfileTreeBuilder::CreateProfileKey()
{
    HKEY key = nullptr;
    Check(RegCreateKeyExW(HKEY_CURRENT_USER, m_widePath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
          "creating the profile key " + m_path);
    m_profile.Reset(key);
}

void ProfileTreeBuilder::AddAccountsKey()
{
    AddKey(AccountsKey);
}

void ProfileTreeBuilder::AddAccount(const std::string& key, const std::string& accountName,
                                    const std::string& serviceHex)
{
    std::string path = std::string(AccountsKey) + "\\" + key;
    SetValue(path, "Account Name", REG_SZ, accountName + '\0');
    SetValue(path, "Service UID", REG_BINARY, HexBytes(serviceHex));
}

void ProfileTreeBuilder::AddService(const std::string& name, const std::string& storeHex)
{
    SetValue(name, "01023d00", REG_BINARY, HexBytes(storeHex));
}

void ProfileTreeBuilder::AddSection(const std::string& name, const SectionValues& values)
{
    AddKey(name);
    if (values.wideDisplayName)
        SetValue(name, "001f3001", REG_BINARY, Utf16(*values.wideDisplayName));
    if (values.narrowDisplayName)
        SetValue(name, "001e3001", REG_SZ, *values.narrowDisplayName + '\0');
    if (values.wideProvider)
        SetValue(name, "001f300a", REG_BINARY, Utf16(*values.wideProvider));
    if (values.narrowProvider)
        SetValue(name, "001e300a", REG_SZ, *values.narrowProvider + '\0');
    if (values.widePstPath)
        SetValue(name, "001f6700", REG_BINARY, Utf16(*values.widePstPath));
    if (values.narrowPstPath)
        SetValue(name, "001e6700", REG_SZ, *values.narrowPstPath + '\0');
    if (values.reference1)
        SetValue(name, "01023d00", REG_BINARY, HexBytes(*values.reference1));
    if (values.reference2)
        SetValue(name, "01023d0c", REG_BINARY, HexBytes(*values.reference2));
}

void ProfileTreeBuilder::AddKey(const std::string& path)
{
    HKEY key = nullptr;
    Check(RegCreateKeyExA(m_profile.Get(), path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
          "creating " + path);
    UniqueRegistryKey created(key);
}

void ProfileTreeBuilder::AddKey(const std::wstring& path)
{
    HKEY key = nullptr;
    Check(RegCreateKeyExW(m_profile.Get(), path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
          "creating a key with a wide name");
    UniqueRegistryKey created(key);
}

void ProfileTreeBuilder::AddUnopenableKey(const std::string& path)
{
    size_t parent = path.rfind('\\');
    if (parent != std::string::npos)
        AddKey(path.substr(0, parent));
    m_links.push_back(std::make_unique<PlantedLink>(
        m_path + "\\" + path, L"\\Registry\\Machine\\Software\\Norvale Straysweep test: no such key"));
    if (!m_links.back()->IsPlanted())
        throw std::runtime_error("planting the link " + path + " failed");
}

void ProfileTreeBuilder::SetValue(const std::string& path, const std::string& valueName, DWORD type,
                                  const std::string& bytes)
{
    HKEY created = nullptr;
    Check(RegCreateKeyExA(m_profile.Get(), path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created, nullptr),
          "creating " + path);
    UniqueRegistryKey key(created);
    Check(RegSetValueExA(key.Get(), valueName.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                         static_cast<DWORD>(bytes.size())),
          "setting " + path + "\\" + valueName);
}

std::set<std::string> ProfileTreeBuilder::Sections() const
{
    std::set<std::string> names;
    char name[1024];
    DWORD length = sizeof(name);
    for (DWORD index = 0;
         RegEnumKeyExA(m_profile.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++index)
    {
        names.insert(name);
        length = sizeof(name);
    }
    return names;
}

std::string ProfileTreeBuilder::Utf16(const std::wstring& text)
{
    return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
}

std::string ProfileTreeBuilder::HexBytes(const std::string& hex)
{
    if (hex.size() % 2 != 0)
        throw std::runtime_error("odd number of hex digits: " + hex);
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}
