// The XP toolbar skin on a live bar. Buttons of the control are 24 x 22 (a 16 x 15 image
// and 7 x 6 of padding, plus one) from the client's left, separators as wide as they are
// given; an image without text is centred: (24 - 16) / 2 = 4 across, (22 - 15) / 2 = 3
// down, so image i's 10 x 9 square starts 3 further in. The bar has 10 pixels of
// non-client area on the left and 3 on the other sides.
#include <vector>

#include "platform/afx/frame.h"
#include "platform/afx/msgmap_wnd.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/wingdi.h"
#include "tests/toolbarskins/tbskin_support.h"
#include "toolkit/skins/skin_xp.h"

namespace tbtest {
namespace {

class XPSkinTest : public TbSkinTest {
protected:
    void SetUp() override
    {
        TbSkinTest::SetUp();
        skin = std::make_unique<COXSkinXP>();
    }
    void TearDown() override
    {
        skin.reset();
        TbSkinTest::TearDown();
    }
    COXToolbarSkin* Skin() { return skin->GetToolbarSkin(); }

    // A bar at (20, 20) of the parent, 300 x 40 outside, painting through the XP skin.
    void MakeBar(CSkinTestBar& bar, const std::vector<TBBUTTON>& buttons, DWORD ctrlStyle = TBSTYLE_FLAT)
    {
        ASSERT_TRUE(bar.Make(&parent, CRect(20, 20, 320, 60), ctrlStyle));
        bar.skin = Skin();
        bar.Add(buttons);
        bar.Repaint();
    }
    COLORREF At(const CSkinTestBar& bar, int x, int y) { return ClientPixel(bar, x, y); }

