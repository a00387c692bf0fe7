#include "settings/imports/favorites/folder_dialog.h"

#include <dlgs.h>

namespace {
// The id that the dialog template gives its labels without a name (-1).
const int kUnnamedId = 0xFFFF;

// The first child, in the dialog's order, whose 16-bit id is 0xFFFF (-1).
HWND FirstUnnamedControl(HWND dialog) {
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (LOWORD(::GetWindowLongPtrA(child, GWLP_ID)) == kUnnamedId)
            return child;
    return nullptr;
}

RECT ClientRectOf(HWND control, HWND dialog) {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void MoveLeft(HWND control, HWND dialog, int distance) {
    if (!control)
        return;
    RECT rect = ClientRectOf(control, dialog);
    ::SetWindowPos(control, nullptr, rect.left - distance, rect.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
} // namespace

FolderDialog::FolderDialog(const char* startFolder, HWND parent)
    : CFileDialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, nullptr, parent),
      m_strStartFolder(startFolder ? startFolder : ""), m_strCaption("ﾌｫﾙﾀﾞの選択") {
    // The classic layout: its current folder is the process's current directory.
    m_ofn.Flags &= ~OFN_EXPLORER;
    m_ofn.lpstrTitle = m_strCaption.c_str();
}

void FolderDialog::SetCaption(const char* caption) {
    m_strCaption = caption ? caption : "";
    m_ofn.lpstrTitle = m_strCaption.c_str();
}

INT_PTR FolderDialog::DoModal() {
    std::string savedDirectory = CurrentDirectory();
    // An empty or vanished start folder leaves the dialog in the current directory.
    if (!m_strStartFolder.empty())
        ::SetCurrentDirectoryA(m_strStartFolder.c_str());
    m_szFileName[0] = '\0';

    INT_PTR result = CFileDialog::DoModal();

    if (!savedDirectory.empty())
        ::SetCurrentDirectoryA(savedDirectory.c_str());
    return result;
}

BOOL FolderDialog::OnInitDialog() {
    CFileDialog::OnInitDialog();
    HWND dialog = m_hWnd;
    HWND caption = FirstUnnamedControl(dialog);
    HWND fileNameLabel = ::GetDlgItem(dialog, stc3);
    if (caption && fileNameLabel) {
        int distance =
            ClientRectOf(caption, dialog).left - ClientRectOf(fileNameLabel, dialog).left;
        // The folder half of the dialog moves into the place of the file half.
        MoveLeft(caption, dialog, distance);
        const int folderControls[] = {stc1, lst2, stc4, cmb2, IDOK, IDCANCEL};
        for (int id : folderControls)
            MoveLeft(::GetDlgItem(dialog, id), dialog, distance);
        RECT frame{};
        ::GetWindowRect(dialog, &frame);
        ::SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left - distance,
                       frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const int fileControls[] = {stc3, edt1, lst1, stc2, cmb1};
    for (int id : fileControls)
        ::ShowWindow(::GetDlgItem(dialog, id), SW_HIDE);
    return TRUE;
}

void FolderDialog::OnOK() {
    // No file name is needed: OK takes the folder being shown, which is the
    // current directory until the dialog has ended. One that does not fit is
    // no answer.
    DWORD length = ::GetCurrentDirectoryA(MAX_PATH, m_szFileName);
    if (length == 0 || length >= MAX_PATH)
        m_szFileName[0] = '\0';
    EndDialog(IDOK);
}
