#pragma once
// Fixture of the tab and up-down control tests: a visible top-level parent at the screen's
// origin that records the notifications and scroll messages its controls send (and can
// veto TCN_SELCHANGING and UDN_DELTAPOS), helpers that build tab controls, and measures
// of the system font taken with the drawing layer alone, so expected geometry is worked
// out independently of the controls. Each case ends with no image list left, besides the
// common-control fixture's checks (windows, timers, GDI objects, subclasses).
#include <functional>
#include <string>
#include <vector>

#include "tests/comctl/comctl_test_support.h"

namespace zyn::test {

// One message the parent received from a control.
struct TabHeard {
    UINT msg = 0;             // WM_NOTIFY, WM_VSCROLL, WM_HSCROLL, WM_DRAWITEM
    UINT code = 0;            // WM_NOTIFY: the code; scroll: LOWORD(wParam)
    HWND from = nullptr;
    int pos = 0;              // scroll: HIWORD(wParam); UDN_DELTAPOS: iPos
    int delta = 0;            // UDN_DELTAPOS: iDelta
    WORD key = 0;             // TCN_KEYDOWN: wVKey
    int sel = -1;             // TCN_*: the control's selection when the parent was told
    DRAWITEMSTRUCT draw{};    // WM_DRAWITEM
};

class TabUpDownTest : public ComctlTest {
public:
    static inline std::vector<TabHeard> heard;
    static inline bool vetoSelChanging = false;
    static inline bool vetoDeltaPos = false;
    static inline std::function<void(const TabHeard&)> onHeard;

protected:
    void SetUp() override;
    void TearDown() override;

    // The parent: a visible popup at (0, 0), 600 x 400, whose client origin is the screen's.
    HWND parent = nullptr;

    HWND MakeTab(DWORD style, int x, int y, int cx, int cy, UINT id = 100);
    static int Insert(HWND tab, int index, const std::wstring& text, int image = -1);
    static RECT ItemRect(HWND tab, int index);
    static int HitTest(HWND tab, POINT pt, UINT* flags = nullptr);
    // Screen point of a control's client point.
    static POINT ScreenOf(HWND h, POINT client);
    static void ClickAt(HWND h, POINT client, user::MouseButton b = user::MouseButton::Left);
    static void KeyPress(int vk) { user::InjectKeyPress(vk); Pump(); }
    static std::vector<UINT> NotifyCodes();
    static size_t CountHeard(UINT msg, UINT code);

    // The system font (what a control without WM_SETFONT draws with), measured directly.
    static int FontHeight();
    static int TextWidth(const std::wstring& shown);
};

} // namespace zyn::test
