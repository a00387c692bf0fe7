#include "framework/file_dialog.h"

#include "framework/guard.h"

namespace {
const char kObjectProperty[] = "FrameworkFileDialog";
}

CFileDialog::CFileDialog(BOOL openFileDialog, const char* defaultExtension, const char* fileName,
                         DWORD flags, const char* filter, HWND parent)
    : m_ofn{}, m_szFileName{}, m_bOpenFileDialog(openFileDialog) {
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.hwndOwner = parent;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = MAX_PATH;
    m_ofn.Flags = flags | OFN_ENABLEHOOK | OFN_EXPLORER;
    m_ofn.lpfnHook = HookProc;
    m_ofn.lCustData = reinterpret_cast<LPARAM>(this);
    if (defaultExtension) {
        m_strDefaultExtension = defaultExtension;
        m_ofn.lpstrDefExt = m_strDefaultExtension.c_str();
    }
    if (fileName)
        lstrcpynA(m_szFileName, fileName, MAX_PATH);
    if (filter) {
        // The system wants NUL-separated pairs ending in two NULs.
        m_strFilter = filter;
        for (size_t i = 0; i < m_strFilter.size(); ++i) {
            // A double-byte character's second byte may be '|' (ポ is 83 7C).
            if (::IsDBCSLeadByte(static_cast<BYTE>(m_strFilter[i])) && i + 1 < m_strFilter.size())
                ++i;
            else if (m_strFilter[i] == '|')
                m_strFilter[i] = '\0';
        }
        m_strFilter.push_back('\0');
        m_ofn.lpstrFilter = m_strFilter.c_str();
    }
}

INT_PTR CFileDialog::DoModal() {
    if (!m_ofn.hwndOwner)
        m_ofn.hwndOwner = ::GetActiveWindow();
    // The dialog moves the process's current directory as the user browses;
    // files named by relative paths (the host's address books) are looked up
    // there, so it goes back to where it was.
    std::string savedDirectory = CurrentDirectory();
    BOOL accepted = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    m_hWnd = nullptr;
    if (!savedDirectory.empty())
        ::SetCurrentDirectoryA(savedDirectory.c_str());
    return accepted ? IDOK : IDCANCEL;
}

std::string CFileDialog::CurrentDirectory() {
    DWORD size = ::GetCurrentDirectoryA(0, nullptr);
    if (size == 0)
        return std::string();
    std::string directory(size, '\0');
    DWORD length = ::GetCurrentDirectoryA(size, &directory[0]);
    if (length == 0 || length >= size)
        return std::string();
    directory.resize(length);
    return directory;
}

UINT_PTR CALLBACK CFileDialog::HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* description = reinterpret_cast<OPENFILENAMEA*>(lParam);
        auto* dialog = reinterpret_cast<CFileDialog*>(description->lCustData);
        dialog->m_hWnd = window;
        ::SetPropA(window, kObjectProperty, dialog);
    }
    auto* dialog = static_cast<CFileDialog*>(::GetPropA(window, kObjectProperty));
    if (!dialog)
        return 0;
    // A handler that throws leaves the message to the dialog's own handling.
    UINT_PTR answer =
        AfxGuard(window, UINT_PTR{0}, [&] { return dialog->Hook(message, wParam, lParam); });
    if (message == WM_NCDESTROY)
        ::RemovePropA(window, kObjectProperty);
    return answer;
}

UINT_PTR CFileDialog::Hook(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG)
        return OnInitDialog();
    // Nonzero keeps the dialog from its own handling of the message.
    LRESULT result = 0;
    return RouteMessage(message, wParam, lParam, &result) ? 1 : 0;
}

bool CFileDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    // In the Explorer layout the hook's window is a child and OK never reaches it.
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED &&
        !(m_ofn.Flags & OFN_EXPLORER)) {
        OnOK();
        *result = 0;
        return true;
    }
    return CWnd::OnMessage(message, wParam, lParam, result);
}
