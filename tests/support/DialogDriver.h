#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>

// Acts step by step on a dialog that code under test runs modally on the
// calling thread, from outside that code: a window hook sees the first
// dialog of the thread that is not a message box finish its WM_INITDIALOG,
// then a thread timer runs one step at a time from whichever message loop
// the thread is in (the dialog's own, or that of a box or dialog above it).
// A step never runs while another one runs, and each runs after the messages
// posted before it were handled. Once the dialog is gone no step runs; a
// dialog still open 20 seconds after its start fails the test, and IDCANCEL
// goes to it and to whatever the thread shows above it until it closes.
class DialogDriver
{
public:
    using Step = std::function<void(HWND dialog)>;

    DialogDriver();
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    DialogDriver& Then(Step step);
    // Holds the later steps until `condition` holds, tested at every tick,
    // for at most 10 seconds; then the test fails, saying `what` it waited
    // for, and the steps go on.
    DialogDriver& WaitUntil(std::function<bool(HWND dialog)> condition, std::string what);

    // The dialog taken over; null before it started. The handle stays as it
    // was after the dialog has gone, for comparison with box owners.
    HWND Dialog() const { return m_dialog; }
    // Steps that have not run.
    size_t StepsLeft() const { return m_steps.size(); }

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD);
    static BOOL CALLBACK CancelEnabledWindow(HWND window, LPARAM);
    void Start(HWND dialog);
    void Tick();
    // The first entry is a wait: it ends once its condition holds or its
    // time is up.
    void Wait();

    HHOOK m_hook = nullptr;
    UINT_PTR m_timer = 0;
    HWND m_dialog = nullptr;
    DWORD m_started = 0;
    bool m_running = false;
    bool m_timedOut = false;
    struct Entry
    {
        Step step;
        std::function<bool(HWND dialog)> condition;
        std::string what;
    };

    std::deque<Entry> m_steps;
    DWORD m_waitStarted = 0;
};
