// The flat faces the cool controls paint over the system's, pixel by pixel where the
// geometry is exact: the edit's two-pixel border (cold, hot, disabled), flat window
// scroll bars and the square where they meet, the scroll-bar control's thumb, the spin's
// halves and the part of its edit's border it covers, the slider's thumb and transposed
// channel, the buttons' edges and marks, the styles left as the system paints them, and
// a system colour change showing at the next paint.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/comctl/updown.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/winuser.h"
#include "tests/coolctl/cool_ui_support.h"
#include "toolkit/menus/cool_button.h"
#include "toolkit/menus/cool_ctrl.h"
#include "toolkit/menus/cool_scrollbar.h"
#include "toolkit/menus/cool_slider.h"
#include "toolkit/menus/cool_spin.h"

namespace cooltest {
namespace {

using CCoolEdit = COXCoolCtrl<CEdit>;

class FlatPaintTest : public CoolUiTest {
protected:
    // Pixels of a screen rectangle, in parent client coordinates.
    static std::vector<COLORREF> Pixels(const CRect& r)
    {
        std::vector<COLORREF> out;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                out.push_back(Pixel(x, y));
        return out;
    }
    void HoverClient(int x, int y) { MouseTo(x, y); PaintAll(); }
    void Away()
    {
        MouseTo(395, 295);
        Wait(150);
        PaintAll();
    }
};

// ---- the edit's border ----------------------------------------------------------------------------------------------

TEST_F(FlatPaintTest, EditBorderFlatColdSunkenHotAndDisabledShadowInside)
{
    // Edit at (20, 20)-(120, 42) with a two-pixel client edge. Probes: the outer and inner
    // ring on the left, top, right and bottom sides.
    struct Probe {
        int x, y;
    };
    const Probe probes[] = {{20, 30}, {21, 30}, {60, 20}, {60, 21}, {119, 30}, {118, 30}, {60, 41}, {60, 40}};
    struct Row {
        const char* name;
        bool hot;
        bool enabled;
        COLORREF expected[8];
    } rows[] = {
        {"cold", false, true, {kWhite, kWhite, kWhite, kWhite, kWhite, kWhite, kWhite, kWhite}},
        {"hot", true, true, {kShadow, kDark, kShadow, kDark, kWhite, kFace, kWhite, kFace}},
        {"disabled", false, false, {kWhite, kShadow, kWhite, kShadow, kWhite, kShadow, kWhite, kShadow}},
        {"hot but disabled", true, false, {kWhite, kShadow, kWhite, kShadow, kWhite, kShadow, kWhite, kShadow}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CCoolEdit edit;
        ASSERT_TRUE(edit.CreateEx(WS_EX_CLIENTEDGE, L"Edit", L"", WS_CHILD | WS_VISIBLE, CRect(20, 20, 120, 42), &parent, 1));
        if (row.hot)
            HoverClient(60, 30);
        if (!row.enabled)
            edit.EnableWindow(FALSE);
        PaintAll();
        ASSERT_EQ(edit.IsInHotState() != FALSE, row.hot);
        for (size_t i = 0; i < 8; ++i)
            EXPECT_EQ(Pixel(probes[i].x, probes[i].y), row.expected[i]) << "probe " << i;
        edit.DestroyWindow();
        Away();
    }
}

TEST_F(FlatPaintTest, WindowScrollBarsGetFlatArrowsAndTheCornerStaysTheSystems)
{
    // Edit (20, 20)-(140, 100), client edge 2, both bars 16: client (2, 2)-(102, 62) in
    // window coordinates; vertical bar (102, 2)-(118, 62), horizontal (2, 62)-(102, 78),
    // the corner (102, 62)-(118, 78).
    CCoolEdit edit;
    ASSERT_TRUE(edit.CreateEx(WS_EX_CLIENTEDGE, L"Edit", L"",
        WS_CHILD | WS_VISIBLE | ES_MULTILINE | WS_VSCROLL | WS_HSCROLL, CRect(20, 20, 140, 100), &parent, 1));
    PaintAll();
    const int ox = 20, oy = 20;
    // Up arrow (102, 2)-(118, 18): highlight top-left, shadow bottom-right, face inside.
    EXPECT_EQ(Pixel(ox + 102, oy + 2), kWhite);
    EXPECT_EQ(Pixel(ox + 117, oy + 10), kShadow);
    EXPECT_EQ(Pixel(ox + 110, oy + 17), kShadow);
    EXPECT_EQ(Pixel(ox + 103, oy + 10), kFace);
    // Down arrow (102, 46)-(118, 62) and the left arrow (2, 62)-(18, 78).
    EXPECT_EQ(Pixel(ox + 102, oy + 46), kWhite);
    EXPECT_EQ(Pixel(ox + 117, oy + 61), kShadow);
    EXPECT_EQ(Pixel(ox + 2, oy + 62), kWhite);
    EXPECT_EQ(Pixel(ox + 17, oy + 70), kShadow);
    // The corner keeps the system's face colour (the frame's white filled rectangle
    // must not reach it); the frame rings around it are flat.
    EXPECT_EQ(Pixel(ox + 110, oy + 70), kFace);
    EXPECT_EQ(Pixel(ox + 110, oy + 78), kWhite);
    EXPECT_EQ(Pixel(ox + 119, oy + 70), kWhite);
    edit.DestroyWindow();
}

// ---- scroll-bar control ------------------------------------------------------------------------------------------

TEST_F(FlatPaintTest, ScrollBarThumbCountsThePositionFromTheMinimum)
{
    // A 116-pixel bar at (10, 50): arrows 16, track 84 from x = 26. Range 100..199, page
    // 10, position 145: thumb 8 long, 38 into the track: (64, 50)-(72, 66).
    COXCoolScrollBar bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | SBS_HORZ, CRect(10, 50, 126, 66), &parent, 1));
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 100, 199, 10, 145, 0};
    bar.SetScrollInfo(&si);
    PaintAll();
    EXPECT_EQ(Pixel(64, 58), kWhite);
    EXPECT_EQ(Pixel(65, 58), kFace);
    EXPECT_EQ(Pixel(70, 58), kFace);
    EXPECT_EQ(Pixel(71, 58), kShadow);
    EXPECT_EQ(Pixel(67, 50), kWhite);
    EXPECT_EQ(Pixel(67, 65), kShadow);
    // The arrows: (10, 50)-(26, 66) and (110, 50)-(126, 66).
    EXPECT_EQ(Pixel(10, 50), kWhite);
    EXPECT_EQ(Pixel(25, 58), kShadow);
    EXPECT_EQ(Pixel(11, 58), kFace);
    EXPECT_EQ(Pixel(110, 58), kWhite);
    EXPECT_EQ(Pixel(125, 58), kShadow);

