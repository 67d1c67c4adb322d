#include "library/base/CString.h"

#include "library/base/AfxResource.h"
#include "library/base/TextConversionFlags.h"

#include <mbstring.h>

#include <cstdio>
#include <vector>

namespace
{
bool IsResourceId(LPCSTR text)
{
    return text != nullptr && reinterpret_cast<ULONG_PTR>(text) < 0x10000;
}

bool IsTrimSpace(unsigned char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\v' || ch == '\f' || ch == '\r';
}

// Steps over one character; a lead byte followed by the terminating NUL is
// taken alone so that a broken tail never runs past the end.
const unsigned char* NextChar(const unsigned char* p)
{
    if (_ismbblead(*p) && p[1] != '\0')
        return p + 2;
    return p + 1;
}
} // namespace

CString::CString(LPCSTR text)
{
    *this = text;
}

CString::CString(LPCSTR text, int length) : m_text(text, static_cast<size_t>(length))
{
}

CString::CString(const std::string& text) : m_text(text)
{
}

CString& CString::operator=(LPCSTR text)
{
    if (text == nullptr)
        m_text.clear();
    else if (IsResourceId(text))
        LoadString(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(text)));
    else
        m_text.assign(text);
    return *this;
}

CString& CString::operator+=(const CString& text)
{
    m_text += text.m_text;
    return *this;
}

CString& CString::operator+=(LPCSTR text)
{
    return *this += CString(text);
}

CString& CString::operator+=(char ch)
{
    m_text += ch;
    return *this;
}

BOOL CString::LoadString(UINT id)
{
    m_text.clear();
    std::wstring resource = AfxLoadWideString(id);
    if (resource.empty())
        return FALSE;
    int length = static_cast<int>(resource.size());
    DWORD flags = ExactConversionFlags(CP_ACP);
    int bytes = WideCharToMultiByte(CP_ACP, flags, resource.data(), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return FALSE;
    m_text.resize(static_cast<size_t>(bytes));
    WideCharToMultiByte(CP_ACP, flags, resource.data(), length, &m_text[0], bytes, nullptr, nullptr);
    return TRUE;
}

void CString::Format(LPCSTR format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(LPCSTR format, va_list args)
{
    CString text(format);
    va_list measure;
    va_copy(measure, args);
    int length = std::vsnprintf(nullptr, 0, text.m_text.c_str(), measure);
    va_end(measure);
    if (length <= 0)
    {
        m_text.clear();
        return;
    }
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), text.m_text.c_str(), args);
    m_text.assign(buffer.data(), static_cast<size_t>(length));
}

void CString::AppendFormat(LPCSTR format, ...)
{
    CString more;
    va_list args;
    va_start(args, format);
    more.FormatV(format, args);
    va_end(args);
    m_text += more.m_text;
}

CString& CString::TrimRight()
{
    const auto* begin = reinterpret_cast<const unsigned char*>(m_text.c_str());
    const unsigned char* lastSpaceRun = nullptr;
    for (const unsigned char* p = begin; *p != '\0'; p = NextChar(p))
    {
        if (IsTrimSpace(*p))
        {
            if (lastSpaceRun == nullptr)
                lastSpaceRun = p;
        }
        else
        {
            lastSpaceRun = nullptr;
        }
    }
    if (lastSpaceRun != nullptr)
        m_text.resize(static_cast<size_t>(lastSpaceRun - begin));
    return *this;
}

CString& CString::TrimLeft()
{
    const auto* begin = reinterpret_cast<const unsigned char*>(m_text.c_str());
    const unsigned char* p = begin;
    while (*p != '\0' && IsTrimSpace(*p))
        ++p;
    m_text.erase(0, static_cast<size_t>(p - begin));
    return *this;
}

CString& CString::Trim()
{
    return TrimRight().TrimLeft();
}

int CString::Remove(char ch)
{
    size_t before = m_text.size();
    std::string kept;
    kept.reserve(before);
    for (char c : m_text)
    {
        if (c != ch)
            kept += c;
    }
    m_text.swap(kept);
    return static_cast<int>(before - m_text.size());
}

CString CString::Left(int count) const
{
    if (count < 0)
        count = 0;
    return CString(m_text.substr(0, static_cast<size_t>(count)));
}

CString CString::Mid(int first) const
{
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const
{
    if (first < 0)
        first = 0;
    if (first >= GetLength() || count <= 0)
        return CString();
    return CString(m_text.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

int CString::Compare(LPCSTR other) const
{
    return m_text.compare(other == nullptr ? "" : other);
}

int CString::CompareNoCase(LPCSTR other) const
{
    return _mbsicmp(reinterpret_cast<const unsigned char*>(m_text.c_str()),
                    reinterpret_cast<const unsigned char*>(other == nullptr ? "" : other));
}

LPSTR CString::GetBuffer(int minLength)
{
    if (minLength > GetLength())
        m_text.resize(static_cast<size_t>(minLength));
    return &m_text[0];
}

LPSTR CString::GetBufferSetLength(int length)
{
    m_text.resize(static_cast<size_t>(length < 0 ? 0 : length));
    return &m_text[0];
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength < 0)
        m_text.resize(std::char_traits<char>::length(m_text.c_str()));
    else
        m_text.resize(static_cast<size_t>(newLength));
}

CString operator+(const CString& left, const CString& right)
{
    CString result(left);
    result += right;
    return result;
}

CString operator+(const CString& left, LPCSTR right)
{
    return left + CString(right);
}

CString operator+(LPCSTR left, const CString& right)
{
    return CString(left) + right;
}

CString operator+(const CString& left, char right)
{
    CString result(left);
    result += right;
    return result;
}

bool operator==(const CString& left, const CString& right)
{
    return left.Str() == right.Str();
}

bool operator==(const CString& left, LPCSTR right)
{
    return left.Compare(right) == 0;
}

bool operator==(LPCSTR left, const CString& right)
{
    return right.Compare(left) == 0;
}

bool operator!=(const CString& left, const CString& right)
{
    return !(left == right);
}

bool operator!=(const CString& left, LPCSTR right)
{
    return !(left == right);
}

bool operator<(const CString& left, const CString& right)
{
    return left.Str() < right.Str();
}

std::wstring Trimmed(const std::wstring& text)
{
    const wchar_t* const space = L" \t\n\v\f\r";
    size_t first = text.find_first_not_of(space);
    if (first == std::wstring::npos)
        return std::wstring();
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}
