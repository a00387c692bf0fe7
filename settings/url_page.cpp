#include "settings/url_page.h"

#include "settings/resources/resource.h"

CURLPage::CURLPage() : CPropertyPage(IDD_URL_PAGE) {}

CURLPage::~CURLPage() = default;