    // Hot, the system's look stays: the flat thumb's face ring is gone.
    HoverClient(40, 58);
    ASSERT_TRUE(bar.IsInHotState());
    EXPECT_NE(Pixel(11, 58), kFace);
    bar.DestroyWindow();
}

// ---- spin ---------------------------------------------------------------------------------------------------------

TEST_F(FlatPaintTest, SpinHalvesFlatUnlessShorterThanFourPixels)
{
    struct Row {
        const char* name;
        int height;
        bool flat;
    } rows[] = {{"7 high: no flat edges", 7, false}, {"8 high: two halves of 4", 8, true}, {"30 high", 30, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        COXCoolSpinButtonCtrl spin;
        ASSERT_TRUE(spin.Create(WS_CHILD | WS_VISIBLE, CRect(250, 10, 266, 10 + row.height), &parent, 4));
        PaintAll();
        const CRect area(250, 10, 266, 10 + row.height);
        const std::vector<COLORREF> cold = Pixels(area);
        HoverClient(258, 10 + row.height / 2);
        ASSERT_TRUE(spin.IsInHotState());
        const std::vector<COLORREF> hot = Pixels(area);
        EXPECT_EQ(cold != hot, row.flat);
        if (row.flat) {
            const int half = row.height / 2;
            // Each half: highlight ring top-left, shadow bottom-right, face inside.
            const size_t w = 16;
            auto at = [&](int x, int y) { return cold[static_cast<size_t>(y) * w + static_cast<size_t>(x)]; };
            EXPECT_EQ(at(0, 0), kWhite);
            EXPECT_EQ(at(15, 1), kShadow);
            EXPECT_EQ(at(5, half - 1), kShadow);
            EXPECT_EQ(at(1, 1), kFace);
            EXPECT_EQ(at(5, row.height - half), kWhite);
            EXPECT_EQ(at(5, row.height - 1), kShadow);
        }
        spin.DestroyWindow();
        Away();
    }
}

TEST_F(FlatPaintTest, AttachedSpinDrawsTheCoveredBorderInItsBuddysLook)
{
    // Edit (20, 20)-(120, 42) with a 2-pixel edge; the spin takes 16 pixels at its right:
    // (104, 20)-(120, 42). The covered border: rows 0 and 1 and columns 15 and 14 of the
    // spin. Probes: (110, 20), (110, 21), (119, 30), (118, 30).
    struct Row {
        const char* name;
        bool coolBuddy;
        bool buddyHot;
        COLORREF expected[4];
    } rows[] = {
        {"cold cool edit", true, false, {kWhite, kWhite, kWhite, kWhite}},
        {"hot cool edit", true, true, {kShadow, kDark, kWhite, kFace}},
        // A plain edit has no hot state: it counts as cold, focused or not.
        {"plain edit with the focus", false, true, {kWhite, kWhite, kWhite, kWhite}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CCoolEdit coolEdit;
        CEdit plainEdit;
        CEdit& edit = row.coolBuddy ? static_cast<CEdit&>(coolEdit) : plainEdit;
        ASSERT_TRUE(edit.CreateEx(WS_EX_CLIENTEDGE, L"Edit", L"", WS_CHILD | WS_VISIBLE, CRect(20, 20, 120, 42), &parent, 1));
        COXCoolSpinButtonCtrl spin;
        ASSERT_TRUE(spin.Create(WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT, CRect(0, 0, 0, 0), &parent, 2));
        spin.SetBuddy(&edit);
        CRect sr;
        spin.GetWindowRect(&sr);
        parent.ScreenToClient(&sr);
        ASSERT_EQ(sr, CRect(104, 20, 120, 42));
        if (row.buddyHot)
            edit.SetFocus();
        PaintAll();
        EXPECT_EQ(coolEdit.GetSafeHwnd() ? coolEdit.IsInHotState() != FALSE : false, row.coolBuddy && row.buddyHot);
        EXPECT_FALSE(spin.IsInHotState());
        EXPECT_EQ(Pixel(110, 20), row.expected[0]);
        EXPECT_EQ(Pixel(110, 21), row.expected[1]);
        EXPECT_EQ(Pixel(119, 30), row.expected[2]);
        EXPECT_EQ(Pixel(118, 30), row.expected[3]);
        // The halves inside the border: (104, 22)-(118, 40) split into two of 9.
        EXPECT_EQ(Pixel(104, 22), kWhite);
        EXPECT_EQ(Pixel(117, 25), kShadow);
        EXPECT_EQ(Pixel(110, 30), kShadow);
        EXPECT_EQ(Pixel(110, 31), kWhite);
        parent.SetFocus();
        spin.DestroyWindow();
        edit.DestroyWindow();
    }
}

// ---- slider -------------------------------------------------------------------------------------------------------

TEST_F(FlatPaintTest, SliderThumbOutlineAndChannel)
{
    struct Row {
        const char* name;
        DWORD style;
        CRect rect;
    } rows[] = {
        {"rectangular", TBS_HORZ | TBS_BOTH, CRect(10, 100, 210, 140)},
        {"vertical, pointing right", TBS_VERT, CRect(300, 20, 330, 220)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        COXCoolSliderCtrl slider;
        ASSERT_TRUE(slider.Create(WS_CHILD | WS_VISIBLE | row.style, row.rect, &parent, 3));
        slider.SetRange(0, 100);
        slider.SetPos(30);
        PaintAll();
        const CPoint o = row.rect.TopLeft();
        CRect thumb;
        slider.GetThumbRect(&thumb);
        CRect channel;
        slider.GetChannelRect(&channel);
        if (row.style & TBS_VERT) {
            std::swap(channel.left, channel.top);
            std::swap(channel.right, channel.bottom);
        }
        // The channel: a flat sunken edge (shadow top-left, highlight bottom-right, face
        // inside), outside the thumb.
        const int cx = (row.style & TBS_VERT) ? channel.left : channel.right - 2;
        const int cy = (row.style & TBS_VERT) ? channel.bottom - 2 : channel.top;
        EXPECT_EQ(Pixel(o.x + channel.left, o.y + channel.top), kShadow);
        EXPECT_EQ(Pixel(o.x + channel.right - 1, o.y + channel.bottom - 1), kWhite);
        EXPECT_EQ(Pixel(o.x + cx, o.y + cy), kShadow);
        EXPECT_EQ(Pixel(o.x + channel.left + 1, o.y + channel.top + 1), kFace);

        const int L = thumb.left, T = thumb.top, R = thumb.right, B = thumb.bottom;
        if (row.style & TBS_BOTH) {
            EXPECT_EQ(Pixel(o.x + L, o.y + T), kWhite);
            EXPECT_EQ(Pixel(o.x + R - 1, o.y + B - 1), kShadow);
            EXPECT_EQ(Pixel(o.x + L + 1, o.y + T + 1), kFace);
        } else {
            // Pointing right: highlight along the top and down the left, shadow along the
            // bottom, face one pixel in. (The golden pictures show a pointing-down thumb.)
            EXPECT_EQ(Pixel(o.x + L, o.y + T), kWhite);
            EXPECT_EQ(Pixel(o.x + L, o.y + B - 2), kWhite);
            EXPECT_EQ(Pixel(o.x + L + 2, o.y + B - 1), kShadow);
            EXPECT_EQ(Pixel(o.x + L + 1, o.y + T + 1), kFace);
        }
        slider.DestroyWindow();
    }
}

// ---- buttons ------------------------------------------------------------------------------------------------------

TEST_F(FlatPaintTest, ButtonEdgesAndMarks)
{
    // Buttons at (20, 20) of 100 x 24 (check and radio: box (20, 25)-(33, 38)).
    struct Probe {
        int x, y;
        COLORREF colour;
    };
    struct Row {
        const char* name;
        DWORD style;
        int check;
        std::vector<Probe> probes;
    } rows[] = {
        {"push: raised edge, face band", BS_PUSHBUTTON, 0,
            {{20, 20, kWhite}, {20, 42, kWhite}, {20, 43, kShadow}, {119, 30, kShadow}, {60, 43, kShadow}, {21, 21, kFace}, {22, 30, kFace}}},
        {"default push: dark frame outside the edge", BS_DEFPUSHBUTTON, 0,
            {{20, 20, kDark}, {119, 30, kDark}, {21, 21, kWhite}, {118, 30, kShadow}, {22, 30, kFace}}},
        {"checked push-like box: pressed edge", BS_AUTOCHECKBOX | BS_PUSHLIKE, 1,
            {{20, 20, kShadow}, {119, 30, kWhite}, {21, 30, kFace}}},
        {"check box: highlight inner frame", BS_AUTOCHECKBOX, 0,
            {{21, 26, kWhite}, {31, 31, kWhite}, {26, 36, kWhite}}},
        {"check box, text on the left", BS_AUTOCHECKBOX | BS_LEFTTEXT, 0,
            {{108, 26, kWhite}, {118, 31, kWhite}}},
        // The arc's ellipse (22, 26)-(33, 37): its top and left reach the highlight pen.
        {"radio: highlight arc upper-left", BS_AUTORADIOBUTTON, 0, {{27, 26, kWhite}, {22, 31, kWhite}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        COXCoolButton button;
        ASSERT_TRUE(button.Create(L"", WS_CHILD | WS_VISIBLE | row.style, CRect(20, 20, 120, 44), &parent, 1));
        button.SetCheck(row.check);
        PaintAll();
        for (const Probe& p : row.probes)
            EXPECT_EQ(Pixel(p.x, p.y), p.colour) << "(" << p.x << ", " << p.y << ")";
        button.DestroyWindow();
    }
}

TEST_F(FlatPaintTest, SomeButtonsKeepTheSystemsLook)
{
    // Cold and hot pictures are equal for the styles left alone, different for the rest.
    struct Row {
        const char* name;
        DWORD style;
        bool flat;
    } rows[] = {
        {"group box", BS_GROUPBOX, false},
        {"owner-drawn", BS_OWNERDRAW, false},
        {"BS_FLAT push button", BS_PUSHBUTTON | BS_FLAT, false},
        {"push button", BS_PUSHBUTTON, true},
        {"radio button", BS_RADIOBUTTON, true},
        {"3-state box", BS_AUTO3STATE, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        COXCoolButton button;
        ASSERT_TRUE(button.Create(L"", WS_CHILD | WS_VISIBLE | row.style, CRect(20, 20, 120, 44), &parent, 1));
        PaintAll();
        const std::vector<COLORREF> cold = Pixels(CRect(20, 20, 120, 44));
        HoverClient(70, 32);
        if (!button.IsInHotState()) {
            // A group box lets the mouse through to its parent; it is made hot directly.
            button.OnChangeHotState(TRUE);
            PaintAll();
        }
        ASSERT_TRUE(button.IsInHotState());
        const std::vector<COLORREF> hot = Pixels(CRect(20, 20, 120, 44));
        EXPECT_EQ(cold != hot, row.flat);
        button.DestroyWindow();
        Away();
    }
}

// ---- system colours ----------------------------------------------------------------------------------------------

TEST_F(FlatPaintTest, SystemColourChangeShowsAtTheNextPaint)
{
    CCoolEdit edit;
    ASSERT_TRUE(edit.CreateEx(WS_EX_CLIENTEDGE, L"Edit", L"", WS_CHILD | WS_VISIBLE, CRect(20, 20, 120, 42), &parent, 1));
    PaintAll();
    ASSERT_EQ(Pixel(20, 30), kWhite);
    const INT index = COLOR_3DHILIGHT;
    const COLORREF red = RGB(255, 0, 0);
    ASSERT_TRUE(::SetSysColors(1, &index, &red));
    edit.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    EXPECT_EQ(Pixel(20, 30), red);
    EXPECT_EQ(Pixel(21, 30), red);
    edit.DestroyWindow();
}

} // namespace
} // namespace cooltest
