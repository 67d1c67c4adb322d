#include "library/ui/NvDialogTemplate.h"

#include <cstring>

namespace
{
// Reads the fields of a template in order. Reading past its end fails the
// reader for good: every later read gives zeros.
class TemplateReader
{
public:
    TemplateReader(const BYTE* data, DWORD size) : m_start(data), m_data(data), m_end(data + size) {}

    bool Failed() const { return m_failed; }

    template <typename T> T Read()
    {
        T value{};
        if (Need(sizeof(T)))
        {
            std::memcpy(&value, m_data, sizeof(T));
            m_data += sizeof(T);
        }
        return value;
    }

    std::wstring ReadString()
    {
        std::wstring text;
        for (WCHAR c = Read<WCHAR>(); c != 0; c = Read<WCHAR>())
            text += c;
        return text;
    }

    // A field that is empty (0x0000), an ordinal (0xFFFF then the number) or
    // a string.
    void ReadNameOrOrdinal(WORD& ordinal, std::wstring& name)
    {
        WORD first = 0;
        if (Need(sizeof(first)))
            std::memcpy(&first, m_data, sizeof(first));
        if (first == 0xFFFF)
        {
            m_data += sizeof(WORD);
            ordinal = Read<WORD>();
        }
        else
        {
            name = ReadString();
        }
    }

    void Skip(size_t bytes)
    {
        if (Need(bytes))
            m_data += bytes;
    }

    // Items start on DWORD boundaries of the resource, which itself is DWORD
    // aligned.
    void AlignToDword() { Skip((4 - static_cast<size_t>(m_data - m_start) % 4) % 4); }

private:
    bool Need(size_t bytes)
    {
        if (!m_failed && static_cast<size_t>(m_end - m_data) < bytes)
            m_failed = true;
        return !m_failed;
    }

    const BYTE* m_start;
    const BYTE* m_data;
    const BYTE* m_end;
    bool m_failed = false;
};

// The window classes that a template may name by number; empty for others.
std::wstring PredefinedClassName(WORD atom)
{
    switch (atom)
    {
    case 0x80:
        return L"Button";
    case 0x81:
        return L"Edit";
    case 0x82:
        return L"Static";
    case 0x83:
        return L"ListBox";
    case 0x84:
        return L"ScrollBar";
    case 0x85:
        return L"ComboBox";
    }
    return std::wstring();
}
} // namespace

NvDialogTemplate::ReadResult NvDialogTemplate::Read(HMODULE module, int id)
{
    *this = NvDialogTemplate();
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), RT_DIALOG);
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    const BYTE* start = loaded != nullptr ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    if (start == nullptr)
        return ReadResult::Missing;
    TemplateReader reader(start, SizeofResource(module, resource));

    NvDialogTemplate result;
    WORD version = reader.Read<WORD>();
    WORD signature = reader.Read<WORD>();
    result.extended = version == 1 && signature == 0xFFFF;
    if (result.extended)
    {
        reader.Skip(sizeof(DWORD)); // help id
        result.exStyle = reader.Read<DWORD>();
        result.style = reader.Read<DWORD>();
    }
    else
    {
        // The classic form begins with its style, whose two words were read.
        result.style = MAKELONG(version, signature);
        result.exStyle = reader.Read<DWORD>();
    }
    WORD count = reader.Read<WORD>();
    reader.Skip(2 * sizeof(short)); // position
    result.cx = reader.Read<short>();
    result.cy = reader.Read<short>();
    WORD ordinal = 0;
    std::wstring name;
    reader.ReadNameOrOrdinal(ordinal, name); // menu
    reader.ReadNameOrOrdinal(ordinal, name); // window class
    result.caption = reader.ReadString();
    if (result.style & DS_SETFONT)
    {
        result.pointSize = reader.Read<WORD>();
        if (result.extended)
            reader.Skip(sizeof(WORD) + 2 * sizeof(BYTE)); // weight, italic, character set
        result.fontName = reader.ReadString();
    }

    for (WORD i = 0; i < count && !reader.Failed(); ++i)
    {
        reader.AlignToDword();
        Item item;
        if (result.extended)
        {
            reader.Skip(sizeof(DWORD)); // help id
            item.exStyle = reader.Read<DWORD>();
            item.style = reader.Read<DWORD>();
        }
        else
        {
            item.style = reader.Read<DWORD>();
            item.exStyle = reader.Read<DWORD>();
        }
        item.x = reader.Read<short>();
        item.y = reader.Read<short>();
        item.cx = reader.Read<short>();
        item.cy = reader.Read<short>();
        item.id = result.extended ? static_cast<int>(reader.Read<DWORD>()) : static_cast<int>(reader.Read<WORD>());
        WORD classAtom = 0;
        reader.ReadNameOrOrdinal(classAtom, item.className);
        if (item.className.empty())
        {
            item.className = PredefinedClassName(classAtom);
            if (item.className.empty())
                return ReadResult::Malformed;
        }
        reader.ReadNameOrOrdinal(item.textOrdinal, item.text);
        reader.Skip(reader.Read<WORD>()); // creation data
        result.items.push_back(item);
    }
    if (reader.Failed())
        return ReadResult::Malformed;
    *this = std::move(result);
    return ReadResult::Read;
}
