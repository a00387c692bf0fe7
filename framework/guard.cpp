#include "framework/guard.h"

#include <new>

namespace {
const char* g_caption = nullptr;
const char* g_outOfMemory = nullptr;
const char* g_otherFailure = nullptr;
bool g_reporting = false;
} // namespace

void AfxSetFailureTexts(const char* caption, const char* outOfMemory, const char* otherFailure) {
    g_caption = caption;
    g_outOfMemory = outOfMemory;
    g_otherFailure = otherFailure;
}

void AfxReportFailure(HWND owner) noexcept {
    const char* text = g_otherFailure;
    try {
        throw;
    } catch (const std::bad_alloc&) {
        text = g_outOfMemory;
    } catch (...) {
    }
    // The box runs a message loop, in which another handler may fail as well.
    if (g_reporting)
        return;
    g_reporting = true;
    HWND root = owner && ::IsWindow(owner) ? ::GetAncestor(owner, GA_ROOT) : ::GetActiveWindow();
    ::MessageBoxA(root, text ? text : "", g_caption, MB_OK | MB_ICONEXCLAMATION);
    g_reporting = false;
}
