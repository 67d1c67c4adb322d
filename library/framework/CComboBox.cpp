#include "library/framework/CComboBox.h"

int CComboBox::AddString(const std::wstring& text)
{
    return static_cast<int>(::SendMessageW(m_hWnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

int CComboBox::SelectString(int startAfter, const std::wstring& text)
{
    return static_cast<int>(::SendMessageW(m_hWnd, CB_SELECTSTRING, static_cast<WPARAM>(startAfter),
                                           reinterpret_cast<LPARAM>(text.c_str())));
}

void CComboBox::ResetContent()
{
    SendMessage(CB_RESETCONTENT);
}

int CComboBox::SetCurSel(int index)
{
    return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index)));
}

int CComboBox::GetCurSel() const
{
    return static_cast<int>(SendMessage(CB_GETCURSEL));
}

int CComboBox::GetCount() const
{
    return static_cast<int>(SendMessage(CB_GETCOUNT));
}

void CComboBox::GetLBText(int index, std::wstring& text) const
{
    int length = static_cast<int>(::SendMessageW(m_hWnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0));
    if (length == CB_ERR)
    {
        text.clear();
        return;
    }
    text.assign(static_cast<size_t>(length) + 1, L'\0');
    int read = static_cast<int>(
        ::SendMessageW(m_hWnd, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0])));
    text.resize(read == CB_ERR ? 0 : static_cast<size_t>(read));
}

void CComboBox::GetEditSel(DWORD& start, DWORD& end) const
{
    start = 0;
    end = 0;
    SendMessage(CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
}

BOOL CComboBox::SetEditSel(int start, int end)
{
    return static_cast<BOOL>(SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(start, end)));
}
