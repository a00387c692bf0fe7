// The plug-in's process-wide state. At load both lists are empty and neither
// popup exists.
#include "plugin_state.h"

MenuMetricsData MenuMetrics;
HMENU TextMenu;
HMENU AddressMenu;
TextList EntryTexts;
TextList AddressTexts;
