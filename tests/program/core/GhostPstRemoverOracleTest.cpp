#include "library/base/TextConversion.h"
#include "library/error/NvExceptionCommon.h"
#include "program/core/CLogFile.h"
#include "program/core/GhostPstRemover.h"
#include "tests/support/ProfileTreeBuilder.h"
#include "tests/support/ScratchRegistry.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <random>
#include <sstream>

#include <gtest/gtest.h>

// Random profile trees judged twice, by the engine against the real registry
// and by a model of the rules written from their description, here, apart
// from the engine's code.
namespace
{
const char* const AccountsKeyName = "9375CFF0413111d3B88A00104B2A6676";
const char* const ReservedNames[] = {AccountsKeyName, "{D9734F19-8CFB-411D-BC59-833E334FCB5E}",
                                     "0a0d020000000000c000000000000046"};
const unsigned DefaultSeed = 20261208;
const int TreeCount = 500;

struct Value
{
    DWORD type;
    std::string bytes;
};

struct Key
{
    std::string name;
    // The name begins with U+4E2D, which the ANSI functions list as "?": such a
    // key cannot be opened by the name they list.
    bool unmappable = false;
    std::map<std::string, Value> values;
    std::vector<Key> children;

    std::string ListedName() const { return unmappable ? "?" + name : name; }
};

struct Tree
{
    std::string pst;
    std::vector<Key> keys; // the profile key's subkeys
};

struct Outcome
{
    bool throws = false;
    int result = 0;
    std::set<std::string> deleted;
    // What the engine says it judged: invalid (reported or deleted), and
    // invalid but not deleted.
    std::set<std::string> invalid;
    std::set<std::string> failed;
};

// --- The model -------------------------------------------------------------

std::string Lower(std::string text)
{
    for (char& ch : text)
    {
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    }
    return text;
}

// The trees vary letter case in ASCII letters only.
bool SameIgnoringCase(const std::string& left, const std::string& right)
{
    return Lower(left) == Lower(right);
}

const Key* FindIgnoringCase(const std::vector<Key>& keys, const std::string& name)
{
    for (const Key& key : keys)
    {
        if (!key.unmappable && SameIgnoringCase(key.name, name))
            return &key;
    }
    return nullptr;
}

// Text of a value: binary as UTF-16LE up to the first NUL character (an odd
// last byte taken with a zero high byte), other types as bytes up to the first
// NUL; missing or empty is empty. The trees hold only ASCII, U+00E9 (0xE9 in
// the test's code page) and U+4E2D (no mapping: "?").
std::string TextOf(const Key& key, const char* name)
{
    auto found = key.values.find(name);
    if (found == key.values.end())
        return "";
    const std::string& bytes = found->second.bytes;
    if (found->second.type != REG_BINARY)
        return bytes.substr(0, bytes.find('\0'));
    std::string text;
    for (size_t i = 0; i < bytes.size(); i += 2)
    {
        unsigned unit = static_cast<unsigned char>(bytes[i]);
        if (i + 1 < bytes.size())
            unit |= static_cast<unsigned>(static_cast<unsigned char>(bytes[i + 1])) << 8;
        if (unit == 0)
            break;
        text += unit < 0x80 || unit == 0xE9 ? static_cast<char>(unit) : '?';
    }
    return text;
}

// Hex digits of a binary value of at most 1023 bytes; nothing for a missing
// value, another type or a longer value.
std::optional<std::string> HexOf(const Key& key, const char* name)
{
    auto found = key.values.find(name);
    if (found == key.values.end() || found->second.type != REG_BINARY || found->second.bytes.size() > 1023)
        return std::nullopt;
    static const char Digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char byte : found->second.bytes)
    {
        hex += Digits[byte >> 4];
        hex += Digits[byte & 15];
    }
    return hex;
}

std::string IdentifierOf(const Key& key, const char* name)
{
    return HexOf(key, name).value_or("");
}

bool IsReserved(const std::string& name)
{
    for (const char* reserved : ReservedNames)
    {
        if (name == reserved)
            return true;
    }
    return false;
}

