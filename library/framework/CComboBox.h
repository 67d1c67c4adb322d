#pragma once

#include "library/framework/CWnd.h"

#include <string>

// A combo box control, usually bound to a dialog's control by DDX_Control.
class CComboBox : public CWnd
{
public:
    // Index of the new entry (its sorted place in a sorted list), or CB_ERR.
    int AddString(const std::wstring& text);
    // Selects the first entry after `startAfter` (-1: from the start) whose
    // text begins with `text`, ignoring case; its index, or CB_ERR with the
    // selection unchanged.
    int SelectString(int startAfter, const std::wstring& text);
    // Empties the list and, for a combo box with an edit field, the field.
    void ResetContent();
    int SetCurSel(int index);
    // The selected index, or CB_ERR.
    int GetCurSel() const;
    int GetCount() const;
    // The text of entry `index`; empty for an index out of range.
    void GetLBText(int index, std::wstring& text) const;
    // The edit field's selection in characters: its start and the position
    // after its end (both the caret's position when nothing is selected).
    void GetEditSel(DWORD& start, DWORD& end) const;
    // Selects characters `start` to `end` (exclusive) of the edit field, at
    // most 65,535 each.
    BOOL SetEditSel(int start, int end);
};
