#pragma once
// Fixture of the cool controls' window-system tests: a fresh desktop in scripted mode on
// the virtual clock per case, a teal top-level parent window (a CWnd, so that owner-drawn
// items and notifications are reflected to the controls) that records the control
// notifications its own routing hears, scripted mouse moves, clock steps that count the poll timer's
// messages, screen pixels, and the checks that a case leaves no window, window object,
// hook, GDI object or DC behind.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "platform/afx/gdi/geometry.h"
#include "platform/afx/wnd.h"
#include "platform/base/wintypes.h"

namespace cooltest {

// System colours as the tests expect them (the classic defaults of the window system).
inline constexpr COLORREF kWhite = 0xFFFFFF;      // COLOR_3DHILIGHT, COLOR_WINDOW
inline constexpr COLORREF kShadow = 0x808080;     // COLOR_3DSHADOW
inline constexpr COLORREF kFace = 0xC8D0D4;       // COLOR_3DFACE
inline constexpr COLORREF kDark = 0x404040;       // COLOR_3DDKSHADOW
inline constexpr COLORREF kHighlight = 0x6A240A;  // COLOR_HIGHLIGHT
inline constexpr COLORREF kTeal = 0x808000;       // the parent's background

class CParentWnd : public CWnd {
public:
    BOOL CreateParent(const RECT& screenRect);
    // Control notifications that reached the parent's own command routing (those a
    // control's object took by reflection do not), by control ID.
    std::map<UINT, std::vector<WORD>> commands;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()
};

class CoolUiTest : public ::testing::Test {
protected:
    // The parent's client area starts at this screen point.
    static constexpr int kOriginX = 100;
    static constexpr int kOriginY = 100;

    void SetUp() override;
    void TearDown() override;

    // Takes and dispatches every queued message; counts WM_TIMER 210 per window.
    void Pump();
    // Moves the mouse to a point of the parent's client area (or of the screen).
    void MouseTo(int clientX, int clientY);
    void MouseToScreen(int x, int y);
    // Moves the virtual clock on and pumps what fell due.
    void Wait(UINT ms);
    // Paints every window that has something to paint.
    static void PaintAll();
    // Screen pixels at a point of the parent's client area.
    static COLORREF Pixel(int clientX, int clientY);
    // A screen rectangle from parent client coordinates.
    static CRect ScreenRect(int left, int top, int right, int bottom);
    // Timer 210 messages dispatched to the window since the case began.
    int PollCount(HWND hWnd) const;

    CParentWnd parent;

private:
    std::map<HWND, int> m_polls;
    size_t m_objects = 0;
    size_t m_dcs = 0;
    size_t m_hooks = 0;
};

} // namespace cooltest
