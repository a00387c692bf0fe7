// The application framework the settings editor's classes derive from.
#pragma once
#include "framework/app.h"
#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "framework/file_dialog.h"
#include "framework/image_list.h"
#include "framework/message_map.h"
#include "framework/property_page.h"
#include "framework/property_sheet.h"
#include "framework/stdio_file.h"
#include "framework/tree_ctrl.h"
#include "framework/wnd.h"
