#include "tests/support/MessageBoxCatcher.h"

#include <stdexcept>

namespace
{
MessageBoxCatcher* g_catcher = nullptr;

// The box's icon is a static control: id 1088 under Wine, 0x14 on Windows.
BoxIcon ReadIcon(HWND box)
{
    HWND iconControl = GetDlgItem(box, 1088);
    if (iconControl == nullptr)
        iconControl = GetDlgItem(box, 0x14);
    if (iconControl == nullptr)
        return BoxIcon::None;
    HICON icon = reinterpret_cast<HICON>(SendMessageA(iconControl, STM_GETICON, 0, 0));
    // Style bits, not IsWindowVisible: the box itself is not shown yet when
    // it is activated.
    if (icon == nullptr || !(GetWindowLongA(iconControl, GWL_STYLE) & WS_VISIBLE))
        return BoxIcon::None;
    if (icon == LoadIcon(nullptr, IDI_HAND))
        return BoxIcon::Error;
    if (icon == LoadIcon(nullptr, IDI_EXCLAMATION))
        return BoxIcon::Exclamation;
    if (icon == LoadIcon(nullptr, IDI_QUESTION))
        return BoxIcon::Question;
    if (icon == LoadIcon(nullptr, IDI_ASTERISK))
        return BoxIcon::Information;
    return BoxIcon::None;
}

std::string WindowText(HWND window)
{
    char text[4096] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}
} // namespace

bool operator==(const CapturedBox& left, const CapturedBox& right)
{
    return left.text == right.text && left.caption == right.caption && left.owner == right.owner &&
           left.icon == right.icon && left.buttons == right.buttons;
}

void PrintTo(const CapturedBox& box, std::ostream* out)
{
    static const char* const Icons[] = {"none", "error", "exclamation", "question", "information"};
    *out << "{caption \"" << box.caption << "\", text \"" << box.text << "\", owner " << box.owner << ", icon "
         << Icons[static_cast<int>(box.icon)] << ", buttons";
    for (int button : box.buttons)
        *out << " " << button;
    *out << "}";
}

MessageBoxCatcher::MessageBoxCatcher(std::deque<int> answers) : m_answers(std::move(answers))
{
    if (g_catcher != nullptr)
        throw std::logic_error("one message box catcher at a time");
    m_hook = SetWindowsHookExA(WH_CALLWNDPROCRET, &MessageBoxCatcher::HookProc, nullptr, GetCurrentThreadId());
    if (m_hook == nullptr)
        throw std::runtime_error("cannot install the message box hook");
    g_catcher = this;
}

MessageBoxCatcher::~MessageBoxCatcher()
{
    UnhookWindowsHookEx(m_hook);
    g_catcher = nullptr;
}

bool MessageBoxCatcher::IsMessageBox(HWND window)
{
    char className[16] = {};
    GetClassNameA(window, className, sizeof(className));
    // Message boxes are dialogs of user32's own template: their instance is
    // user32 on Windows and none under Wine, never a module of ours.
    HMODULE instance = reinterpret_cast<HMODULE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    return lstrcmpA(className, "#32770") == 0 && GetDlgItem(window, 0xFFFF) != nullptr &&
           (instance == nullptr || instance == GetModuleHandleA("user32.dll"));
}

CapturedBox MessageBoxCatcher::Read(HWND box)
{
    CapturedBox captured;
    captured.caption = WindowText(box);
    HWND textControl = GetDlgItem(box, 0xFFFF);
    if (textControl != nullptr)
    {
        // WM_GETTEXT rather than GetWindowText, which may not reach the text.
        char text[8192] = {};
        SendMessageA(textControl, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
        captured.text = text;
        wchar_t wide[8192] = {};
        SendMessageW(textControl, WM_GETTEXT, sizeof(wide) / sizeof(wide[0]), reinterpret_cast<LPARAM>(wide));
        captured.wideText = wide;
    }
    captured.owner = GetWindow(box, GW_OWNER);
    captured.icon = ReadIcon(box);
    for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO})
    {
        HWND button = GetDlgItem(box, id);
        if (button != nullptr && (GetWindowLongA(button, GWL_STYLE) & WS_VISIBLE))
            captured.buttons.push_back(id);
    }
    return captured;
}

LRESULT CALLBACK MessageBoxCatcher::HookProc(int code, WPARAM wParam, LPARAM lParam)
{
    // Right after the box's WM_INITDIALOG it holds its text, icon and buttons.
    // Activation is not waited for: it depends on other processes' windows.
    const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && g_catcher != nullptr && message->message == WM_INITDIALOG && IsMessageBox(message->hwnd))
        g_catcher->Handle(message->hwnd);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void MessageBoxCatcher::Handle(HWND box)
{
    m_boxes.push_back(Read(box));
    if (m_onBox)
        m_onBox(m_boxes.back());

    int answer = IDOK;
    if (!m_answers.empty())
    {
        answer = m_answers.front();
        m_answers.pop_front();
    }
    else if (m_boxes.back().buttons.size() == 1)
    {
        answer = m_boxes.back().buttons.front();
    }
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
}
