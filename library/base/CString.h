#pragma once

#include <windows.h>

#include <cstdarg>
#include <string>

// The narrow string of the program. Text is bytes in the thread's ANSI code
// page; multibyte-aware operations follow the C runtime's multibyte code page.
class CString
{
public:
    CString() = default;
    // A null pointer gives an empty string; a value below 0x10000 is a string
    // resource id, loaded from the current resource module (empty if missing).
    CString(LPCSTR text);
    CString(LPCSTR text, int length);
    CString(const std::string& text);

    CString& operator=(LPCSTR text);
    CString& operator+=(const CString& text);
    CString& operator+=(LPCSTR text);
    CString& operator+=(char ch);

    operator LPCSTR() const { return m_text.c_str(); }
    LPCSTR GetString() const { return m_text.c_str(); }
    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    char GetAt(int index) const { return m_text[static_cast<size_t>(index)]; }
    const std::string& Str() const { return m_text; }

    // Loads string resource `id` from the current resource module; FALSE and
    // an empty string when it is missing.
    BOOL LoadString(UINT id);

    // printf-style formatting into a string of unlimited length.
    void Format(LPCSTR format, ...);
    void FormatV(LPCSTR format, va_list args);
    void AppendFormat(LPCSTR format, ...);

    // White space is blank, TAB, LF, VT, FF and CR; double-byte characters are
    // stepped over as units and no byte of 0x80 or above is white space.
    CString& TrimRight();
    CString& TrimLeft();
    CString& Trim();

    // Removes every occurrence of a single-byte character; returns the count.
    int Remove(char ch);

    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;

    int Compare(LPCSTR other) const;
    // Case-insensitive comparison, multibyte-aware (_mbsicmp).
    int CompareNoCase(LPCSTR other) const;

    // A writable buffer of at least `minLength` characters plus a NUL.
    LPSTR GetBuffer(int minLength);
    LPSTR GetBufferSetLength(int length);
    // Ends buffer access; -1 takes the length up to the first NUL.
    void ReleaseBuffer(int newLength = -1);

private:
    std::string m_text;
};

CString operator+(const CString& left, const CString& right);
CString operator+(const CString& left, LPCSTR right);
CString operator+(LPCSTR left, const CString& right);
CString operator+(const CString& left, char right);

bool operator==(const CString& left, const CString& right);
bool operator==(const CString& left, LPCSTR right);
bool operator==(LPCSTR left, const CString& right);
bool operator!=(const CString& left, const CString& right);
bool operator!=(const CString& left, LPCSTR right);
bool operator<(const CString& left, const CString& right);

// `text` without the white space at its ends that Trim cuts: blank, TAB, LF,
// VT, FF and CR.
std::wstring Trimmed(const std::wstring& text);
