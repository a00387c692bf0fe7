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
