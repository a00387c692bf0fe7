// The page "共有メニュー": where a team's shared menu comes from and the
// title of its popup, what the plug-in last made of it, and the menu itself
// as a read-only tree from which an item can be copied into the user's own.
#pragma once
#include "framework/image_list.h"
#include "framework/property_page.h"
#include "framework/tree_ctrl.h"
#include "settings/backup/menu_backup.h"
#include "settings/menu_page/url_page.h"
#include "settings/shared_menu/shared_file_stamp.h"

#include <string>

class CSharedMenuPage : public CPropertyPage {
  public:
    // menuPage: the sheet's page "メニュー", at menuPageIndex among its pages.
    CSharedMenuPage(CURLPage& menuPage, int menuPageIndex);
    ~CSharedMenuPage() override;

    // The path or address as the page holds it, typed but not yet saved; as
    // stored while the page was never shown.
    std::string Source() const;
    // The shared file as this sheet last saw or wrote it.
    SharedFileStamp& Stamp() { return m_stamp; }
    // Takes the stored path's stamp now: what "共有メニューとして書き出す"
    // compares against until it writes. Not at the sheet's opening: a shared
    // folder that does not answer would hold up every reader's sheet.
    void RememberSharedFile();

  protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    // Refuses a source that is no full path, https:// address or address of this PC.
    BOOL OnApply() override;

    void OnBrowse();
    void OnEdited();
    void OnCopy();
    void OnTreeSelChanged(NMHDR* header, LRESULT* result);
    void OnTreeItemExpanding(NMHDR* header, LRESULT* result);

    DECLARE_MESSAGE_MAP()

  private:
    // The state in words and the tree, from the plug-in's files, for the
    // stored setting (which is what the plug-in reads).
    void ShowState();
    void FillTree(const std::string& title);
    void AddItems(const std::string& title);
    void Tell(const char* text) const;

    CURLPage& m_menuPage;
    int m_nMenuPageIndex;
    CImageList m_imageList;
    CTreeCtrl m_tree;
    std::string m_strSource;
    std::string m_strTitle;
    bool m_bFilling = false; // the page writes its own controls: no edit of the user's
    LoadedBackup m_copy;     // the entries the tree shows; item data: index + 1, 0 the top
    SharedFileStamp m_stamp;
};
