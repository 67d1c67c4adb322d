#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

// The icon a captured box showed.
enum class BoxIcon
{
    None,
    Error,
    Exclamation,
    Question,
    Information,
};

// What a message box showed, read when it became active.
struct CapturedBox
{
    std::string text;
    // The text as the box holds it, for letters that the ANSI code page
    // lacks; not compared by ==.
    std::wstring wideText;
    std::string caption;
    HWND owner = nullptr;
    BoxIcon icon = BoxIcon::None;
    std::vector<int> buttons; // IDOK, IDCANCEL, IDYES, IDNO... present in the box
};

bool operator==(const CapturedBox& left, const CapturedBox& right);
// For test failure messages.
void PrintTo(const CapturedBox& box, std::ostream* out);

// Watches the calling thread for message boxes (a window procedure hook), records each
// one and answers it with the next queued button id (IDOK, or the box's only
// button, when nothing is queued). Our own dialogs are not message boxes and
// are left alone.
class MessageBoxCatcher
{
public:
    explicit MessageBoxCatcher(std::deque<int> answers = {});
    ~MessageBoxCatcher();
    MessageBoxCatcher(const MessageBoxCatcher&) = delete;
    MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;

    const std::vector<CapturedBox>& Boxes() const { return m_boxes; }
    void Answer(int button) { m_answers.push_back(button); }
    // Runs once for each box after it was recorded and before it is answered.
    void OnBox(std::function<void(const CapturedBox&)> action) { m_onBox = std::move(action); }

    // A message box, not one of our own dialogs.
    static bool IsMessageBox(HWND window);
    static CapturedBox Read(HWND box);

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
    void Handle(HWND box);

    HHOOK m_hook = nullptr;
    std::deque<int> m_answers;
    std::vector<CapturedBox> m_boxes;
    std::function<void(const CapturedBox&)> m_onBox;
};