// The identifiers that the accounts reach: each account's service, then the
// section its service refers to, as far as each step succeeds.
std::vector<std::string> ReachedIdentifiers(const Key& accounts, const std::vector<Key>& keys)
{
    std::vector<std::string> reached;
    for (const Key& account : accounts.children)
    {
        if (account.unmappable)
            continue;
        std::string service = IdentifierOf(account, "Service UID");
        if (service.empty())
            continue;
        reached.push_back(service);
        const Key* serviceKey = FindIgnoringCase(keys, service);
        if (serviceKey == nullptr)
            continue;
        std::string store = IdentifierOf(*serviceKey, "01023d00");
        if (!store.empty())
            reached.push_back(store);
    }
    return reached;
}

bool Holds(const std::vector<std::string>& identifiers, const std::string& name)
{
    for (const std::string& identifier : identifiers)
    {
        if (SameIgnoringCase(identifier, name))
            return true;
    }
    return false;
}

bool IsCandidate(const Key& section, const std::string& pst)
{
    bool publicFolders = SameIgnoringCase(pst, "nvpublicfolders");
    std::string wideName = TextOf(section, "001f3001");
    std::string narrowName = TextOf(section, "001e3001");
    std::string wideProvider = TextOf(section, "001f300a");
    std::string narrowProvider = TextOf(section, "001e300a");
    if (!wideName.empty())
        return SameIgnoringCase(wideName, pst);
    if (!narrowName.empty())
        return SameIgnoringCase(narrowName, pst);
    if (!publicFolders)
        return false;
    if (!wideProvider.empty())
        return SameIgnoringCase(wideProvider, "NvPFStore.dll");
    return !narrowProvider.empty() && SameIgnoringCase(narrowProvider, "NvPFStore.dll");
}

Outcome Model(const Tree& tree, bool checkOnly)
{
    Outcome outcome;
    const Key* accounts = FindIgnoringCase(tree.keys, AccountsKeyName);
    if (accounts == nullptr)
    {
        outcome.throws = true;
        return outcome;
    }
    std::vector<std::string> valid = ReachedIdentifiers(*accounts, tree.keys);
    int invalid = 0;
    bool failed = false;
    for (const Key& section : tree.keys)
    {
        std::string name = section.ListedName();
        if (IsReserved(name) || Holds(valid, name) || section.unmappable || !IsCandidate(section, tree.pst))
            continue;
        if (Holds(valid, IdentifierOf(section, "01023d00")) || Holds(valid, IdentifierOf(section, "01023d0c")))
            continue;
        if (checkOnly)
        {
            ++invalid;
            outcome.invalid.insert(name);
        }
        else if (!section.children.empty())
        {
            failed = true;
            outcome.failed.insert(name);
        }
        else
        {
            ++invalid;
            outcome.deleted.insert(name);
            outcome.invalid.insert(name);
        }
    }
    outcome.result = failed ? 2 : invalid > 0 ? 1 : 0;
    return outcome;
}

// --- Random trees ----------------------------------------------------------

class TreeGenerator
{
public:
    explicit TreeGenerator(unsigned seed) : m_random(seed) {}

