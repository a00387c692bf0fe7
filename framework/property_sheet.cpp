#include "framework/property_sheet.h"

#include "framework/app.h"

#include <commctrl.h>

namespace {
// The sheet whose window the system is creating (one modal sheet at a time per thread).
CPropertySheet* g_sheetBeingCreated = nullptr;
} // namespace

CPropertySheet::CPropertySheet(UINT captionId, HWND parent, UINT selectPage)
    : m_psh{}, m_strCaption(AfxLoadString(captionId)) {
    m_psh.dwSize = sizeof m_psh;
    m_psh.dwFlags = PSH_PROPSHEETPAGE | PSH_USECALLBACK;
    m_psh.hwndParent = parent;
    m_psh.nStartPage = selectPage;
    m_psh.pfnCallback = SheetCallback;
}

void CPropertySheet::AddPage(CPropertyPage* page) {
    m_pages.push_back(page);
}

INT_PTR CPropertySheet::DoModal() {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&classes);

    std::vector<PROPSHEETPAGEA> pages;
    for (CPropertyPage* page : m_pages)
        pages.push_back(page->m_psp);
    m_psh.hInstance = AfxGetResourceHandle();
    m_psh.pszCaption = m_strCaption.c_str();
    m_psh.nPages = static_cast<UINT>(pages.size());
    m_psh.ppsp = pages.data();

    CPropertySheet* outer = g_sheetBeingCreated;
    g_sheetBeingCreated = this;
    INT_PTR result = ::PropertySheetA(&m_psh);
    g_sheetBeingCreated = outer;
    m_hWnd = nullptr;
    return result;
}

// Called by the system: it must not throw, and does nothing that could.
int CALLBACK CPropertySheet::SheetCallback(HWND window, UINT message, LPARAM) noexcept {
    if (message == PSCB_INITIALIZED && g_sheetBeingCreated)
        g_sheetBeingCreated->m_hWnd = window;
    return 0;
}
