#pragma once
// Fixture of the trackbar, progress and status-bar tests: a parent window that records
// what its controls tell it (scroll codes, notifications, owner-draw requests), answers
// custom drawing through a test's function, paints static controls' backgrounds in
// COLOR_INFOBK (WM_CTLCOLORSTATIC), forwards its WM_SIZE to a status bar as
// applications do, and helpers to press, drag and read pixels in a control's client
// coordinates. The base fixture checks that nothing is left behind.
#include <functional>
#include <vector>

#include "tests/comctl/comctl_test_support.h"

namespace zyn::test {

// One message a parent received from a control.
struct Heard {
    UINT msg;       // WM_HSCROLL, WM_VSCROLL, WM_NOTIFY or WM_DRAWITEM
    UINT code;      // the scroll code, or the notification code
    int pos;        // the scroll message's position word (signed), or NMMOUSE::dwItemSpec
    HWND from;
    bool operator==(const Heard&) const = default;
};

class SmallCtlTest : public ComctlTest {
public:
    static constexpr const wchar_t* kParentClass = L"CtlParent";
    static inline std::vector<Heard> heard;
    // WM_NOTIFYFORMAT (code: lParam, from: wParam) and WM_PARENTNOTIFY (code: the event,
    // from: the child created or destroyed), apart from `heard`.
    static inline std::vector<Heard> family;
    static inline std::vector<NMCUSTOMDRAW> drawStages;
    static inline std::vector<DRAWITEMSTRUCT> drawItems;
    static inline std::function<LRESULT(const NMCUSTOMDRAW&)> onCustomDraw;
    static inline std::function<void(UINT msg, WPARAM wp, LPARAM lp)> onScroll;
    static inline HWND sizeTarget = nullptr; // gets the parent's WM_SIZE

protected:
    void SetUp() override;
    void TearDown() override;

    // A visible top-level parent (WS_POPUP unless other kinds are given).
    static HWND MakeParent(int x, int y, int cx, int cy, DWORD style = WS_POPUP | WS_VISIBLE);
    static HWND MakeControl(const wchar_t* cls, DWORD style, int x, int y, int cx, int cy, HWND parent,
        UINT id = 100, const wchar_t* text = nullptr);
    // Scroll messages only, in order.
    static std::vector<Heard> Scrolls();
    static std::vector<UINT> NotifyCodes();
    static void Clear();
    static POINT ScreenOf(HWND h, int x, int y);
    static void Press(HWND h, int x, int y);
    static void MoveIn(HWND h, int x, int y);
    static void Release();
    // The screen pixel at a client point of `h`, after painting what is pending.
    static COLORREF At(HWND h, int x, int y);
    static RECT ClientRectIn(HWND child); // the child's window rectangle in its parent's client
    // Keys go to the focus window of the foreground window.
    static void Focus(HWND parent, HWND ctl);
    static void Key(int vk);
};

inline COLORREF Sys(int index) { return GetSysColor(index); }

} // namespace zyn::test
