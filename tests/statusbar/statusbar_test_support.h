#pragma once
// Fixture of the status-bar tests: a fresh desktop in scripted mode on the virtual clock,
// a known classic colour scheme, the application object with its three skins, a frame
// that records the pane double clicks it is sent, the toolkit's status bar along its
// bottom, screen pixels in the bar's client coordinates, text measured in the status font
// apart from the bar, and the checks that a case leaves no window, window object, hook,
// GDI object or DC behind.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/zyn_app.h"
#include "platform/afx/frame.h"
#include "toolkit/skins/status_bar.h"
#include "tests/support/pump.h"

namespace sbtest {

// The colour scheme every case runs with.
inline constexpr COLORREF kFace = RGB(212, 208, 200);     // COLOR_BTNFACE
inline constexpr COLORREF kShadow = RGB(128, 128, 128);   // COLOR_BTNSHADOW
inline constexpr COLORREF kGrayText = RGB(128, 128, 128); // COLOR_GRAYTEXT
inline constexpr COLORREF kWhite = RGB(255, 255, 255);    // COLOR_WINDOW, COLOR_BTNHIGHLIGHT
inline constexpr COLORREF kBlack = RGB(0, 0, 0);          // COLOR_BTNTEXT
inline constexpr COLORREF kHighlight = RGB(10, 36, 106);  // COLOR_HIGHLIGHT

// The columns of IDB_COLUMNS, left to right.
inline const COLORREF kColumns[8] = {RGB(10, 20, 30), RGB(40, 50, 60), RGB(70, 80, 90), RGB(100, 110, 120),
    RGB(130, 140, 150), RGB(160, 170, 180), RGB(190, 0, 10), RGB(0, 190, 10)};
// IDB_CORNER's colour.
inline constexpr COLORREF kCornerRed = RGB(200, 0, 0);

// A frame that keeps the pane IDs of OXWM_STATUSBAR_DBLCLK.
class CRecordingFrame : public CFrameWnd {
public:
    std::vector<UINT> doubleClicks;

protected:
    afx_msg LRESULT OnPaneDoubleClick(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

class StatusBarUiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The application object with its skins ("Office 2003" current). Without the library
    // gradients the 2003 skin draws its gradients by hand (the formula the tests work).
    void MakeApp(bool libraryGradients = true);
    // Makes a skin current and repaints.
    void UseSkin(const wchar_t* name);
    // A frame at (100, 100) of the given size and style, active, the application's main
    // window; then a status bar on it with the panes, laid out.
    COXStatusBar* MakeBar(const std::vector<UINT>& ids, DWORD frameStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE,
        int width = 400, int height = 200);
    // Lays the frame out again, repaints everything and pumps.
    void Repaint();
    // The idle pass (the message line and the lock indicators).
    void Idle();
    static void Pump() { zyn::test::PumpMessages(); }
    // Sets the toggle state of one key (VK_CAPITAL, VK_NUMLOCK, VK_SCROLL).
    static void SetToggle(int vk, bool on);

    // Screen pixels at a point of the bar's client area.
    COLORREF Pixel(int x, int y) const;
    // The bar's client rectangle and a pane's part rectangle (SB_GETRECT).
    CRect Client() const;
    CRect Part(int index) const;
    // The bounding box of the pixels of a rectangle of the bar's client area for which
    // `match` holds; empty when there is none.
    template <class F>
    CRect InkBox(const CRect& area, F match) const
    {
        CRect box(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (match(Pixel(x, y))) {
                    box.left = std::min<int>(box.left, x);
                    box.top = std::min<int>(box.top, y);
                    box.right = std::max<int>(box.right, x + 1);
                    box.bottom = std::max<int>(box.bottom, y + 1);
                }
        return box.left == INT_MAX ? CRect(0, 0, 0, 0) : box;
    }

    // The extent of a text in a font (the system's status font when null), measured on a
    // screen DC apart from the bar.
    static CSize TextExtent(const wchar_t* text, HFONT font = nullptr);
    // What a pane's control shows and its drawing type (SBT_*).
    std::wstring Shown(int index, UINT* type = nullptr) const;

    std::unique_ptr<CZynApp> app;
    CRecordingFrame* frame = nullptr; // deletes itself with its window
    std::unique_ptr<COXStatusBar> bar;

private:
    size_t m_objects = 0;
    size_t m_dcs = 0;
    size_t m_hooks = 0;
    bool m_msimg32Removed = false;
};

} // namespace sbtest
