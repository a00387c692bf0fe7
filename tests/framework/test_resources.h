// Dialog templates and strings of the framework's test program.
#pragma once

#define IDD_TEST_DIALOG 100
#define IDD_TEST_PAGE 200
#define IDD_SECOND_PAGE 201
#define IDD_THIRD_PAGE 202
#define IDS_TEST_CAPTION 300
#define IDS_TAB_TITLE 301

#define IDC_TEST_EDIT 1001
#define IDC_TEST_CHECK 1002
#define IDC_TEST_BUTTON 1003
#define IDC_TEST_TREE 1010
