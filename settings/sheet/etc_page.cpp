#include "settings/sheet/etc_page.h"

#include "framework/data_exchange.h"
#include "settings/resources/resource.h"
#include "settings/store/store_key.h"
#include "settings/store/store_names.h"

namespace {
const char kUseAddressValue[] = "UseAddress";
// Added after the first versions, which ignore it.
const char kUsePickerValue[] = "UsePicker";
const char kUseVariablesValue[] = "UseVariables";
} // namespace

BEGIN_MESSAGE_MAP(CEtcPage, CPropertyPage)
ON_BN_CLICKED(IDC_USE_ADDRESS, OnClickUseAddress)
ON_BN_CLICKED(IDC_USE_PICKER, OnClickUsePicker)
ON_BN_CLICKED(IDC_USE_VARIABLES, OnClickUseVariables)
END_MESSAGE_MAP()

CEtcPage::CEtcPage()
    : CPropertyPage(IDD_ETC_PAGE), m_bUseAddress(FALSE), m_bUsePicker(FALSE),
      m_bUseVariables(FALSE) {}

CEtcPage::~CEtcPage() = default;

void CEtcPage::DoDataExchange(CDataExchange* dx) {
    CPropertyPage::DoDataExchange(dx);
    DDX_Check(dx, IDC_USE_ADDRESS, m_bUseAddress);
    DDX_Check(dx, IDC_USE_PICKER, m_bUsePicker);
    DDX_Check(dx, IDC_USE_VARIABLES, m_bUseVariables);
}

BOOL CEtcPage::OnInitDialog() {
    // The store is read only when the page is first shown.
    CStoreRootKey root(kStoreCompany, kStoreProduct);
    m_bUseAddress = static_cast<BOOL>(root.GetDword(kUseAddressValue, 0));
    m_bUsePicker = static_cast<BOOL>(root.GetDword(kUsePickerValue, 0));
    m_bUseVariables = static_cast<BOOL>(root.GetDword(kUseVariablesValue, 0));
    CPropertyPage::OnInitDialog();
    return TRUE;
}

BOOL CEtcPage::OnApply() {
    UpdateData(TRUE);
    CStoreRootKey root(kStoreCompany, kStoreProduct);
    root.WriteDword(kUseAddressValue, static_cast<DWORD>(m_bUseAddress));
    root.WriteDword(kUsePickerValue, static_cast<DWORD>(m_bUsePicker));
    root.WriteDword(kUseVariablesValue, static_cast<DWORD>(m_bUseVariables));
    return CPropertyPage::OnApply();
}

void CEtcPage::OnClickUseAddress() {
    SetModified(TRUE);
}

void CEtcPage::OnClickUsePicker() {
    SetModified(TRUE);
}

void CEtcPage::OnClickUseVariables() {
    SetModified(TRUE);
}
