// The application framework the settings editor's classes derive from.
//
// Things worth knowing when building on it:
// - Windows are ANSI: tree views send the A forms of their notifications
//   (TVN_SELCHANGEDA, TVN_ENDLABELEDITA ...), so event tables name those.
// - DDX_Text towards a control sets its text, and a single-line edit then
//   reports EN_CHANGE as if the user had typed.
// - A handler of a notification answers through *result; a mouse handler
//   that calls Default() lets the dialog's default handling run as well.
// - Dialog templates and strings come from AfxGetResourceHandle(): the DLL
//   that set it in its entry point, else the executable.
#pragma once
#include "framework/app.h"
#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "framework/file_dialog.h"
#include "framework/guard.h"
#include "framework/image_list.h"
#include "framework/message_map.h"
#include "framework/property_page.h"
#include "framework/property_sheet.h"
#include "framework/stdio_file.h"
#include "framework/tree_ctrl.h"
#include "framework/wnd.h"
