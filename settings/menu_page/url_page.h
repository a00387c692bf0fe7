// The page "メニュー": the menu of the store edited as a tree.
//
// Item model: every item has a title and an image index (0 text entry,
// 1 submenu collapsed, 2 submenu expanded; the selected image always equals
// it). A text entry owns a heap copy of its text as the item data; a submenu,
// and the single top item "Tevrix", carry none. The data alone decides the
// kind. The page releases an item's text when the tree deletes the item.
#pragma once
#include "framework/image_list.h"
#include "framework/property_page.h"
#include "framework/tree_ctrl.h"
#include "settings/store/menu_store.h"

#include <commdlg.h>

#include <string>
#include <vector>

class CURLPage : public CPropertyPage {
  public:
    CURLPage();
    ~CURLPage() override;

    // The top item: the first item at the outermost level; its children are
    // the top-level menu.
    HTREEITEM TopItem() const;
    // Inserts a text entry (image 0) owning a copy of text, under parent after
    // the given item (TVI_FIRST, TVI_LAST or a sibling). The new item, or null.
    HTREEITEM InsertTextEntry(HTREEITEM parent, HTREEITEM after, const char* title,
                              const char* text);
    // Inserts a submenu (image 1, no text). The new item, or null.
    HTREEITEM InsertSubmenu(HTREEITEM parent, HTREEITEM after, const char* title);
    // The text of a text entry, or null for a submenu and the top item.
    const char* ItemString(HTREEITEM item) const;
    // Tells the sheet the page has changes: Apply becomes enabled.
    void MarkChanged();
    // The tree, for commands that read or rearrange the whole menu.
    const CTreeCtrl& GetTree() const { return m_tree; }
    // Whether the tree holds the whole stored menu (its load did not fail).
    bool HoldsWholeMenu() const { return m_bTreeLoaded != FALSE; }
    // Gives the selected text entry the string box's text, as OK and Apply
    // do, so that the tree holds every edit made so far.
    void CommitStringBox();

  protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL OnApply() override;

    // Store to tree and back. A load that is not kLoaded leaves the tree
    // empty. SaveTree is FALSE when the store still holds the old menu.
    enum class LoadResult {
        kLoaded,
        kStoreBusy,   // no whole menu could be read: a save kept changing it
        kNotInserted, // the tree refused an item
    };
    LoadResult LoadTree();
    // False at the first item the tree refuses.
    bool InsertEntries(const std::vector<CMenuEntry>& entries, HTREEITEM parent);
    BOOL SaveTree();
    void CollectEntries(HTREEITEM first, std::vector<CMenuEntry>& entries) const;

    // Buttons and the string box.
    void OnAddEntry();
    void OnAddSubmenu();
    void OnDelete();
    void OnStringChange();
    // Imports of a Favorites folder (button 1011) and of an HTML file (1012).
    void InsertFavorites();
    void InsertFromHtml();
    // The button "変数...": a variable's syntax at the string box's caret.
    void OnInsertVariable();

    // Tree notifications.
    void OnTreeSelChanged(NMHDR* header, LRESULT* result);
    void OnTreeItemExpanding(NMHDR* header, LRESULT* result);
    void OnTreeDeleteItem(NMHDR* header, LRESULT* result);
    void OnTreeBeginLabelEdit(NMHDR* header, LRESULT* result);
    void OnTreeEndLabelEdit(NMHDR* header, LRESULT* result);

    // Moving an item with its subtree by dragging it onto another item.
    void OnTreeBeginDrag(NMHDR* header, LRESULT* result);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    // The drag ends without moving anything when the page loses the capture
    // or is cancelled.
    void OnCaptureChanged(HWND newCapture);
    void OnCancelMode();
    // The copy placed by the target's kind, with the whole subtree of source;
    // null, with nothing inserted, when any part of it could not be inserted.
    HTREEITEM CopyItem(HTREEITEM source, HTREEITEM target);
    // Copies first and its following siblings, with their subtrees, as the
    // last children of newParent; false when an item could not be inserted.
    bool CopyChildren(HTREEITEM first, HTREEITEM newParent);

    CImageList m_imageList;
    BOOL m_bEntryChanged;     // the user edited the string box since the last selection change
    CImageList* m_pDragImage; // the drag image during a drag, owned by the page
    BOOL m_bDragging;         // a drag is under way
    HTREEITEM m_hDragItem;    // the item being dragged
    HTREEITEM m_hDropItem;    // the last item the pointer was over during the drag
    CTreeCtrl m_tree;         // control 1010
    std::string m_strEntry;   // the string box, control 1001
    // The tree holds the whole stored menu. Until it does (a load that
    // failed), the page never writes its tree over the store.
    BOOL m_bTreeLoaded;

  private:
    // Adds a text entry or submenu next to the selection, selects it and opens its title.
    void AddItem(bool textEntry);
    // Replaces the text entry's string by a fresh copy of text.
    void ReplaceItemString(HTREEITEM item, const std::string& text);
    // Inserts a copy of the item alone (title, images, a fresh copy of its string).
    HTREEITEM InsertCopyOf(HTREEITEM source, HTREEITEM parent, HTREEITEM after);
    bool IsInSubtree(HTREEITEM item, HTREEITEM subtreeRoot) const;
    // Shows the newly selected item: the delete button, its string in the
    // box. Allocates nothing, so it also runs after a failed commit.
    void ShowSelection(HTREEITEM item);
    // Stores a pending edit of the string box into the selected text entry.
    void CommitPendingEdit(HTREEITEM selected);
    // Leaves the page inert after a failed load: nothing can be edited.
    void DisableEditing();

    // The drop: the copy first, and only once it stands whole is the
    // original deleted. A pending edit of a moved entry goes with it.
    void MoveItem(HTREEITEM item, HTREEITEM target);
    // Ends a drag in whatever state: drag image, keyboard filter, capture,
    // drop highlight. Nothing moves.
    void StopDragging();
    void EndDragImage();
    // False while a box or dialog is open over the sheet: a click then
    // belongs to that box, whatever window holds the capture.
    bool SheetTakesInput() const;
    // Escape during a drag ends the drag instead of cancelling the sheet.
    static LRESULT CALLBACK DragKeyFilter(int code, WPARAM wParam, LPARAM lParam);

    // Find (url_page_find.cpp): Ctrl+F opens the system's Find dialog, F3
    // finds the next entry whose title or text holds the words.
    static UINT FindMessageId();
    static LRESULT CALLBACK FindKeyFilter(int code, WPARAM wParam, LPARAM lParam);
    void StartFindKeys();
    // Also closes the Find dialog.
    void StopFindKeys();
    void OnDestroy();
    void OpenFindDialog();
    void OnFindMessage();
    void FindNextEntry();
    // pendingText: the string box's text while it holds an edit of the selection.
    bool ItemMatches(HTREEITEM item, const std::wstring& what, bool matchCase,
                     const std::string* pendingText) const;
    HTREEITEM NextInTreeOrder(HTREEITEM item) const;
    HTREEITEM PreviousInTreeOrder(HTREEITEM item) const;
    HTREEITEM LastInSubtree(HTREEITEM item) const;
    FINDREPLACEA m_find{};
    char m_findWhat[256] = {};
    DWORD m_findFlags = FR_DOWN; // direction and case, as the dialog last left them
    HWND m_hFindDialog = nullptr;

    DECLARE_MESSAGE_MAP()
};