    Tree Next()
    {
        m_names.clear();
        m_identifiers.clear();
        Tree tree;
        tree.pst = Chance(0.2) ? RandomCase("nvpublicfolders")
                               : Pick<std::string>({"Archiwum", "Poczta 2019", "Stare %s %d", "Caf\xe9"});
        m_pst = tree.pst;

        Key accounts;
        accounts.name =
            Chance(0.9) ? AccountsKeyName : Pick<std::string>({Upper(AccountsKeyName), Lower(AccountsKeyName)});
        int accountCount = Uniform(0, 3);
        for (int i = 0; i < accountCount; ++i)
            AddAccount(tree, accounts, i);
        if (accounts.name != AccountsKeyName && Chance(0.5))
            AddDisplayValues(accounts);
        if (Chance(0.97))
            AddKey(tree, accounts);

        for (const char* reserved : ReservedNames)
        {
            if (std::string(reserved) != AccountsKeyName && Chance(0.3))
                AddSection(tree, reserved);
        }
        if (Chance(0.2))
            AddSection(tree, Pick<std::string>({"0A0D020000000000C000000000000046",
                                                Lower("{D9734F19-8CFB-411D-BC59-833E334FCB5E}")}));
        int sectionCount = Uniform(0, 8);
        for (int i = 0; i < sectionCount; ++i)
            AddSection(tree, NameFor(Identifier()));
        if (Chance(0.05))
        {
            Key unmappable;
            unmappable.name = "section";
            unmappable.unmappable = true;
            AddKey(tree, unmappable);
        }
        return tree;
    }

private:
    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(m_random); }
    template <typename T> T Pick(std::initializer_list<T> items)
    {
        return items.begin()[Uniform(0, int(items.size()) - 1)];
    }

    static std::string Upper(std::string text)
    {
        for (char& ch : text)
        {
            if (ch >= 'a' && ch <= 'z')
                ch = static_cast<char>(ch - 'a' + 'A');
        }
        return text;
    }

    std::string RandomCase(std::string text)
    {
        for (char& ch : text)
        {
            if (Chance(0.5))
                ch = Upper(std::string(1, ch))[0];
            else
                ch = Lower(std::string(1, ch))[0];
        }
        return text;
    }

    std::string Identifier()
    {
        static const char Digits[] = "0123456789abcdef";
        std::string hex;
        for (int i = 0; i < 32; ++i)
            hex += Digits[Uniform(0, 15)];
        return hex;
    }

    std::string NameFor(const std::string& identifier)
    {
        int form = Uniform(0, 9);
        return form < 7 ? identifier : form < 9 ? Upper(identifier) : RandomCase(identifier);
    }

    // Keys differing only in letter case are one key in the registry.
    void AddKey(Tree& tree, const Key& key)
    {
        if (m_names.insert(Lower(key.ListedName())).second)
            tree.keys.push_back(key);
    }

    static std::string Bytes(const std::string& hex) { return ProfileTreeBuilder::HexBytes(hex); }

    Value Identifiers(const std::string& hex)
    {
        switch (Uniform(0, 19))
        {
        case 0:
            return {REG_SZ, hex + '\0'};
        case 1:
            return {REG_BINARY, ""};
        case 2:
            return {REG_BINARY, std::string(1024, '\x11')};
        case 3:
            return {REG_BINARY, Bytes(hex + Identifier())};
        default:
            return {REG_BINARY, Bytes(hex)};
        }
    }

    void AddAccount(Tree& tree, Key& accounts, int index)
    {
        Key account;
        account.name = "0000000" + std::to_string(index + 1);
        if (Chance(0.05))
        {
            account.unmappable = true;
            accounts.children.push_back(account);
            return;
        }
        if (Chance(0.9))
            account.values["Account Name"] = Chance(0.9) ? Value{REG_SZ, std::string("Konto %s\0", 9)}
                                                         : Value{REG_DWORD, std::string("\1\0\0\0", 4)};
        std::string service = Chance(0.03) ? "0a0d020000000000c000000000000046" : Identifier();
        std::string store = Identifier();
        if (Chance(0.92))
            account.values["Service UID"] = Identifiers(service);
        accounts.children.push_back(account);
        m_identifiers.push_back(service);
        m_identifiers.push_back(store);

        if (Chance(0.9))
        {
            Key serviceKey;
            serviceKey.name = NameFor(service);
            if (Chance(0.92))
                serviceKey.values["01023d00"] = Identifiers(store);
            if (Chance(0.3))
                AddDisplayValues(serviceKey);
            AddKey(tree, serviceKey);
        }
        if (Chance(0.8))
            AddSection(tree, NameFor(store));
    }

    std::string DisplayName()
    {
        switch (Uniform(0, 9))
        {
        case 0:
        case 1:
        case 2:
            return m_pst;
        case 3:
        case 4:
            return RandomCase(m_pst);
        case 5:
            return m_pst + " ";
        case 6:
            return m_pst.substr(0, m_pst.size() - 1);
        case 7:
            return "";
        case 8:
            return "Inne";
        default:
            return RandomCase("nvpublicfolders");
        }
    }

    std::string Provider()
    {
        return Pick<std::string>({"NvPFStore.dll", "nvpfSTORE.DLL", "NvPFStore.dll ", "mspst.dll", ""});
    }

    static std::string Utf16(const std::string& text)
    {
        std::string bytes;
        for (unsigned char ch : text)
        {
            bytes += static_cast<char>(ch);
            bytes += '\0';
        }
        return bytes;
    }

    // A text in one of the forms the registry may hold it in.
    Value Text(bool wide, const std::string& text)
    {
        switch (Uniform(0, 9))
        {
        case 0:
            return {REG_BINARY, Utf16(text)};
        case 1:
            return {REG_BINARY, Utf16(text).substr(0, text.empty() ? 0 : text.size() * 2 - 1)};
        case 2:
            return wide ? Value{REG_SZ, text + '\0'} : Value{REG_BINARY, Utf16(text + '\0')};
        case 3:
            return {REG_MULTI_SZ, text + std::string("\0\0", 2)};
        case 4:
            return {REG_BINARY, Utf16(text) + std::string("\x2D\x4E\0\0", 4)};
        default:
            return wide ? Value{REG_BINARY, Utf16(text + '\0')} : Value{REG_SZ, text + '\0'};
        }
    }

    void AddDisplayValues(Key& key)
    {
        if (Chance(0.6))
            key.values["001f3001"] = Text(true, DisplayName());
        if (Chance(0.4))
            key.values["001e3001"] = Text(false, DisplayName());
        if (Chance(0.3))
            key.values["001f300a"] = Text(true, Provider());
        if (Chance(0.3))
            key.values["001e300a"] = Text(false, Provider());
    }

    std::string Reference()
    {
        if (!m_identifiers.empty() && Chance(0.5))
            return m_identifiers[static_cast<size_t>(Uniform(0, int(m_identifiers.size()) - 1))];
        return Identifier();
    }

    void AddSection(Tree& tree, const std::string& name)
    {
        Key section;
        section.name = name;
        AddDisplayValues(section);
        if (Chance(0.6))
            section.values["01023d00"] = Identifiers(Reference());
        if (Chance(0.4))
            section.values["01023d0c"] = Identifiers(Reference());
        if (Chance(0.1))
        {
            Key own;
            own.name = "Own";
            section.children.push_back(own);
        }
        AddKey(tree, section);
    }

    std::mt19937 m_random;
    std::string m_pst;
    std::set<std::string> m_names;
    std::vector<std::string> m_identifiers;
};

