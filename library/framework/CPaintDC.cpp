#include "library/framework/CPaintDC.h"

#include "library/framework/CWnd.h"

CPaintDC::CPaintDC(CWnd* window) : m_hWnd(window->m_hWnd)
{
    m_hDC = BeginPaint(m_hWnd, &m_ps);
    m_savedState = m_hDC != nullptr ? SaveDC(m_hDC) : 0;
}

CPaintDC::~CPaintDC()
{
    // Objects still selected go back before the context does, so that their
    // owners can delete them.
    if (m_savedState != 0)
        RestoreDC(m_hDC, m_savedState);
    EndPaint(m_hWnd, &m_ps);
}
