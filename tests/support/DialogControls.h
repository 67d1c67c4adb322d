#pragma once

#include <windows.h>

#include <string>
#include <vector>

// What a user does to, and sees in, the controls of a dialog of the calling
// thread, through the messages the controls get from the system.

// Presses a push button (BM_CLICK); returns once its handler has run.
void Click(HWND dialog, int id);
// Puts a key press (WM_KEYDOWN) into the thread's queue for `window`, as the
// keyboard would: the dialog's loop takes it after what was posted before.
void PostKey(HWND window, UINT key);

std::string WindowText(HWND window);
std::string ControlText(HWND dialog, int id);
void SetControlText(HWND dialog, int id, const std::string& text);
bool IsControlEnabled(HWND dialog, int id);

// The entries of a combo box in list order.
std::vector<std::string> ComboEntries(HWND dialog, int id);
// The selected entry's text, or "<none>".
std::string ComboSelection(HWND dialog, int id);
// Selects the entry whose text is exactly `text` (letter case ignored, as
// the list compares), or none when there is no such entry, and tells the
// dialog as a choice of the user's would (CBN_SELCHANGE).
void SelectComboEntry(HWND dialog, int id, const std::string& text);

// The top-level window of the calling thread with that caption, other than
// `except`, or null.
HWND FindThreadWindow(const std::string& caption, HWND except = nullptr);
