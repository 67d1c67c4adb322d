#include "tests/support/PlantedLink.h"

PlantedLink::PlantedLink(const std::string& path, const std::wstring& target)
{
    HKEY created = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK | REG_OPTION_VOLATILE,
                        KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, &created, nullptr) != ERROR_SUCCESS)
        return;
    m_key.Reset(created);
    m_planted = RegSetValueExW(created, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(target.data()),
                               static_cast<DWORD>(target.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
}

PlantedLink::~PlantedLink()
{
    using DeleteKey = LONG(NTAPI*)(HANDLE);
    auto deleteKey = reinterpret_cast<DeleteKey>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtDeleteKey")));
    if (m_key && deleteKey != nullptr)
        deleteKey(m_key.Get());
}
