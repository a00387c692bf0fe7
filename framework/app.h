// The application object and the module whose resources the framework loads.
#pragma once
#include <windows.h>

#include <string>

// One per module. In a DLL the object lives from load to unload; it carries
// no behaviour beyond naming the application.
class CWinApp {
  public:
    explicit CWinApp(const char* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    std::string m_strAppName;
};

// The application object of this module, or null.
CWinApp* AfxGetApp();

// Dialog templates, strings and bitmaps come from this module: the executable
// by default, the DLL once its entry point has set itself as the resource module.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE module);

// A string resource of the resource module, of any length; empty when missing.
std::string AfxLoadString(UINT id);
