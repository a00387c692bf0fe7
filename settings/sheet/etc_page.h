// The page "その他": whether the compose window also offers the address book,
// whether "文字列を挿入" starts with the picker "検索して挿入...", and whether
// texts fill in their variables.
#pragma once
#include "framework/property_page.h"

class CEtcPage : public CPropertyPage {
  public:
    CEtcPage();
    ~CEtcPage() override;

    BOOL m_bUseAddress;   // state of the check box
    BOOL m_bUsePicker;    // state of the picker's check box
    BOOL m_bUseVariables; // texts fill in their {{…}} variables

  protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL OnApply() override;

    void OnClickUseAddress();
    void OnClickUsePicker();
    void OnClickUseVariables();

    DECLARE_MESSAGE_MAP()
};
