// The page "メニュー": the menu tree. For now only the page itself.
#pragma once
#include "framework/property_page.h"

class CURLPage : public CPropertyPage {
  public:
    CURLPage();
    ~CURLPage() override;
};
