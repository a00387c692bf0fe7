// The settings launcher: runs the settings editor Vandry.dll, which is loaded
// only for as long as its modal settings sheet is open.
#include <windows.h>

#include "common/proc_cast.h"
#include "plugin/host/module_hold.h"

namespace {

// The settings editor's one export: shows the modal sheet, returns when closed.
typedef void(WINAPI* SetUpTevrixFn)(void);

// Where the settings editor may lie, tried in this order, each below the
// folder of the host's executable. Only these three files are ever loaded:
// a Vandry.dll in the current directory or on PATH is foreign code.
const WCHAR* const kSettingsEditorPlaces[] = {
    L"Plugins\\Vandry.dll",
    L"Setup\\Vandry.dll",
    L"Vandry.dll",
};

// The longest path the system accepts, in characters, and room for the
// "\\?\UNC\" prefix and the longest place name.
const DWORD kLongestPath = 32768;
const DWORD kPathRoom = kLongestPath + 32;

// The paths being built: the host's executable, then each place of the
// editor. QPCSetup runs on the host's window thread and loads nothing while
// a sheet is open, so one static pair serves every call.
WCHAR HostPath[kPathRoom];
WCHAR EditorPath[kPathRoom];

// The editor whose sheet is open, while SetUpTevrix runs.
SetUpTevrixFn RunningSetUp = nullptr;

DWORD Length(const WCHAR* text) {
    DWORD length = 0;
    while (text[length])
        ++length;
    return length;
}

// Appends text at position of EditorPath; the new end.
DWORD Append(DWORD position, const WCHAR* text, DWORD length) {
    for (DWORD i = 0; i < length; ++i)
        EditorPath[position + i] = text[i];
    EditorPath[position + length] = L'\0';
    return position + length;
}

bool StartsWith(const WCHAR* text, const WCHAR* start) {
    for (; *start; ++text, ++start)
        if (*text != *start)
            return false;
    return true;
}

// The prefix that makes the system take a path of the host's kind exactly as
// written, and how many of its own characters the prefix replaces: "\\?\"
// before a drive path, "\\?\UNC\" in place of the two backslashes of a
// share's path. Without it a path goes through the system's normalisation,
// which drops the trailing dots and blanks of folder names ("Host." would
// become its neighbour "Host") and refuses paths past MAX_PATH.
const WCHAR* ExactPathPrefix(const WCHAR* path, DWORD* replaced) {
    *replaced = 0;
    if (StartsWith(path, L"\\\\?\\"))
        return L"";
    if (StartsWith(path, L"\\\\.\\")) {
        *replaced = 4; // a device path is normalised too
        return L"\\\\?\\";
    }
    if (StartsWith(path, L"\\\\")) {
        *replaced = 2;
        return L"\\\\?\\UNC\\";
    }
    return L"\\\\?\\";
}

// The editor's full path at place into EditorPath, in its exact form: the
// host's folder (the executable's path up to its last backslash) and the
// place's name. False when the result would not fit.
bool BuildEditorPath(DWORD folderLength, const WCHAR* place) {
    DWORD placeLength = Length(place);
    DWORD replaced = 0;
    const WCHAR* prefix = ExactPathPrefix(HostPath, &replaced);
    DWORD prefixLength = Length(prefix);
    if (prefixLength + folderLength - replaced + placeLength >= kPathRoom)
        return false;
    DWORD end = Append(0, prefix, prefixLength);
    end = Append(end, HostPath + replaced, folderLength - replaced);
    Append(end, place, placeLength);
    return true;
}

// Whether the system knows the search flags that keep a library's own
// dependencies to its folder and the system folder (Windows 7 with its
// update KB2533623 and every later Windows; Vista lacks them).
bool HasSafeSearchFlags(void) {
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    return kernel && GetProcAddress(kernel, "AddDllDirectory") != nullptr;
}

HMODULE LoadFromFullPath(const WCHAR* path) {
    if (HasSafeSearchFlags())
        return LoadLibraryExW(path, nullptr,
                              LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    // The editor's dependencies are looked for in its own folder first; the
    // ones it has are the system's own libraries.
    return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE LoadSettingsEditor(void) {
    DWORD length = GetModuleFileNameW(nullptr, HostPath, kLongestPath);
    if (length == 0 || length >= kLongestPath)
        return nullptr; // no path, or one cut short
    DWORD folderLength = length;
    while (folderLength > 0 && HostPath[folderLength - 1] != L'\\')
        --folderLength;
    if (folderLength == 0)
        return nullptr; // not a full path: nothing to load beside it
    for (const WCHAR* place : kSettingsEditorPlaces) {
        if (!BuildEditorPath(folderLength, place))
            continue;
        HMODULE editor = LoadFromFullPath(EditorPath);
        if (editor)
            return editor;
    }
    return nullptr;
}

} // namespace

extern "C" LRESULT WINAPI QPCSetup(LPARAM) {
    if (RunningSetUp) {
        // Configure chosen again while the sheet is open: the editor brings
        // its open sheet to the front. Nothing is loaded, or unloaded from
        // under the sheet.
        RunningSetUp();
        return 1;
    }
    ReleaseEndedModalLoops();
    HMODULE editor = LoadSettingsEditor();
    if (!editor)
        return 0;
    SetUpTevrixFn setUp = GetProcAs<SetUpTevrixFn>(editor, "SetUpTevrix");
    if (setUp) {
        HoldPluginForModalLoop();
        RunningSetUp = setUp;
        setUp();
        RunningSetUp = nullptr;
        EndModalLoop();
    }
    return FreeLibrary(editor);
}
