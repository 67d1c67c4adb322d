#pragma once

#include "library/framework/CDialog.h"

// The About box: template 100 and nothing of its own.
class CAboutDlg : public CDialog
{
public:
    CAboutDlg();
};
