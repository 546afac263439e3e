#pragma once
// COXClassMouseHook: one WH_MOUSE hook shared by every window of a class, for the hover
// looks that must go when the mouse leaves a window for any other (the caption buttons of
// size bars and floating frames, the arrows of a skinned tab control).
//
// Each window takes the hook once when it is made (Acquire) and gives it back once when it
// goes (Release); the hook is set by the first taker and removed with the last giver, so
// destroying one window never leaves the others of its class without the hook, and a class
// with no windows left keeps none. A window remembers whether it took the hook, so one
// that never did gives nothing back.
//
// The class's hook procedure calls Track for each call it gets: for a mouse move
// (WM_MOUSEMOVE or WM_NCMOUSEMOVE, HC_ACTION) it answers the window that was under the
// mouse at the previous move when the mouse is now over another window, so the procedure
// can repaint that one; then it remembers the window now under the mouse. The procedure
// ends with CallNext.
#include "platform/base/wintypes.h"
#include "platform/user/input.h"

class COXClassMouseHook {
public:
    explicit COXClassMouseHook(HOOKPROC proc) : m_proc(proc) {}
    COXClassMouseHook(const COXClassMouseHook&) = delete;
    COXClassMouseHook& operator=(const COXClassMouseHook&) = delete;
    ~COXClassMouseHook();

    // One more window uses the hook; the first sets it for the calling thread. FALSE
    // (nothing counted) when the hook cannot be set.
    BOOL Acquire();
    // One window less; the last removes the hook. A release without an acquisition is
    // ignored.
    void Release();

    BOOL IsInstalled() const { return m_hHook != nullptr; }
    int GetUserCount() const { return m_nUsers; }

    // See above: the window the mouse left, or null.
    HWND Track(int nCode, WPARAM wParam, LPARAM lParam);
    // The window under the mouse at the last move seen.
    HWND GetLastWindow() const { return m_hwndLast; }

    LRESULT CallNext(int nCode, WPARAM wParam, LPARAM lParam) const;

private:
    HOOKPROC m_proc;
    HHOOK m_hHook = nullptr;
    int m_nUsers = 0;
    HWND m_hwndLast = nullptr;
};
