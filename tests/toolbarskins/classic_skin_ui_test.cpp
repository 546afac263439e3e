// The Classic toolbar skin: the answers it gives at each custom-draw stage and the tints
// it adds, on comctl32 4.71 and later (text colour through the notification, the TBCDRF_
// answers) and before (the DC's text colour, separators drawn by the skin); the gripper,
// the separator grooves, the customisation mark and the non-client area.
#include <vector>

#include "platform/afx/dockcont.h"
#include "platform/gdi/wingdi.h"
#include "tests/toolbarskins/tbskin_support.h"
#include "toolkit/skins/bar_skin_draw.h"

namespace tbtest {
namespace {

constexpr DWORD kNew = 0x40047, kOld = 0x40046;
constexpr COLORREF kRed = RGB(220, 20, 20), kGreen = RGB(20, 200, 20), kBlue = RGB(20, 20, 220),
                   kYellow = RGB(230, 230, 0), kPink = RGB(250, 150, 200), kGrey = RGB(90, 90, 90);

class ClassicSkinTest : public TbSkinTest {
protected:
    void MakeBar(CSkinTestBar& bar, const std::vector<TBBUTTON>& buttons, DWORD ctrlStyle = TBSTYLE_FLAT)
    {
        ASSERT_TRUE(bar.Make(&parent, CRect(20, 20, 320, 60), ctrlStyle));
        bar.skin = &skin;
        bar.Add(buttons);
        bar.Repaint();
    }
    COXToolbarSkinClassic skin;
};

// Without state colours the skin leaves every pixel to the control: the bar looks as the
// same bar without a skin, and the only answers are the notification requests.
TEST_F(ClassicSkinTest, WithoutStateColoursTheControlDrawsTheBar)
{
    const std::vector<TBBUTTON> buttons = {CSkinTestBar::Button(1, 0), CSkinTestBar::Separator(8),
        CSkinTestBar::Button(2, 1, BTNS_CHECK, TBSTATE_ENABLED | TBSTATE_CHECKED), CSkinTestBar::Button(3, 2, 0, 0)};
    CSkinTestBar skinned, plain;
    MakeBar(skinned, buttons);
    ASSERT_TRUE(plain.Make(&parent, CRect(20, 80, 320, 120)));
    plain.Add(buttons);
    plain.Repaint();
    std::vector<LRESULT> answers;
    struct Row {
        DWORD stage;
        LRESULT want;
    } rows[] = {{CDDS_PREPAINT, CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT}, {CDDS_ITEMPREPAINT, CDRF_NOTIFYPOSTPAINT},
        {CDDS_ITEMPOSTPAINT, CDRF_DODEFAULT}, {CDDS_POSTPAINT, CDRF_DODEFAULT}, {CDDS_PREERASE, CDRF_DODEFAULT}};
    for (const Row& row : rows) {
        Sentinel dc(300, 40, kFace);
        NMTBCUSTOMDRAW cd = Notification(skinned, dc.hdc(), row.stage);
        cd.nmcd.dwItemSpec = 1;
        cd.nmcd.rc = skinned.Item(0);
        cd.nmcd.uItemState = CDIS_HOT;
        EXPECT_EQ(CallCustomDraw(&skin, skinned, cd), row.want) << Hex(row.stage);
        EXPECT_EQ(dc.Untouched(), 300 * 40) << Hex(row.stage);
    }
    CRect client;
    skinned.GetClientRect(&client);
    for (int y = 0; y < client.Height(); ++y)
        for (int x = 0; x < client.Width(); ++x)
            ASSERT_EQ(ClientPixel(skinned, x, y), ClientPixel(plain, x, y)) << x << ", " << y;
}

// The item pre-paint: which state's colours tint a button, and the answer bits. Every
// colour set is distinct, so the pixel tells which was used: the frame at (0, 0), the
// fill at (1, 1) (at (0, 0) without a frame).
TEST_F(ClassicSkinTest, ItemPrePaintTintsByState)
{
    struct Row {
        const char* name;
        UINT itemState;
        DWORD version;
        COLORREF border, fill, text; // CLR_INVALID: not set for that state
        LRESULT want;
    };
    const COLORREF none = CLR_INVALID;
    const Row rows[] = {
        {"default", 0, kNew, kRed, kGreen, kBlue, CDRF_NOTIFYPOSTPAINT | TBCDRF_NOEDGES},
        {"selected", CDIS_SELECTED, kNew, kYellow, kPink, kGrey, CDRF_NOTIFYPOSTPAINT | TBCDRF_NOEDGES},
        {"hot", CDIS_HOT, kNew, kBlue, kRed, kGreen, CDRF_NOTIFYPOSTPAINT | TBCDRF_NOEDGES},
        {"hot and selected", CDIS_HOT | CDIS_SELECTED, kNew, kYellow, kPink, kGrey,
            CDRF_NOTIFYPOSTPAINT | TBCDRF_NOEDGES},
        {"checked", CDIS_CHECKED, kNew, kGreen, kBlue, kRed,
            CDRF_NOTIFYPOSTPAINT | TBCDRF_NOEDGES | TBCDRF_NOETCHEDEFFECT},
        {"checked, selected", CDIS_CHECKED | CDIS_SELECTED, kNew, kGreen, kBlue, kRed,
            CDRF_NOTIFYPOSTPAINT | TBCDRF_NOEDGES | TBCDRF_NOETCHEDEFFECT},
        {"checked and hot", CDIS_CHECKED | CDIS_HOT, kNew, kYellow, kPink, kGrey,
            CDRF_NOTIFYPOSTPAINT | TBCDRF_NOEDGES | TBCDRF_NOETCHEDEFFECT},
        {"checked, older control", CDIS_CHECKED, kOld, kGreen, kBlue, kRed, CDRF_NOTIFYPOSTPAINT},
        {"hot, older control", CDIS_HOT, kOld, kBlue, kRed, kGreen, CDRF_NOTIFYPOSTPAINT},
        {"checked, background only", CDIS_CHECKED, kNew, none, kBlue, none,
            CDRF_NOTIFYPOSTPAINT | TBCDRF_NOETCHEDEFFECT},
        {"checked, border only", CDIS_CHECKED, kNew, kGreen, none, none, CDRF_NOTIFYPOSTPAINT | TBCDRF_NOEDGES},
        {"hot, text only", CDIS_HOT, kNew, none, none, kGreen, CDRF_NOTIFYPOSTPAINT},
    };
    CSkinTestBar bar;
    MakeBar(bar, {CSkinTestBar::Button(1, 0)});
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        COXCoolToolBar::m_dwComCtlVersion = row.version;
        // Each state its own colours; the row's state gets the row's.
        const auto pick = [&](COLORREF c, COLORREF other) { return c == none ? COXCoolToolBar::kColorNotSet : other; };
        bar.SetDefaultBorderColor(pick(row.border, kRed));
        bar.SetDefaultBkColor(pick(row.fill, kGreen));
        bar.SetDefaultTextColor(pick(row.text, kBlue));
        bar.SetSelectedBorderColor(pick(row.border, kYellow));
        bar.SetSelectedBkColor(pick(row.fill, kPink));
        bar.SetSelectedTextColor(pick(row.text, kGrey));
        bar.SetHotBorderColor(pick(row.border, kBlue));
        bar.SetHotBkColor(pick(row.fill, kRed));
        bar.SetHotTextColor(pick(row.text, kGreen));
        bar.SetCheckedBorderColor(pick(row.border, kGreen));
        bar.SetCheckedBkColor(pick(row.fill, kBlue));
        bar.SetCheckedTextColor(pick(row.text, kRed));

        Sentinel dc(40, 30, kFace);
        NMTBCUSTOMDRAW cd = Notification(bar, dc.hdc(), CDDS_ITEMPREPAINT);
        cd.nmcd.dwItemSpec = 1;
        cd.nmcd.rc = CRect(0, 0, 24, 22);
        cd.nmcd.uItemState = row.itemState;
        cd.clrText = RGB(7, 7, 7);
        ::SetTextColor(dc.hdc(), RGB(8, 8, 8));
        EXPECT_EQ(CallCustomDraw(&skin, bar, cd), row.want);
        EXPECT_EQ(dc.at(0, 0), row.border != none ? row.border : (row.fill != none ? row.fill : kFace));
        EXPECT_EQ(dc.at(23, 21), row.border != none ? row.border : (row.fill != none ? row.fill : kFace));
        EXPECT_EQ(dc.at(1, 1), row.fill != none ? row.fill : kFace);
        EXPECT_EQ(dc.at(24, 22), kFace) << "nothing outside the item";
        const COLORREF wantText = row.text != none ? row.text : RGB(7, 7, 7);
        if (row.version >= kNew) {
            EXPECT_EQ(cd.clrText, wantText) << "the text colour goes into the notification";
            EXPECT_EQ(::GetTextColor(dc.hdc()), RGB(8, 8, 8));
        } else {
            EXPECT_EQ(cd.clrText, RGB(7, 7, 7));
            EXPECT_EQ(::GetTextColor(dc.hdc()), row.text != none ? row.text : RGB(8, 8, 8))
                << "older controls read the DC's text colour";
        }
    }
    // A hidden button is asked for its post-paint and left alone.
    bar.Send(TB_HIDEBUTTON, 1, TRUE);
    Sentinel dc(40, 30, kFace);
    NMTBCUSTOMDRAW cd = Notification(bar, dc.hdc(), CDDS_ITEMPREPAINT);
    cd.nmcd.dwItemSpec = 1;
    cd.nmcd.rc = CRect(0, 0, 24, 22);
    EXPECT_EQ(CallCustomDraw(&skin, bar, cd), CDRF_NOTIFYPOSTPAINT);
    EXPECT_EQ(dc.Untouched(), 40 * 30);
}

// The live cycle with a checked background: the item's answer reaches the control (the
// checked button is filled with the colour and shows no edges).
TEST_F(ClassicSkinTest, CheckedBackgroundOnTheLiveBar)
{
    CSkinTestBar bar;
    MakeBar(bar, {CSkinTestBar::Button(1, 0), CSkinTestBar::Button(2, 1, BTNS_CHECK, TBSTATE_ENABLED | TBSTATE_CHECKED)});
    bar.SetCheckedBorderColor(kRed);
    bar.SetCheckedBkColor(kGreen);
    bar.Repaint();
    EXPECT_EQ(ClientPixel(bar, 24, 0), kRed) << "the checked button's frame";
    EXPECT_EQ(ClientPixel(bar, 47, 21), kRed);
    EXPECT_EQ(ClientPixel(bar, 0, 0), kFace) << "the unchecked button is the control's";
    EXPECT_EQ(bar.lastAnswer, CDRF_DODEFAULT) << "the last notification is the item post-paint";
}

// The arrow part of a drop-down button is framed in the border colour of its state.
TEST_F(ClassicSkinTest, DropDownArrowFrame)
{
    struct Row {
        const char* name;
        UINT itemState;
        COLORREF want;
    } rows[] = {
        {"default", 0, kRed},
        {"hot", CDIS_HOT, kBlue},
        {"selected", CDIS_SELECTED, kYellow},
        {"hot and selected", CDIS_HOT | CDIS_SELECTED, kYellow},
        {"checked", CDIS_CHECKED, kGreen},
        {"checked and hot", CDIS_CHECKED | CDIS_HOT, kYellow},
    };
    CSkinTestBar bar;
    ASSERT_TRUE(bar.Make(&parent, CRect(20, 20, 320, 60)));
    bar.skin = &skin;
    bar.Send(TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    bar.SetDropDownArrow(TRUE);
    bar.Add({CSkinTestBar::Button(1, 0, BTNS_DROPDOWN), CSkinTestBar::Button(2, 1)});
    bar.SetArrowWidth(13);
    bar.SetDefaultBorderColor(kRed);
    bar.SetHotBorderColor(kBlue);
    bar.SetSelectedBorderColor(kYellow);
    bar.SetCheckedBorderColor(kGreen);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Sentinel dc(60, 30, kFace);
        NMTBCUSTOMDRAW cd = Notification(bar, dc.hdc(), CDDS_ITEMPOSTPAINT);
        cd.nmcd.dwItemSpec = 1;
        cd.nmcd.rc = CRect(0, 0, 37, 22);
        cd.nmcd.uItemState = row.itemState;
        EXPECT_EQ(CallCustomDraw(&skin, bar, cd), CDRF_DODEFAULT);
        EXPECT_EQ(dc.at(24, 0), row.want) << "the arrow part starts at 37 - 13";
        EXPECT_EQ(dc.at(36, 21), row.want);
        EXPECT_EQ(dc.at(23, 0), kFace);
        EXPECT_EQ(dc.at(25, 1), kFace);
    }
    // A plain button gets no arrow frame.
    Sentinel dc(60, 30, kFace);
    NMTBCUSTOMDRAW cd = Notification(bar, dc.hdc(), CDDS_ITEMPOSTPAINT);
    cd.nmcd.dwItemSpec = 2;
    cd.nmcd.rc = CRect(0, 0, 24, 22);
    CallCustomDraw(&skin, bar, cd);
    EXPECT_EQ(dc.Untouched(), 60 * 30);
}

// The customisation mark (a hatched 2-pixel frame): a plain button's after its item is
// drawn, a custom (window) button's at the pre-paint, since the control draws no item
// for it.
TEST_F(ClassicSkinTest, CustomisationMark)
{
    CSkinTestBar bar;
    MakeBar(bar, {CSkinTestBar::Button(1, 0), CSkinTestBar::Button(2, 1)});
    const auto framePixelsChanged = [](const Sentinel& dc, const CRect& r) {
        int changed = 0, inside = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const bool frame = x < r.left + 2 || x >= r.right - 2 || y < r.top + 2 || y >= r.bottom - 2;
                (frame ? changed : inside) += dc.at(x, y) != kFace;
            }
        return std::pair<int, int>(changed, inside);
    };
    struct Row {
        const char* name;
        bool custom;
        DWORD stage;
        bool marked;
    } rows[] = {
        {"plain button, post-paint", false, CDDS_ITEMPOSTPAINT, true},
        {"plain button, pre-paint", false, CDDS_PREPAINT, false},
        {"custom button, pre-paint", true, CDDS_PREPAINT, true},
        {"custom button, post-paint", true, CDDS_ITEMPOSTPAINT, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        bar.SetCustomized(1);
        bar.MarkCustomButton(1, row.custom);
        Sentinel dc(60, 30, kFace);
        NMTBCUSTOMDRAW cd = Notification(bar, dc.hdc(), row.stage);
        cd.nmcd.dwItemSpec = 2;
        cd.nmcd.rc = bar.Item(1);
        CallCustomDraw(&skin, bar, cd);
        // The pre-paint also fills the client area in the button face.
        const auto [frame, inside] = framePixelsChanged(dc, bar.Item(1));
        const int ring = 2 * 24 + 2 * 22 - 4 + 2 * (24 - 2) + 2 * (22 - 2) - 4; // the 2-pixel ring's pixels
        if (row.marked) {
            EXPECT_EQ(frame, ring / 2) << "every other pixel of the ring inverted by the halftone brush";
        } else {
            EXPECT_EQ(frame, 0);
        }
        EXPECT_EQ(inside, 0);
    }
    bar.MarkCustomButton(1, false);
}

// Before comctl32 4.71 the control draws no separators on a flat bar: the skin's groove,
// on the item shortened by one pixel at the right (24..31: columns 26 and 27), unless the
// separator ends a row, is hidden, or the bar draws no separators.
TEST_F(ClassicSkinTest, OlderControlsGetTheSkinsSeparators)
{
    CSkinTestBar bar;
    MakeBar(bar, {CSkinTestBar::Button(1, 0), CSkinTestBar::Separator(8), CSkinTestBar::Button(2, 1)});
    struct Row {
        const char* name;
        DWORD version;
        bool separatorFlag;
        BYTE state;
        bool drawn;
    } rows[] = {
        {"older control", kOld, true, TBSTATE_ENABLED, true},
        {"4.71", kNew, true, TBSTATE_ENABLED, false},
        {"no separators", kOld, false, TBSTATE_ENABLED, false},
        {"ends a row", kOld, true, TBSTATE_ENABLED | TBSTATE_WRAP, false},
        {"hidden", kOld, true, TBSTATE_ENABLED | TBSTATE_HIDDEN, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        COXCoolToolBar::m_dwComCtlVersion = row.version;
        bar.SetSeparator(row.separatorFlag);
        TBBUTTONINFOW info{};
        info.cbSize = sizeof(info);
        info.dwMask = TBIF_STATE | TBIF_BYINDEX;
        info.fsState = row.state;
        bar.Send(TB_SETBUTTONINFOW, 1, reinterpret_cast<LPARAM>(&info));
        const CRect item(24, 0, 32, 22); // the separator as laid out before any state change
        Sentinel dc(100, 30);
        NMTBCUSTOMDRAW cd = Notification(bar, dc.hdc(), CDDS_PREPAINT);
        EXPECT_EQ(CallCustomDraw(&skin, bar, cd), CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT);
        if (row.drawn) {
            ASSERT_EQ(bar.Item(1), item);
            for (int y = 1; y < 21; ++y) {
                EXPECT_EQ(dc.at(26, y), kShadow) << "row " << y;
                EXPECT_EQ(dc.at(27, y), kWhite) << "row " << y;
                EXPECT_EQ(dc.at(25, y), kFace) << "row " << y;
                EXPECT_EQ(dc.at(28, y), kFace) << "row " << y;
            }
            EXPECT_EQ(dc.at(26, 0), kShadow);
            EXPECT_EQ(dc.at(26, 21), kWhite) << "the bottom-left corner is the highlight's";
        } else {
            EXPECT_EQ(dc.Count(kFace), 100 * 30 - 0) << "only the pre-paint's fill";
        }
    }
}

// Separator grooves on a canvas: a horizontal bar's down the middle, a vertical bar's one
// button wide under the item; nothing for an item 9 pixels wide or wider.
TEST_F(ClassicSkinTest, SeparatorGrooves)
{
    CSkinTestBar bar;
    MakeBar(bar, {CSkinTestBar::Button(1, 0)});
    {
        Sentinel dc(40, 30, kFace);
        const CRect r(10, 0, 18, 22); // left = 14 - 1 = 13, right = 15
        skin.DrawSeparator(dc.dc(), &r, &bar);
        EXPECT_EQ(dc.at(13, 5), kShadow);
        EXPECT_EQ(dc.at(14, 5), kWhite);
        EXPECT_EQ(dc.at(12, 5), kFace);
        EXPECT_EQ(dc.at(15, 5), kFace);
        const CRect wide(10, 0, 19, 22);
        Sentinel dc2(40, 30, kFace);
        skin.DrawSeparator(dc2.dc(), &wide, &bar);
        EXPECT_EQ(dc2.Untouched(), 40 * 30) << "9 pixels wide: nothing";
    }
    bar.m_dwStyle = CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT;
    {
        // Item (24, 10, 32, 18), buttons 24 wide: (0, 19, 24, 22) -> (0, 19, 24, 21).
        Sentinel dc(40, 30, kFace);
        const CRect r(24, 10, 32, 18);
        skin.DrawSeparator(dc.dc(), &r, &bar);
        EXPECT_EQ(dc.at(0, 19), kShadow);
        EXPECT_EQ(dc.at(22, 19), kShadow);
        EXPECT_EQ(dc.at(23, 19), kWhite);
        EXPECT_EQ(dc.at(0, 20), kWhite);
        EXPECT_EQ(dc.at(12, 20), kWhite);
        EXPECT_EQ(dc.at(12, 18), kFace);
        EXPECT_EQ(dc.at(12, 21), kFace);
        EXPECT_EQ(dc.at(24, 19), kFace);
    }
}

// The two raised bars of the gripper, per side and dock state; none while floating.
TEST_F(ClassicSkinTest, GripperBars)
{
    using zyn::barskin::BarPlace;
    struct Row {
        const char* name;
        DWORD style;
        bool dockContext;
        CRect first; // the second is 3 pixels further along the bar
    } rows[] = {
        // (0, 0, 200, 30): deflated and moved down: (1, 2, 199, 30).
        {"horizontal, docking", CBRS_ALIGN_TOP, true, CRect(3, 2, 6, 28)},
        {"horizontal, bottom border", CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM, false, CRect(1, 0, 4, 28)},
        {"horizontal, plain", CBRS_ALIGN_TOP, false, CRect(1, 2, 4, 30)},
        // (0, 0, 30, 200): top + 1, right - 2, bottom - 1, down 1: (0, 2, 28, 200).
        {"vertical, docking", CBRS_ALIGN_LEFT, true, CRect(2, 2, 28, 5)},
        {"vertical, plain", CBRS_ALIGN_LEFT, false, CRect(0, 2, 30, 5)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        BarPlace place;
        place.style = row.style;
        place.dockContext = row.dockContext;
        const bool horizontal = (row.style & CBRS_ORIENT_HORZ) != 0;
        const CRect area = horizontal ? CRect(0, 0, 200, 30) : CRect(0, 0, 30, 200);
        CRect first, second;
        zyn::barskin::ClassicGripperBars(area, place, first, second);
        EXPECT_EQ(first, row.first);
        CRect next(row.first);
        next.OffsetRect(horizontal ? 3 : 0, horizontal ? 0 : 3);
        EXPECT_EQ(second, next);

        Sentinel dc(220, 220, kFace);
        zyn::barskin::DrawClassicGripper(dc.dc(), area, place);
        EXPECT_EQ(dc.at(first.left, first.top), kWhite);
        EXPECT_EQ(dc.at(first.right - 1, first.bottom - 1), kShadow);
        EXPECT_EQ(dc.at(second.left, second.top), kWhite);
        EXPECT_EQ(dc.at(second.right - 1, second.bottom - 1), kShadow);
        place.style |= CBRS_FLOATING;
        Sentinel floating(220, 220, kFace);
        zyn::barskin::DrawClassicGripper(floating.dc(), area, place);
        EXPECT_EQ(floating.Untouched(), 220 * 220) << "a floating bar has no gripper";
    }
}

// The non-client area: the button face around the client area; a bar that is not cool
// gets its control-bar borders first.
TEST_F(ClassicSkinTest, NonClientArea)
{
    CSkinTestBar bar;
    MakeBar(bar, {CSkinTestBar::Button(1, 0)});
    CRect window;
    bar.GetWindowRect(&window);
    const CRect whole(0, 0, window.Width(), window.Height());
    const CRect client = bar.ClientInWindow();
    for (const bool cool : {true, false}) {
        SCOPED_TRACE(cool ? "cool" : "not cool");
        bar.SetCool(cool);
        bar.m_dwStyle = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
        Sentinel dc(whole.Width(), whole.Height());
        skin.DrawNonClientArea(dc.dc(), &whole, &bar);
        EXPECT_EQ(dc.at(client.left + 5, client.top + 5), Sentinel::kColour) << "the client area is left alone";
        EXPECT_EQ(dc.at(0, 0), kFace);
        EXPECT_EQ(dc.at(whole.right - 1, 1), kFace);
        // The bottom border: a shadow line on the last row, then the face (filled over,
        // since the rectangle left by the borders grows by one without CBRS_BORDER_3D).
        EXPECT_EQ(dc.at(50, whole.bottom - 1), cool ? kFace : kShadow);
        EXPECT_EQ(dc.at(50, whole.bottom - 2), kFace);
    }
}

} // namespace
} // namespace tbtest
