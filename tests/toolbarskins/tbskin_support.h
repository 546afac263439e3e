#pragma once
// Fixture of the toolbar-skin tests: a fresh desktop in scripted mode on the virtual clock
// per case, a parent window that reflects notifications to its bars, and a test toolbar
// that paints through a skin the test chooses, the way a cool toolbar hands its painting
// to its skin: NM_CUSTOMDRAW (reflected) to OnCustomDraw, WM_NCPAINT to DrawNonClientArea
// and DrawGripper, WM_ERASEBKGND asking CallOnEraseBkgnd, and its separator and
// customisation-mark hooks to the skin's slots. Its non-client borders are fixed (so the
// pictures do not depend on the bar's own layout) and its buttons are laid out once.
//
// The classic scheme the expected colours are worked from, and the XP and 2003 colours
// derived from it by the formulas of the colour schemes (worked by hand below).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/afx/dlgbar.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/gdi/geometry.h"
#include "platform/afx/wnd.h"
#include "platform/comctl/toolbar.h"
#include "platform/gdi/imagelist.h"
#include "platform/user/msgqueue.h"
#include "toolkit/menus/cool_toolbar.h"
#include "toolkit/skins/dialogbar_skin.h"
#include "toolkit/skins/toolbar_skin.h"
#include "tests/support/pump.h"

class CBitmap;

namespace tbtest {

// ---- the scheme ---------------------------------------------------------------------------------------
inline constexpr COLORREF kWhite = RGB(255, 255, 255);   // COLOR_WINDOW, COLOR_BTNHIGHLIGHT, HIGHLIGHTTEXT
inline constexpr COLORREF kBlack = RGB(0, 0, 0);         // COLOR_BTNTEXT
inline constexpr COLORREF kFace = RGB(212, 208, 200);    // COLOR_BTNFACE
inline constexpr COLORREF kShadow = RGB(128, 128, 128);  // COLOR_BTNSHADOW, COLOR_GRAYTEXT
inline constexpr COLORREF kHighlight = RGB(10, 36, 106); // COLOR_HIGHLIGHT
inline constexpr COLORREF kTeal = RGB(0, 128, 128);      // the parent's background

// XP, from the scheme: Blend truncates each channel.
inline constexpr COLORREF kXPHot = RGB(181, 189, 210);        // WINDOW .7 + HIGHLIGHT .3
inline constexpr COLORREF kXPHotSelected = RGB(132, 145, 180); // WINDOW .5 + HIGHLIGHT .5
inline constexpr COLORREF kXPChecked = RGB(212, 213, 217);    // BTNFACE .42 + WINDOW .48 + HIGHLIGHT .1
inline constexpr COLORREF kXPBackground = RGB(218, 215, 208); // WINDOW .16 + BTNFACE .84
inline constexpr COLORREF kXPGripper = RGB(160, 160, 160);    // BTNSHADOW + 32
inline constexpr COLORREF kXPSeparator = RGB(166, 166, 166);  // BTNSHADOW + 38
inline constexpr COLORREF kXPBorder = kHighlight;             // the active border

// 2003 without a visual style.
inline constexpr COLORREF k2003ToolbarLight = RGB(245, 244, 242); // WINDOW .78 + BTNFACE .22
inline constexpr COLORREF k2003ToolbarDark = RGB(213, 209, 202);  // WINDOW .04 + BTNFACE .96
inline constexpr COLORREF k2003DockbarLeft = kFace;               // BTNFACE
inline constexpr COLORREF k2003DockbarRight = RGB(246, 245, 244); // WINDOW .8 + BTNFACE .2

// 2003 under the fake visual style (highlight (49, 106, 197), active caption (0, 84, 227)).
inline constexpr COLORREF kThemedHotLight = RGB(255, 244, 204), kThemedHotDark = RGB(255, 208, 145);
inline constexpr COLORREF kThemedCheckedLight = RGB(255, 213, 140), kThemedCheckedDark = RGB(255, 173, 85);
inline constexpr COLORREF kThemedPressedLight = RGB(254, 145, 78), kThemedPressedDark = RGB(255, 211, 142);
inline constexpr COLORREF kThemedBorder = RGB(0, 0, 128);          // active caption + (0, -84, -99)
inline constexpr COLORREF kThemedToolbarLight = RGB(244, 247, 252); // WINDOW .95 + TH .05
inline constexpr COLORREF kThemedToolbarDark = RGB(90, 135, 208);   // WINDOW .2 + TH .8

// The image squares: image i is a 16 x 15 cell of the mask colour (transparent) with a
// 10 x 9 square of kImageColours[i] at (3, 3).
inline constexpr COLORREF kImageColours[] = {RGB(200, 0, 0), RGB(0, 150, 0), RGB(0, 0, 200), RGB(200, 150, 0)};
inline constexpr int kImageCx = 16, kImageCy = 15;
inline constexpr int kSquareLeft = 3, kSquareTop = 3, kSquareCx = 10, kSquareCy = 9;

// A channel-by-channel interpolation as the hand-drawn gradient works it: from + (to -
// from) * i / n, truncated toward zero.
COLORREF Lerp(COLORREF from, COLORREF to, int i, int n);
std::string Hex(COLORREF c);

// ---- windows ------------------------------------------------------------------------------------------
class CParentWnd : public CWnd {
public:
    BOOL CreateParent(const RECT& screenRect);

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()
};

// A toolbar painting through `skin`.
class CSkinTestBar : public COXCoolToolBar {
public:
    CSkinTestBar() = default;
    ~CSkinTestBar() override;

