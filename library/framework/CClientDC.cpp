#include "library/framework/CClientDC.h"

#include "library/framework/CWnd.h"

CClientDC::CClientDC(CWnd* window) : m_hWnd(window->m_hWnd)
{
    m_hDC = GetDC(m_hWnd);
    m_savedState = m_hDC != nullptr ? SaveDC(m_hDC) : 0;
}

CClientDC::~CClientDC()
{
    if (m_hDC == nullptr)
        return;
    // Objects still selected go back before the context does, so that their
    // owners can delete them.
    if (m_savedState != 0)
        RestoreDC(m_hDC, m_savedState);
    ReleaseDC(m_hWnd, m_hDC);
}
