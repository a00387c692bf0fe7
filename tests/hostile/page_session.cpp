#include "page_session.h"

#include "framework/property_sheet.h"
#include "modal_closer.h"
#include "settings/resources/resource.h"

bool WithUrlPage(const std::function<void(OpenUrlPage& page)>& work, DWORD deadlineMs) {
    OpenUrlPage page;
    bool done = false;
    ModalCloser closer(
        [&] {
            HWND sheet = FindThreadWindow("#32770");
            if (!sheet || done)
                return;
            done = true;
            work(page);
            PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        },
        50, deadlineMs);
    CPropertySheet sheet(IDS_SHEET_CAPTION);
    sheet.AddPage(&page);
    sheet.DoModal();
    return done && !closer.TimedOut();
}

PageItem ReadPageItem(OpenUrlPage& page, HTREEITEM item) {
    PageItem read;
    read.title = page.Tree().GetItemText(item);
    if (const char* text = page.ItemString(item)) {
        read.isText = true;
        read.text = text;
    }
    for (HTREEITEM child = page.Tree().GetChildItem(item); child;
         child = page.Tree().GetNextSiblingItem(child))
        read.children.push_back(ReadPageItem(page, child));
    return read;
}
