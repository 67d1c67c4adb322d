#pragma once

#include "library/base/UniqueHandle.h"
#include "tests/support/PlantedLink.h"

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

// The values of one profile section as the engine reads them, set one by one
// (SectionValues().WideDisplayName("Archive").Reference1(id)); a value not
// set is left out. Narrow text is in the ANSI code page.
struct SectionValues
{
    SectionValues& WideDisplayName(const std::string& text) { return Set(wideDisplayName, Wide(text)); }
    SectionValues& WideDisplayName(const std::wstring& text) { return Set(wideDisplayName, text); }
    SectionValues& NarrowDisplayName(const std::string& text) { return Set(narrowDisplayName, text); }
    SectionValues& WideProvider(const std::string& text) { return Set(wideProvider, Wide(text)); }
    SectionValues& NarrowProvider(const std::string& text) { return Set(narrowProvider, text); }
    SectionValues& WidePstPath(const std::string& text) { return Set(widePstPath, Wide(text)); }
    SectionValues& WidePstPath(const std::wstring& text) { return Set(widePstPath, text); }
    SectionValues& NarrowPstPath(const std::string& text) { return Set(narrowPstPath, text); }
    SectionValues& Reference1(const std::string& hex) { return Set(reference1, hex); }
    SectionValues& Reference2(const std::string& hex) { return Set(reference2, hex); }

    std::optional<std::wstring> wideDisplayName;  // "001f3001", binary UTF-16LE
    std::optional<std::string> narrowDisplayName; // "001e3001", REG_SZ
    std::optional<std::wstring> wideProvider;     // "001f300a", binary UTF-16LE
    std::optional<std::string> narrowProvider;    // "001e300a", REG_SZ
    std::optional<std::wstring> widePstPath;      // "001f6700", binary UTF-16LE
    std::optional<std::string> narrowPstPath;     // "001e6700", REG_SZ
    std::optional<std::string> reference1;        // "01023d00", hex digits stored as binary
    std::optional<std::string> reference2;        // "01023d0c", hex digits stored as binary

private:
    static std::wstring Wide(const std::string& text);
    template <typename Text> SectionValues& Set(std::optional<Text>& member, const Text& text)
    {
        member = text;
        return *this;
    }
};

// Builds a mail profile below a profiles root of HKEY_CURRENT_USER (a
// ScratchRegistry's in tests) and reads it back. Key paths are relative to the
// profile key; every failure throws std::runtime_error.
class ProfileTreeBuilder
{
public:
    static constexpr const char* AccountsKey = "9375CFF0413111d3B88A00104B2A6676";
    // Where Outlook 97 to 2010 keep their profiles.
    static constexpr const char* MessagingSubsystemRoot =
        "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\Profiles";
    // Where Outlook 2016 and later keep theirs.
    static constexpr const char* Office16Root = "Software\\Microsoft\\Office\\16.0\\Outlook\\Profiles";
    static constexpr const char* Office15Root = "Software\\Microsoft\\Office\\15.0\\Outlook\\Profiles";

    // Creates the profile key (and the root above it) if missing.
    explicit ProfileTreeBuilder(const std::string& profileName, const std::string& root = MessagingSubsystemRoot);
    // The same for a profile named as Windows stores it, in any letters.
    ProfileTreeBuilder(const std::wstring& profileName, const std::string& root);

    // The profile key's path below HKEY_CURRENT_USER, in the ANSI code page
    // for a profile named in it.
    const std::string& ProfilePath() const { return m_path; }
    const std::wstring& WideProfilePath() const { return m_widePath; }

    void AddAccountsKey();
    // An account below the accounts key: "Account Name" as REG_SZ and
    // "Service UID" holding the bytes of `serviceHex`.
    void AddAccount(const std::string& key, const std::string& accountName, const std::string& serviceHex);
    // A service section whose "01023d00" refers to `storeHex`.
    void AddService(const std::string& name, const std::string& storeHex);
    void AddSection(const std::string& name, const SectionValues& values);

    void AddKey(const std::string& path);
    void AddKey(const std::wstring& path);
    // A key that is listed but does not open (ERROR_FILE_NOT_FOUND): a
    // symbolic link to a key that does not exist, gone with the builder.
    void AddUnopenableKey(const std::string& path);
    // Removes those keys: a tree that holds one cannot be deleted, the
    // deletion following it.
    void RemoveUnopenableKeys() { m_links.clear(); }
    // Sets a value of any type with raw bytes; the key is created if missing.
    void SetValue(const std::string& path, const std::string& valueName, DWORD type, const std::string& bytes);

    // The names of the profile key's subkeys, as the ANSI functions list them.
    std::set<std::string> Sections() const;

    // UTF-16LE bytes of the text, with the terminating NUL character.
    static std::string Utf16(const std::wstring& text);
    // The bytes that hex digits ("0aff") stand for.
    static std::string HexBytes(const std::string& hex);

private:
    void CreateProfileKey();

    std::string m_path;
    std::wstring m_widePath;
    UniqueRegistryKey m_profile;
    std::vector<std::unique_ptr<PlantedLink>> m_links;
};
