#pragma once

// The tests' own dialog, laid out like the program's main dialog.
#define IDD_TEST_DIALOG 3000
#define IDC_TEST_PLACEHOLDER 3001
#define IDC_TEST_COMBO 3002
#define IDC_TEST_EDIT 3003
#define IDC_TEST_ACTION 3004
#define IDC_TEST_OTHER 3005
#define IDC_TEST_LINK 3006
#define IDC_TEST_CREDIT 3007
#define IDC_TEST_ICON 3008
// In no template.
#define IDC_TEST_MISSING 3099