    std::unique_ptr<COXSkinXP> skin;
};

// The XP skin paints the bar at the pre-paint stage alone. Every other stage (an erase
// announced by TBSTYLE_CUSTOMERASE, an item or post-paint stage) answers CDRF_DODEFAULT
// and leaves the DC as it was: no off-screen bitmap is copied over it.
TEST_F(XPSkinTest, OnlyThePrePaintStagePaints)
{
    CSkinTestBar bar;
    MakeBar(bar, {CSkinTestBar::Button(1, 0), CSkinTestBar::Button(2, 1)});
    CRect client;
    bar.GetClientRect(&client);
    const DWORD stages[] = {CDDS_PREERASE, CDDS_POSTERASE, CDDS_ITEMPREPAINT, CDDS_ITEMPOSTPAINT, CDDS_POSTPAINT,
        CDDS_ITEMPREERASE};
    for (DWORD stage : stages) {
        SCOPED_TRACE(Hex(stage));
        Sentinel dc(client.Width(), client.Height());
        const size_t objects = zyn::gdi::LiveObjectCount();
        NMTBCUSTOMDRAW cd = Notification(bar, dc.hdc(), stage);
        EXPECT_EQ(CallCustomDraw(Skin(), bar, cd), CDRF_DODEFAULT);
        EXPECT_EQ(dc.Untouched(), client.Width() * client.Height()) << "a later stage painted over the bar";
        EXPECT_EQ(zyn::gdi::LiveObjectCount(), objects);
    }
    Sentinel dc(client.Width(), client.Height());
    NMTBCUSTOMDRAW cd = Notification(bar, dc.hdc(), CDDS_PREPAINT);
    EXPECT_EQ(CallCustomDraw(Skin(), bar, cd), CDRF_SKIPDEFAULT);
    EXPECT_EQ(dc.Untouched(), 0) << "the pre-paint covers the whole client area";
    EXPECT_EQ(dc.at(client.right - 1, client.bottom - 1), kXPBackground);
    EXPECT_EQ(dc.at(24 + 4 + kSquareLeft, 3 + kSquareTop), kImageColours[1]) << "the second button's image";
}

// Within one paint every item is drawn into the same off-screen DC, which is not the
// bar's: the picture reaches the bar in one blit.
TEST_F(XPSkinTest, ItemsAreDrawnOffScreenOncePerPaint)
{
    struct RecordingBar : CSkinTestBar {
        std::vector<HDC> dcs;
        void DrawSeparator(CDC& dc, CRect& rect) override
        {
            dcs.push_back(dc.GetSafeHdc());
            CSkinTestBar::DrawSeparator(dc, rect);
        }
    } bar;
    MakeBar(bar, {CSkinTestBar::Button(1, 0), CSkinTestBar::Separator(8), CSkinTestBar::Button(2, 1),
                     CSkinTestBar::Separator(8)});
    bar.dcs.clear();
    const int calls = bar.customDrawCalls;
    bar.Repaint();
    ASSERT_EQ(bar.dcs.size(), 2u);
    EXPECT_EQ(bar.dcs[0], bar.dcs[1]);
    EXPECT_EQ(CDC::FromHandle(bar.dcs[0])->GetWindow(), nullptr) << "a memory DC, not the bar's";
    EXPECT_EQ(bar.customDrawCalls - calls, 1) << "only the pre-paint is asked for";
    EXPECT_EQ(bar.lastAnswer, CDRF_SKIPDEFAULT);
    EXPECT_EQ(At(bar, 27, 3), kXPSeparator) << "the separator's line: right = (24 + 32) / 2, left = right - 1";
}

// The look of a button in each state, from the XP table: the frame and fill colours, and
// where the image lies (lifted by one pixel with a shadow two pixels below right, or in
// place).
TEST_F(XPSkinTest, ButtonStatesFollowTheTable)
{
    enum Image { InPlace, Lifted, Silhouette };
    struct Row {
        const char* name;
        BYTE style;
        BYTE state;
        bool hot;
        bool dropped;
        COLORREF border; // at (0, 0); CLR_INVALID: no frame (the bar's background shows)
        COLORREF fill;   // at (1, 1) and (22, 20)
        Image image;
    };
    const COLORREF bg = kXPBackground;
    const Row rows[] = {
        {"normal", BTNS_BUTTON, TBSTATE_ENABLED, false, false, CLR_INVALID, bg, InPlace},
        {"hot", BTNS_BUTTON, TBSTATE_ENABLED, true, false, kXPBorder, kXPHot, Lifted},
        {"pressed and hot", BTNS_BUTTON, TBSTATE_ENABLED | TBSTATE_PRESSED, true, false, kXPBorder, kXPHotSelected,
            InPlace},
        {"checked and hot", BTNS_CHECK, TBSTATE_ENABLED | TBSTATE_CHECKED, true, false, kXPBorder, kXPHotSelected,
            InPlace},
        {"checked", BTNS_CHECK, TBSTATE_ENABLED | TBSTATE_CHECKED, false, false, kXPBorder, kXPChecked, InPlace},
        {"pressed, not hot", BTNS_BUTTON, TBSTATE_ENABLED | TBSTATE_PRESSED, false, false, CLR_INVALID, bg, Lifted},
        {"disabled", BTNS_BUTTON, 0, false, false, CLR_INVALID, bg, Silhouette},
        {"dropped wins over hot", BTNS_BUTTON, TBSTATE_ENABLED, true, true, CLR_INVALID, bg, Lifted},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CSkinTestBar bar;
        MakeBar(bar, {CSkinTestBar::Button(7, 2, row.style, row.state)});
        bar.Send(TB_SETHOTITEM, row.hot ? 0 : static_cast<WPARAM>(-1));
        if (row.dropped)
            bar.DropDownOpened(7);
        bar.Repaint();
        EXPECT_EQ(At(bar, 0, 0), row.border == CLR_INVALID ? bg : row.border);
        EXPECT_EQ(At(bar, 23, 21), row.border == CLR_INVALID ? bg : row.border);
        EXPECT_EQ(At(bar, 1, 1), row.fill);
        EXPECT_EQ(At(bar, 22, 20), row.fill);
        const COLORREF square = kImageColours[2];
        switch (row.image) {
        case InPlace: // square (7, 6)..(16, 14)
            EXPECT_EQ(At(bar, 7, 6), square);
            EXPECT_EQ(At(bar, 16, 14), square);
            EXPECT_EQ(At(bar, 6, 5), row.fill);
            EXPECT_EQ(At(bar, 17, 15), row.fill);
            break;
        case Lifted: // square (6, 5)..(15, 13), its shadow (8, 7)..(17, 15)
            EXPECT_EQ(At(bar, 6, 5), square);
            EXPECT_EQ(At(bar, 15, 13), square);
            EXPECT_EQ(At(bar, 16, 14), kShadow) << "the shadow";
            EXPECT_EQ(At(bar, 17, 15), kShadow) << "the shadow's last pixel";
            EXPECT_EQ(At(bar, 18, 16), row.fill);
            EXPECT_EQ(At(bar, 7, 14), row.fill) << "left of the shadow";
            break;
        case Silhouette: // GetDisabledTextColor over the square's pixels
            EXPECT_EQ(At(bar, 7, 6), kShadow);
            EXPECT_EQ(At(bar, 16, 14), kShadow);
            EXPECT_EQ(At(bar, 6, 5), row.fill);
            break;
        }
        if (row.dropped) {
            EXPECT_EQ(bar.GetDroppedButton(), -1) << "drawn dropped once";
            bar.Repaint();
            EXPECT_EQ(At(bar, 0, 0), kXPBorder) << "the next paint shows it hot";
            EXPECT_EQ(At(bar, 1, 1), kXPHot);
        }
        bar.DestroyWindow();
    }
}

// The other image lists: a disabled button draws from the disabled list (in place), a hot
// one from the hot list (lifted), when the bar has them.
TEST_F(XPSkinTest, DisabledAndHotImageLists)
{
    struct Row {
        const char* name;
        BYTE state;
        bool hot;
        UINT message;
        int shift;
        CPoint square; // the square's first pixel
    } rows[] = {
        {"disabled", 0, false, TB_SETDISABLEDIMAGELIST, 1, CPoint(7, 6)},
        {"hot", TBSTATE_ENABLED, true, TB_SETHOTIMAGELIST, 3, CPoint(6, 5)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CSkinTestBar bar;
        MakeBar(bar, {CSkinTestBar::Button(7, 0, BTNS_BUTTON, row.state)});
        HIMAGELIST& list = row.hot ? bar.hotImages : bar.disabledImages;
        list = MakeImages(row.shift);
        bar.Send(row.message, 0, reinterpret_cast<LPARAM>(list));
        bar.Send(TB_SETHOTITEM, row.hot ? 0 : static_cast<WPARAM>(-1));
        bar.Repaint();
        EXPECT_EQ(At(bar, row.square.x, row.square.y), kImageColours[row.shift]);
        EXPECT_NE(At(bar, row.square.x - 1, row.square.y - 1), kImageColours[row.shift]) << "transparent around it";
    }
}

// Separators: a line in the separator colour down the middle of one taller than wide,
// nothing for one wider than tall, and a line across the bar under a row it ends.
TEST_F(XPSkinTest, Separators)
{
    CSkinTestBar bar;
    // Item 1: x 24..32; item 3: x 56..96 (40 wide, 22 tall).
    MakeBar(bar, {CSkinTestBar::Button(1, 0), CSkinTestBar::Separator(8), CSkinTestBar::Button(2, 1),
                     CSkinTestBar::Separator(40), CSkinTestBar::Button(3, 2)});
    ASSERT_EQ(bar.Item(1), CRect(24, 0, 32, 22));
    ASSERT_EQ(bar.Item(3), CRect(56, 0, 96, 22));
    for (int y = 0; y < 22; ++y) {
        EXPECT_EQ(At(bar, 27, y), kXPSeparator) << "row " << y; // right = 56 / 2 = 28, left = 27
        EXPECT_EQ(At(bar, 28, y), kXPBackground) << "row " << y;
    }
    for (int x = 56; x < 96; ++x)
        EXPECT_EQ(At(bar, x, 10), kXPBackground) << "the wide separator is blank at x " << x;

    // The first separator ends the row: (0, 22 - 8, client right, 22), a line at row
    // (14 + 22) / 2 - 1 = 17 across the client width.
    TBBUTTONINFOW info{};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_STATE | TBIF_BYINDEX;
    info.fsState = TBSTATE_ENABLED | TBSTATE_WRAP;
    bar.Send(TB_SETBUTTONINFOW, 1, reinterpret_cast<LPARAM>(&info));
    bar.Repaint();
    CRect client;
    bar.GetClientRect(&client);
    for (int x : {0, 100, client.right - 1}) {
        EXPECT_EQ(At(bar, x, 17), kXPSeparator) << "x " << x;
        EXPECT_EQ(At(bar, x, 16), kXPBackground) << "x " << x;
        EXPECT_EQ(At(bar, x, 18), kXPBackground) << "x " << x;
    }
}

// The insert mark: 3 pixels of the button text colour at the button's left edge, or at
// its right edge after it; a background mark is not drawn.
TEST_F(XPSkinTest, InsertMark)
{
    struct Row {
        DWORD flags;
        int left; // first column of the mark, -1 for none
    } rows[] = {{0, 24}, {TBIMHT_AFTER, 45}, {TBIMHT_BACKGROUND, -1}, {TBIMHT_AFTER | TBIMHT_BACKGROUND, 45}};
    CSkinTestBar bar;
    MakeBar(bar, {CSkinTestBar::Button(1, 0), CSkinTestBar::Button(2, 1), CSkinTestBar::Button(3, 3)});
    for (const Row& row : rows) {
        SCOPED_TRACE(row.flags);
        TBINSERTMARK mark{1, row.flags};
        bar.Send(TB_SETINSERTMARK, 0, reinterpret_cast<LPARAM>(&mark));
        bar.Repaint();
        for (int x = 22; x < 50; ++x) {
            const bool inMark = row.left >= 0 && x >= row.left && x < row.left + 3;
            EXPECT_EQ(At(bar, x, 1) == kBlack, inMark) << "x " << x;
        }
    }
    TBINSERTMARK none{5, 0};
    bar.Send(TB_SETINSERTMARK, 0, reinterpret_cast<LPARAM>(&none));
    bar.Repaint(); // a mark past the last button draws nothing (and reads nothing)
    EXPECT_EQ(At(bar, 71, 1), kXPBackground);
}

// The button being customised gets a 2-pixel black frame, unless it hosts a window.
TEST_F(XPSkinTest, CustomisedButtonMark)
{
    CSkinTestBar bar;
    MakeBar(bar, {CSkinTestBar::Button(1, 0), CSkinTestBar::Button(2, 1)});
    bar.SetCustomized(1);
    bar.Repaint();
    for (const CPoint p : {CPoint(24, 0), CPoint(25, 1), CPoint(47, 21), CPoint(46, 20)})
        EXPECT_EQ(At(bar, p.x, p.y), kBlack) << p.x << ", " << p.y;
    EXPECT_EQ(At(bar, 26, 2), kXPBackground);
    bar.MarkCustomButton(1, true);
    bar.Repaint();
    EXPECT_EQ(At(bar, 24, 0), kXPBackground) << "a custom button's window shows instead";
}

// A drop-down button with separate arrows: the arrow part is the measured width of
// Marlett's "6" (8 points: an 11-pixel cell) plus 4 at the right; the hot button frames
// it on its own; the 5-3-1 triangle is centred in it (cell at +2, +5; triangle at +3, +4
// inside the cell). A text-only drop-down button keeps its arrow.
TEST_F(XPSkinTest, DropDownArrow)
{
    for (int image : {1, -1}) {
        SCOPED_TRACE(image);
        CSkinTestBar bar;
        ASSERT_TRUE(bar.Make(&parent, CRect(20, 20, 320, 60)));
        bar.skin = Skin();
        bar.Send(TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
        bar.Add({CSkinTestBar::Button(1, image, BTNS_DROPDOWN)});
        bar.Send(TB_SETHOTITEM, 0);
        bar.Repaint();
        const CRect item = bar.Item(0);
        const int arrowLeft = item.right - 15;
        EXPECT_EQ(At(bar, arrowLeft, 10), kXPBorder) << "the arrow part's own frame";
        EXPECT_EQ(At(bar, arrowLeft - 1, 10), kXPHot);
        const int x = arrowLeft + 5, y = item.top + 9;
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(At(bar, x + i, y), kBlack) << "row 1, " << i;
        EXPECT_EQ(At(bar, x - 1, y), kXPHot);
        EXPECT_EQ(At(bar, x + 5, y), kXPHot);
        EXPECT_EQ(At(bar, x, y + 1), kXPHot);
        EXPECT_EQ(At(bar, x + 1, y + 1), kBlack);
        EXPECT_EQ(At(bar, x + 3, y + 1), kBlack);
        EXPECT_EQ(At(bar, x + 2, y + 2), kBlack);
        EXPECT_EQ(At(bar, x + 1, y + 2), kXPHot);
        bar.DestroyWindow();
    }
}

// A text far longer than any fixed buffer is read whole and drawn inside its button: the
// next button's pixels are untouched.
TEST_F(XPSkinTest, LongButtonTextStaysInItsButton)
{
    CSkinTestBar bar;
    ASSERT_TRUE(bar.Make(&parent, CRect(20, 20, 420, 80), TBSTYLE_FLAT | TBSTYLE_LIST));
    bar.skin = Skin();
    bar.Add({CSkinTestBar::Button(1, 0), CSkinTestBar::Button(2, 1)});
    bar.Send(TB_SETBUTTONWIDTH, 0, MAKELPARAM(60, 60));
    bar.Send(TB_SETMAXTEXTROWS, 1);
    const std::wstring text(5000, L'W');
    bar.SetText(1, text.c_str());
    bar.Repaint();
    const CRect first = bar.Item(0), second = bar.Item(1);
    ASSERT_EQ(first.Width(), 60);
    for (int x = second.left; x < second.right; ++x)
        for (int y = second.top; y < second.bottom; ++y)
            ASSERT_NE(At(bar, x, y), kBlack) << "text spilled into the next button at " << x << ", " << y;
    int dark = 0;
    for (int x = first.left; x < first.right; ++x)
        for (int y = first.top; y < first.bottom; ++y)
            dark += At(bar, x, y) == kBlack;
    EXPECT_GT(dark, 0) << "the text is drawn";
}

// The non-client ring: the background colour inside a 2-pixel button-face ring, the
// body's four corner pixels in the button face.
TEST_F(XPSkinTest, NonClientRingAndGripper)
{
    CSkinTestBar bar;
    MakeBar(bar, {CSkinTestBar::Button(1, 0)});
    CRect window;
    bar.GetWindowRect(&window);
    HDC screen = ::GetDC(nullptr);
    const auto nc = [&](int x, int y) { return ::GetPixel(screen, window.left + x, window.top + y); };
    const int w = window.Width(), h = window.Height(); // 300 x 40
    for (const CPoint p : {CPoint(0, 0), CPoint(1, 1), CPoint(w - 1, h - 1), CPoint(w - 2, 20), CPoint(2, 2),
             CPoint(w - 3, 2), CPoint(w - 3, h - 3), CPoint(2, h - 3)})
        EXPECT_EQ(nc(p.x, p.y), kFace) << p.x << ", " << p.y;
    EXPECT_EQ(nc(3, 2), kXPBackground);
    EXPECT_EQ(nc(2, 3), kXPBackground);
    // The gripper of a horizontal bar without a dock context and with a bottom border:
    // (0 + 2, 0 + 6 - 2, 2 + 3, 40 - 5 - 2) = (2, 4, 5, 33): lines every second row from 4
    // to 32.
    for (int y = 4; y <= 33; ++y) {
        const COLORREF want = (y % 2 == 0 && y <= 33) ? kXPGripper : kXPBackground;
        EXPECT_EQ(nc(2, y) == kXPGripper, want == kXPGripper) << "row " << y;
        EXPECT_EQ(nc(4, y), nc(2, y)) << "row " << y;
    }
    EXPECT_NE(nc(5, 4), kXPGripper) << "the line stops before its end point";
    ::ReleaseDC(nullptr, screen);
}

// Notification 32891 to the bar's frame: a frame that clears bContinue decides the answer
// and the skin paints nothing; a frame that lets it go on sees the custom-draw block.
class CVetoFrame : public CFrameWnd {
public:
    bool veto = false;
    int heard = 0;
    DWORD lastStage = 0;
    void OnPreCustomDraw(NMHDR* pNMHDR, LRESULT* pResult)
    {
        auto* block = reinterpret_cast<NMOXTBPRECUSTOMDRAW*>(pNMHDR);
        ++heard;
        lastStage = block->pCustomDraw ? block->pCustomDraw->dwDrawStage : 0;
        if (veto) {
            block->bContinue = FALSE;
            block->lResult = 0x1234;
        }
        *pResult = 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CVetoFrame, CFrameWnd)
    ON_NOTIFY(OXTBN_PRECUSTOMDRAW, 100, &CVetoFrame::OnPreCustomDraw)
END_MESSAGE_MAP()

TEST_F(XPSkinTest, FrameMayTakeThePaintOver)
{
    auto* frame = new CVetoFrame;
    ASSERT_TRUE(frame->Create(nullptr, L"Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(50, 50, 450, 350)));
    CSkinTestBar bar;
    ASSERT_TRUE(bar.Make(frame, CRect(0, 0, 300, 40)));
    bar.skin = Skin();
    bar.Add({CSkinTestBar::Button(1, 0)});
    CRect client;
    bar.GetClientRect(&client);
    frame->heard = 0;
    {
        Sentinel dc(client.Width(), client.Height());
        NMTBCUSTOMDRAW cd = Notification(bar, dc.hdc(), CDDS_PREPAINT);
        EXPECT_EQ(CallCustomDraw(Skin(), bar, cd), CDRF_SKIPDEFAULT);
        EXPECT_EQ(frame->heard, 1);
        EXPECT_EQ(frame->lastStage, CDDS_PREPAINT);
    }
    frame->veto = true;
    for (COXToolbarSkin* toolbarSkin : {Skin(), static_cast<COXToolbarSkin*>(nullptr)}) {
        COXToolbarSkinClassic classic;
        COXToolbarSkin* s = toolbarSkin ? toolbarSkin : &classic;
        Sentinel dc(client.Width(), client.Height());
        NMTBCUSTOMDRAW cd = Notification(bar, dc.hdc(), CDDS_PREPAINT);
        EXPECT_EQ(CallCustomDraw(s, bar, cd), 0x1234);
        EXPECT_EQ(dc.Untouched(), client.Width() * client.Height()) << "nothing painted";
    }
    // A floating bar asks its top-level parent (here the same frame).
    bar.m_dwStyle |= CBRS_FLOATING;
    const int heard = frame->heard;
    Sentinel dc(client.Width(), client.Height());
    NMTBCUSTOMDRAW cd = Notification(bar, dc.hdc(), CDDS_ITEMPREPAINT);
    EXPECT_EQ(CallCustomDraw(Skin(), bar, cd), 0x1234);
    EXPECT_EQ(frame->heard, heard + 1);
    bar.DestroyWindow();
    frame->DestroyWindow();
}

} // namespace
} // namespace tbtest