// --- Running ---------------------------------------------------------------

std::wstring Widen(const std::string& ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

void Write(ProfileTreeBuilder& builder, const Key& key, const std::string& parent)
{
    std::string path = parent.empty() ? key.name : parent + "\\" + key.name;
    if (key.unmappable)
    {
        builder.AddKey((parent.empty() ? L"" : Widen(parent) + L"\\") + L"\x4E2D" + Widen(key.name));
        return;
    }
    builder.AddKey(path);
    for (const auto& [name, value] : key.values)
        builder.SetValue(path, name, value.type, value.bytes);
    for (const Key& child : key.children)
        Write(builder, child, path);
}

// The engine's outcome as the oracle numbers it.
int Number(CoreOutcome::What what)
{
    return what == CoreOutcome::What::RemovalFailed ? 2 : what == CoreOutcome::What::InvalidSections ? 1 : 0;
}

Outcome RunEngine(ProfileTreeBuilder& builder, const Tree& tree, bool checkOnly)
{
    Outcome outcome;
    std::set<std::string> before = builder.Sections();
    GhostPstRemover remover(L"Random", AnsiToWide(tree.pst.c_str()), checkOnly);
    try
    {
        outcome.result = Number(remover.Run());
    }
    catch (const Error::NvExceptionCommon& e)
    {
        outcome.throws = true;
        outcome.result = static_cast<int>(e.GetError());
    }
    for (const std::wstring& name : remover.GetInvalidSections())
        outcome.invalid.insert(WideToAnsi(name).Str());
    for (const std::wstring& name : remover.GetFailedSections())
        outcome.failed.insert(WideToAnsi(name).Str());
    std::set<std::string> after = builder.Sections();
    for (const std::string& name : before)
    {
        if (after.count(name) == 0)
            outcome.deleted.insert(name);
    }
    for (const std::string& name : after)
    {
        if (before.count(name) == 0)
            outcome.deleted.insert("(appeared) " + name);
    }
    return outcome;
}

// No run may delete a reserved key or a key named by an account's service or
// by a service's store reference.
bool IsProtected(const Tree& tree, const std::string& name)
{
    const Key* accounts = FindIgnoringCase(tree.keys, AccountsKeyName);
    return IsReserved(name) || (accounts != nullptr && Holds(ReachedIdentifiers(*accounts, tree.keys), name));
}

std::string Describe(const Tree& tree)
{
    std::ostringstream out;
    out << "PST \"" << tree.pst << "\"\n";
    std::function<void(const Key&, int)> describe = [&](const Key& key, int depth) {
        out << std::string(depth * 2, ' ') << key.ListedName() << "\n";
        for (const auto& [name, value] : key.values)
        {
            out << std::string(depth * 2 + 2, ' ') << name << " type " << value.type << ":";
            for (unsigned char byte : value.bytes.substr(0, 40))
                out << " " << std::hex << int(byte) << std::dec;
            out << (value.bytes.size() > 40 ? " ..." : "") << "\n";
        }
        for (const Key& child : key.children)
            describe(child, depth + 1);
    };
    for (const Key& key : tree.keys)
        describe(key, 1);
    return out.str();
}

std::string Describe(const Outcome& outcome)
{
    std::ostringstream out;
    out << (outcome.throws ? "throws " : "result ") << outcome.result;
    for (const auto& [label, names] :
         {std::make_pair("deleted", &outcome.deleted), std::make_pair("invalid", &outcome.invalid),
          std::make_pair("failed", &outcome.failed)})
    {
        out << ", " << label << " {";
        for (const std::string& name : *names)
            out << " " << name;
        out << " }";
    }
    return out.str();
}

TEST(RandomProfiles, EngineAgreesWithTheModel)
{
    const char* seedText = std::getenv("STRAYSWEEP_ORACLE_SEED");
    unsigned seed = seedText != nullptr ? static_cast<unsigned>(std::strtoul(seedText, nullptr, 10)) : DefaultSeed;
    std::printf("Random profiles: seed %u, %d trees\n", seed, TreeCount);
    CLogFile::Instance().OpenWithSizeLimit();
    auto started = std::chrono::steady_clock::now();

    TreeGenerator generator(seed);
    // Outcomes by kind, so that the output shows what the trees exercised.
    std::map<std::string, int> kinds;
    for (int index = 0; index < TreeCount; ++index)
    {
        Tree tree = generator.Next();
        ScratchRegistry registry;
        ProfileTreeBuilder builder("Random");
        for (const Key& key : tree.keys)
            Write(builder, key, "");
        std::set<std::string> original = builder.Sections();

        for (bool checkOnly : {true, false})
        {
            Outcome expected = Model(tree, checkOnly);
            if (expected.throws)
                expected.result = ERROR_FILE_NOT_FOUND;
            Outcome actual = RunEngine(builder, tree, checkOnly);
            ++kinds[std::string(checkOnly ? "check " : "repair ") +
                    (expected.throws ? "throws" : std::to_string(expected.result))];
            kinds["deleted sections"] += static_cast<int>(expected.deleted.size());
            ASSERT_EQ(Describe(expected), Describe(actual))
                << "seed " << seed << ", tree " << index << (checkOnly ? ", check" : ", repair") << "\n"
                << Describe(tree);
            for (const std::string& name : actual.deleted)
            {
                ASSERT_FALSE(IsProtected(tree, name)) << name << " deleted; seed " << seed << ", tree " << index << "\n"
                                                      << Describe(tree);
            }
        }
    }

    auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
    std::printf("Random profiles: %d trees in %lld ms\n", TreeCount, static_cast<long long>(elapsed.count()));
    for (const auto& [kind, count] : kinds)
        std::printf("  %s: %d\n", kind.c_str(), count);
}
} // namespace
