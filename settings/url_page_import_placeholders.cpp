// The two import commands, until the imports are built in files of their own.
#include "settings/url_page.h"

void CURLPage::InsertFavorites() {}

void CURLPage::InsertFromHtml() {}
