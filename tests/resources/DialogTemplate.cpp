#include "tests/resources/DialogTemplate.h"

#include <cstring>
#include <stdexcept>

namespace
{
class TemplateReader
{
public:
    TemplateReader(const BYTE* data, DWORD size) : m_data(data), m_end(data + size) {}

    template <typename T> T Read()
    {
        Need(sizeof(T));
        T value;
        memcpy(&value, m_data, sizeof(T));
        m_data += sizeof(T);
        return value;
    }

    std::wstring ReadString()
    {
        std::wstring text;
        for (WCHAR c = Read<WCHAR>(); c != 0; c = Read<WCHAR>())
            text += c;
        return text;
    }

    // A field that is empty (0x0000), an ordinal (0xFFFF then the number) or a string.
    void ReadNameOrOrdinal(WORD& ordinal, std::wstring& name)
    {
        Need(sizeof(WORD));
        WORD first;
        memcpy(&first, m_data, sizeof(first));
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
        Need(bytes);
        m_data += bytes;
    }

    // Items start on DWORD boundaries of the resource, which itself is DWORD aligned.
    void AlignToDword(const BYTE* start)
    {
        size_t offset = m_data - start;
        Skip((4 - offset % 4) % 4);
    }

private:
    void Need(size_t bytes) const
    {
        if (static_cast<size_t>(m_end - m_data) < bytes)
            throw std::runtime_error("dialog template ends early");
    }

    const BYTE* m_data;
    const BYTE* m_end;
};

// The window classes that a template may name by number.
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
    throw std::runtime_error("unknown control class " + std::to_string(atom));
}
} // namespace

DialogTemplate ReadDialogTemplate(HMODULE module, int id)
{
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const BYTE* start = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    if (start == nullptr)
        throw std::runtime_error("no dialog template " + std::to_string(id));
    TemplateReader reader(start, SizeofResource(module, resource));

    DialogTemplate result;
    WORD version = reader.Read<WORD>();
    WORD signature = reader.Read<WORD>();
    if (version != 1 || signature != 0xFFFF)
        throw std::runtime_error("dialog template " + std::to_string(id) + " is not an extended template");
    reader.Skip(sizeof(DWORD)); // help id
    result.exStyle = reader.Read<DWORD>();
    result.style = reader.Read<DWORD>();
    WORD count = reader.Read<WORD>();
    reader.Skip(2 * sizeof(short)); // position
    result.cx = reader.Read<short>();
    result.cy = reader.Read<short>();
    WORD ordinal = 0;
    std::wstring name;
    reader.ReadNameOrOrdinal(ordinal, name); // menu
    reader.ReadNameOrOrdinal(ordinal, name); // window class
    result.caption = reader.ReadString();
    if (result.style & (DS_SETFONT | DS_FIXEDSYS))
    {
        result.pointSize = reader.Read<WORD>();
        reader.Skip(sizeof(WORD) + 2 * sizeof(BYTE)); // weight, italic, character set
        result.fontName = reader.ReadString();
    }

    for (WORD i = 0; i < count; ++i)
    {
        reader.AlignToDword(start);
        DialogTemplateItem item;
        reader.Skip(sizeof(DWORD)); // help id
        item.exStyle = reader.Read<DWORD>();
        item.style = reader.Read<DWORD>();
        item.x = reader.Read<short>();
        item.y = reader.Read<short>();
        item.cx = reader.Read<short>();
        item.cy = reader.Read<short>();
        item.id = static_cast<int>(reader.Read<DWORD>());
        WORD classAtom = 0;
        reader.ReadNameOrOrdinal(classAtom, item.className);
        if (item.className.empty())
            item.className = PredefinedClassName(classAtom);
        reader.ReadNameOrOrdinal(item.textOrdinal, item.text);
        reader.Skip(reader.Read<WORD>()); // creation data
        result.items.push_back(item);
    }
    return result;
}
