// Resource ids of the plug-in, shared by Tevrix.rc and the code.
#pragma once

#define IDI_PLUGIN 1
#define IDD_VERSION_BOX 100
#define IDS_PLUGIN_VERSION 105
#define IDS_COPYRIGHT 106
#define IDS_EDITOR_VERSION 107
#define IDC_PLUGIN_VERSION 1002
#define IDC_COPYRIGHT 1003
#define IDC_EDITOR_VERSION 1004

// The picker dialog
#define IDD_PICKER 110
#define IDC_PICKER_QUERY 1010
#define IDC_PICKER_LIST 1011

// The questions a text asks at its insertion: one label and one field per
// question, created when the dialog opens.
#define IDD_QUESTIONS 120
#define IDC_QUESTION_FIELD 1100 // 1100..1119
#define IDC_QUESTION_LABEL 1120 // 1120..1139
