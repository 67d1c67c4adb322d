// An application on the framework's entry point: its exit code tells the
// test that InitInstance ran, as the application, before ExitInstance.
#include "library/framework/CWinApp.h"

#include <cstring>

namespace
{
class TestApplication : public CWinApp
{
public:
    BOOL InitInstance() override
    {
        m_ranAsTheApplication = AfxGetApp() == this && std::strcmp(m_pszAppName, "test_application") == 0;
        return FALSE;
    }

    int ExitInstance() override { return CWinApp::ExitInstance() + (m_ranAsTheApplication ? 42 : 13); }

private:
    bool m_ranAsTheApplication = false;
};

TestApplication theApp;
} // namespace
