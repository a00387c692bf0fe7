// A modal property sheet: a window with a tab per page and the system's OK,
// Cancel and Apply buttons. Apply is present and starts disabled; there is no
// Help button.
#pragma once
#include "framework/property_page.h"

#include <string>
#include <vector>

class CPropertySheet : public CWnd {
  public:
    // captionId: string resource of the title. parent: the owner, or none for an
    // unowned top-level sheet. selectPage: the page shown when the sheet opens.
    explicit CPropertySheet(UINT captionId, HWND parent = nullptr, UINT selectPage = 0);

    // Pages appear as tabs in the order they are added; the sheet does not own them.
    void AddPage(CPropertyPage* page);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int index) const { return m_pages[index]; }

    // Runs the sheet until OK or Cancel closes it. The system's result: positive
    // when the sheet ran, -1 when it could not be created.
    virtual INT_PTR DoModal();

    PROPSHEETHEADERA m_psh;

  private:
    static int CALLBACK SheetCallback(HWND window, UINT message, LPARAM lParam) noexcept;

    std::string m_strCaption;
    std::vector<CPropertyPage*> m_pages;
};