    COXToolbarSkin* skin = nullptr;
    int customDrawCalls = 0;
    LRESULT lastAnswer = -1;

    // A child of `parent` at `rect` (parent client coordinates) with the control style
    // (TBSTYLE_*) and the bar style (CBRS_*); an image list of four squares.
    BOOL Make(CWnd* parent, const CRect& rect, DWORD ctrlStyle = TBSTYLE_FLAT,
        DWORD barStyle = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM, UINT id = 100);
    void Add(const std::vector<TBBUTTON>& buttons);
    static TBBUTTON Button(int command, int image, BYTE style = BTNS_BUTTON, BYTE state = TBSTATE_ENABLED);
    static TBBUTTON Separator(int width = 8);
    void SetText(int command, const wchar_t* text);
    CRect Item(int index) const;
    CRect ClientInWindow() const;
    LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) { return ::SendMessageW(m_hWnd, msg, wp, lp); }
    // Paints the whole window now (non-client and client).
    void Repaint();

    void SetCustomized(int index) { m_nCustomizedButton = index; }
    void SetArrowWidth(int width) { m_nDropDownArrowWidth = width; }
    void MarkCustomButton(int position, bool on);
    void DropDownOpened(int command) { SetDroppedButton(command); }

    void DrawSeparator(CDC& dc, CRect& rect) override;
    void DrawCustomizedButton(CDC& dc, CRect& rect) override;
    BOOL DestroyWindow() override;

    HIMAGELIST images = nullptr;      // owned
    HIMAGELIST hotImages = nullptr;   // owned (when a test makes one)
    HIMAGELIST disabledImages = nullptr;

protected:
    afx_msg BOOL OnSkinCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg void OnNcPaint();
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    DECLARE_MESSAGE_MAP()
};

// A memory DC with a bitmap painted in one colour, to draw on and read back.
class Sentinel {
public:
    static constexpr COLORREF kColour = RGB(1, 2, 3);
    Sentinel(int cx, int cy, COLORREF fill = kColour);
    ~Sentinel();
    Sentinel(const Sentinel&) = delete;
    Sentinel& operator=(const Sentinel&) = delete;
    HDC hdc() const { return m_dc.GetSafeHdc(); }
    CDC* dc() { return &m_dc; }
    COLORREF at(int x, int y) const { return m_dc.GetPixel(x, y); }
    // Pixels still in the fill colour.
    int Untouched() const;
    int Count(COLORREF colour) const;
    int width() const { return m_cx; }
    int height() const { return m_cy; }

private:
    int m_cx, m_cy;
    COLORREF m_fill;
    CDC m_dc;
    std::unique_ptr<CBitmap> m_bitmap;
    CBitmap* m_old = nullptr;
};

// A custom-draw notification of the bar at a stage, drawing into hdc.
NMTBCUSTOMDRAW Notification(const CSkinTestBar& bar, HDC hdc, DWORD stage);
// The skin's answer to it (the result slot starts at 0xBAD).
LRESULT CallCustomDraw(COXToolbarSkin* skin, CSkinTestBar& bar, NMTBCUSTOMDRAW& cd);

// A dialog bar (one push button) painting through `skin` the way a skinned dialog bar
// does: DoPaint draws the skin's background and its gripper on the client rectangle, the
// erase runs only when the skin asks for it, WM_NCPAINT is the skin's. Its non-client
// borders are fixed like the test toolbar's.
class CSkinTestDialogBar : public CDialogBar {
public:
    COXDialogBarSkin* skin = nullptr;
    int erased = 0;

    BOOL Make(CWnd* parent, const CRect& rect, DWORD barStyle = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM);
    void DoPaint(CDC* pDC) override;
    void Repaint();
    CRect ClientInWindow() const;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcPaint();
    DECLARE_MESSAGE_MAP()
};

// Four squares in kImageColours (transparent around them); `shift` rotates the colours.
HIMAGELIST MakeImages(int shift = 0);

// ---- the fixture --------------------------------------------------------------------------------------
class TbSkinTest : public ::testing::Test {
protected:
    static constexpr int kOriginX = 100;
    static constexpr int kOriginY = 100;

    void SetUp() override;
    void TearDown() override;

    static void Pump() { zyn::test::PumpMessages(); }
    static void PaintAll();
    void MouseTo(int clientX, int clientY);
    // A client pixel of a window as on the screen.
    static COLORREF ClientPixel(const CWnd& wnd, int x, int y);
    static CRect ScreenRect(const CWnd& wnd, bool whole);

    CParentWnd parent;

private:
    size_t m_objects = 0;
    size_t m_dcs = 0;
    size_t m_lists = 0;
    DWORD m_version = 0;
};

} // namespace tbtest
