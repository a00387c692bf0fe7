// The page "その他": whether the compose window also offers the address book.
#pragma once
#include "framework/property_page.h"

class CEtcPage : public CPropertyPage {
  public:
    CEtcPage();
    ~CEtcPage() override;

    BOOL m_bUseAddress; // state of the check box

  protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL OnApply() override;

    void OnClickUseAddress();

    DECLARE_MESSAGE_MAP()
};
