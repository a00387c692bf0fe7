// Event tables: a class binds control notifications and window messages to its
// handler methods in a static table, declared in the class with
// DECLARE_MESSAGE_MAP() and defined in its source file:
//
//   BEGIN_MESSAGE_MAP(CEtcPage, CPropertyPage)
//       ON_BN_CLICKED(1007, OnClickUseAddress)
//       ON_NOTIFY(TVN_SELCHANGEDA, 1010, OnTreeSelChanged)
//       ON_WM_MOUSEMOVE()
//   END_MESSAGE_MAP()
//
// A message that the class's table does not handle goes on to the base class's table.
#pragma once
#include <windows.h>
#include <commctrl.h>

// A point in client coordinates, as mouse handlers receive it.
struct CPoint : POINT {
    CPoint() : POINT{0, 0} {}
    CPoint(LONG px, LONG py) : POINT{px, py} {}
};

// One row of an event table. Exactly one handler pointer is set, matching the
// kind of message: commands (and messages without arguments) take none,
// notifications get the header and the result to answer, mouse messages the
// key flags and the point, window messages the window that lParam names.
template <class T> struct MessageEntry {
    UINT message; // 0 ends the table
    UINT code;    // notification code of WM_COMMAND or WM_NOTIFY
    UINT id;      // control id of WM_COMMAND or WM_NOTIFY
    void (T::*command)();
    void (T::*notify)(NMHDR*, LRESULT*);
    void (T::*mouse)(UINT, CPoint);
    void (T::*window)(HWND);
    // Set for a message registered at run time: its id, asked at dispatch.
    UINT (*registered)() = nullptr;
};

// Runs the first entry of the table that matches the message. True when one did.
template <class T>
bool DispatchMessageMap(T* target, const MessageEntry<T>* entries, UINT message, WPARAM wParam,
                        LPARAM lParam, LRESULT* result) {
    for (const MessageEntry<T>* entry = entries; entry->message != 0; ++entry) {
        if (entry->registered ? entry->registered() != message : entry->message != message)
            continue;
        if (message == WM_COMMAND) {
            if (LOWORD(wParam) != entry->id || HIWORD(wParam) != entry->code)
                continue;
            *result = 0;
            (target->*entry->command)();
            return true;
        }
        if (message == WM_NOTIFY) {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (header->idFrom != entry->id || header->code != entry->code)
                continue;
            *result = 0;
            (target->*entry->notify)(header, result);
            return true;
        }
        *result = 0;
        if (entry->command)
            (target->*entry->command)();
        else if (entry->window)
            (target->*entry->window)(reinterpret_cast<HWND>(lParam));
        else
            (target->*entry->mouse)(
                static_cast<UINT>(wParam),
                CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
        return true;
    }
    return false;
}

#define DECLARE_MESSAGE_MAP()                                                                      \
  protected:                                                                                       \
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    bool theClass::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {        \
        using ThisClass = theClass;                                                                \
        using BaseClass = baseClass;                                                               \
        /* Constant: a table built at run time would be guarded by a lock                          \
           whose per-thread record stays in the host when the DLL unloads. */                      \
        static constexpr MessageEntry<ThisClass> entries[] = {

#define END_MESSAGE_MAP()                                                                          \
    { 0, 0, 0, nullptr, nullptr, nullptr, nullptr }                                                \
    }                                                                                              \
    ;                                                                                              \
    return DispatchMessageMap(this, entries, message, wParam, lParam, result) ||                   \
           BaseClass::OnMessage(message, wParam, lParam, result);                                  \
    }

#define ON_CONTROL(code, id, fn)                                                                   \
    {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), &ThisClass::fn, nullptr, nullptr, \
     nullptr},
#define ON_COMMAND(id, fn) ON_CONTROL(0, id, fn)
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_NOTIFY(code, id, fn)                                                                    \
    {WM_NOTIFY, static_cast<UINT>(code), static_cast<UINT>(id), nullptr, &ThisClass::fn, nullptr,  \
     nullptr},
#define ON_WM_MOUSEMOVE() {WM_MOUSEMOVE, 0, 0, nullptr, nullptr, &ThisClass::OnMouseMove, nullptr},
#define ON_WM_LBUTTONUP() {WM_LBUTTONUP, 0, 0, nullptr, nullptr, &ThisClass::OnLButtonUp, nullptr},
// void OnCancelMode()
#define ON_WM_CANCELMODE()                                                                         \
    {WM_CANCELMODE, 0, 0, &ThisClass::OnCancelMode, nullptr, nullptr, nullptr},
// void OnDestroy(); a handler that ends with Default() lets the window's own
// handling run too.
#define ON_WM_DESTROY() {WM_DESTROY, 0, 0, &ThisClass::OnDestroy, nullptr, nullptr, nullptr},
// void fn(): a message registered at run time (RegisterWindowMessage), whose id
// idFunction returns; the handler finds what the message carries on its own.
// The row's message only keeps the table going (0 would end it).
#define ON_REGISTERED_MESSAGE(idFunction, fn)                                                      \
    {0xFFFFFFFF, 0, 0, &ThisClass::fn, nullptr, nullptr, nullptr, &idFunction},
// void OnCaptureChanged(HWND newCapture)
#define ON_WM_CAPTURECHANGED()                                                                     \
    {WM_CAPTURECHANGED, 0, 0, nullptr, nullptr, nullptr, &ThisClass::OnCaptureChanged},
