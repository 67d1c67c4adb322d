#include "tests/support/DialogDriver.h"

#include "tests/support/MessageBoxCatcher.h"

#include <stdexcept>

#include <gtest/gtest.h>

namespace
{
DialogDriver* g_driver = nullptr;
const UINT StepIntervalMs = 10;
const DWORD TimeLimitMs = 20000;
const DWORD WaitLimitMs = 10000;
} // namespace

DialogDriver::DialogDriver()
{
    if (g_driver != nullptr)
        throw std::logic_error("one dialog driver at a time");
    m_hook = SetWindowsHookExA(WH_CALLWNDPROCRET, &DialogDriver::HookProc, nullptr, GetCurrentThreadId());
    if (m_hook == nullptr)
        throw std::runtime_error("cannot install the dialog driver's hook");
    g_driver = this;
}

DialogDriver::~DialogDriver()
{
    if (m_timer != 0)
        KillTimer(nullptr, m_timer);
    UnhookWindowsHookEx(m_hook);
    g_driver = nullptr;
}

DialogDriver& DialogDriver::Then(Step step)
{
    m_steps.push_back({std::move(step), nullptr, std::string()});
    return *this;
}

DialogDriver& DialogDriver::WaitUntil(std::function<bool(HWND dialog)> condition, std::string what)
{
    m_steps.push_back({nullptr, std::move(condition), std::move(what)});
    return *this;
}

LRESULT CALLBACK DialogDriver::HookProc(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && g_driver != nullptr && g_driver->m_dialog == nullptr &&
        message->message == WM_INITDIALOG && !MessageBoxCatcher::IsMessageBox(message->hwnd))
        g_driver->Start(message->hwnd);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL CALLBACK DialogDriver::CancelEnabledWindow(HWND window, LPARAM)
{
    if (IsWindowVisible(window) && IsWindowEnabled(window))
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return TRUE;
}

void CALLBACK DialogDriver::TimerProc(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_driver != nullptr)
        g_driver->Tick();
}

void DialogDriver::Start(HWND dialog)
{
    m_dialog = dialog;
    m_started = GetTickCount();
    // A thread timer: every message loop of the thread dispatches it, and
    // only once the queue holds no posted message.
    m_timer = SetTimer(nullptr, 0, StepIntervalMs, &DialogDriver::TimerProc);
    if (m_timer == 0)
        ADD_FAILURE() << "cannot start the dialog driver's timer";
}

void DialogDriver::Tick()
{
    if (m_running)
        return;
    if (!IsWindow(m_dialog))
    {
        KillTimer(nullptr, m_timer);
        m_timer = 0;
        return;
    }
    if (GetTickCount() - m_started > TimeLimitMs)
    {
        if (!m_timedOut)
            ADD_FAILURE() << "the dialog was still open after " << TimeLimitMs / 1000 << " seconds, with "
                          << m_steps.size() << " steps left";
        m_timedOut = true;
        m_steps.clear();
        // Whatever runs above the dialog (a box, the About box) goes first:
        // only the window the user could reach is cancelled.
        EnumThreadWindows(GetCurrentThreadId(), &DialogDriver::CancelEnabledWindow, 0);
        return;
    }
    if (m_steps.empty())
        return;
    m_running = true;
    // Nothing may leave through the system's message dispatch.
    try
    {
        if (m_steps.front().condition)
        {
            Wait();
        }
        else
        {
            Step step = std::move(m_steps.front().step);
            m_steps.pop_front();
            step(m_dialog);
        }
    }
    catch (const std::exception& e)
    {
        ADD_FAILURE() << "a step threw: " << e.what();
    }
    m_running = false;
}

void DialogDriver::Wait()
{
    const Entry& front = m_steps.front();
    if (m_waitStarted == 0)
        m_waitStarted = GetTickCount();
    bool held = front.condition(m_dialog);
    bool timedOut = !held && GetTickCount() - m_waitStarted > WaitLimitMs;
    if (!held && !timedOut)
        return;
    if (timedOut)
        ADD_FAILURE() << "waited " << WaitLimitMs / 1000 << " seconds in vain for " << front.what;
    m_waitStarted = 0;
    m_steps.pop_front();
}
