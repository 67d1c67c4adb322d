#pragma once

#include "library/framework/CDialog.h"

#include <deque>
#include <functional>

#include <gtest/gtest.h>

// A test dialog that acts on itself while it runs modally: each step is
// posted to the dialog once the one before has run, and runs when the
// dialog's own loop takes it, after every message posted before it. A step
// that a message box's loop comes across waits for the box to close. A
// dialog still open after 15 seconds fails the test and ends.
template <typename Base> class ScriptedDialog : public Base
{
public:
    using Base::Base;

    ScriptedDialog& Then(std::function<void()> step)
    {
        m_steps.push_back(std::move(step));
        return *this;
    }

protected:
    BOOL OnInitDialog() override
    {
        BOOL result = Base::OnInitDialog();
        SetTimer(this->m_hWnd, SafetyTimer, 15000, nullptr);
        this->PostMessage(StepMessage);
        return result;
    }

    BOOL PreTranslateMessage(MSG* message) override
    {
        if (message->hwnd == this->m_hWnd && message->message == StepMessage)
        {
            RunStep();
            return TRUE;
        }
        return Base::PreTranslateMessage(message);
    }

    BOOL MessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        if (message == StepMessage)
        {
            // Taken by a nested loop: back to the end of the queue.
            this->PostMessage(StepMessage);
            *result = 0;
            return TRUE;
        }
        if (message == WM_TIMER && wParam == SafetyTimer)
        {
            ADD_FAILURE() << "the test dialog was still open after 15 seconds";
            this->EndDialog(-2);
            *result = 0;
            return TRUE;
        }
        return Base::MessageMap(message, wParam, lParam, result);
    }

private:
    static constexpr UINT StepMessage = WM_APP + 77;
    static constexpr UINT_PTR SafetyTimer = 7077;

    void RunStep()
    {
        if (m_steps.empty())
            return;
        std::function<void()> step = std::move(m_steps.front());
        m_steps.pop_front();
        step();
        if (!m_steps.empty() && this->m_hWnd != nullptr)
            this->PostMessage(StepMessage);
    }

    std::deque<std::function<void()>> m_steps;
};
