#include "framework/app.h"

namespace {
CWinApp* g_app = nullptr;
HINSTANCE g_resourceModule = nullptr;
} // namespace

CWinApp::CWinApp(const char* appName) : m_strAppName(appName ? appName : "") {
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this)
        g_app = nullptr;
}

CWinApp* AfxGetApp() {
    return g_app;
}

HINSTANCE AfxGetResourceHandle() {
    return g_resourceModule ? g_resourceModule : GetModuleHandleA(nullptr);
}

void AfxSetResourceHandle(HINSTANCE module) {
    g_resourceModule = module;
}

std::string AfxLoadString(UINT id) {
    // With a zero buffer size LoadStringW hands back the resource's own text and length.
    const wchar_t* wide = nullptr;
    int length = LoadStringW(AfxGetResourceHandle(), id, reinterpret_cast<LPWSTR>(&wide), 0);
    if (length <= 0 || !wide)
        return std::string();
    int bytes = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
    std::string text(bytes, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, length, &text[0], bytes, nullptr, nullptr);
    return text;
}
