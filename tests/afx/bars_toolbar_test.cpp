// CToolBar: a bar from a TOOLBAR resource and its bitmap, sizes and their limits, the
// layout of its rows docked, floating and fixed (worked by hand from the button sizes), the
// idle pass, clicks, tooltips and fly-by prompts, and the internal record operations that a
// derived bar's insert and delete handlers never see.
//
// The test bar (afx_bars_test.rc): Open, Lock, a separator, Bell, Quiet; 16 x 15 images, so
// buttons of 23 x 22; a bar that is not flat has 8-pixel separators whose row gap is
// 8 * 2 / 3 = 5 pixels. Create() gives margins of 6 (left, right) and 3 (top, bottom).
#include <cstring>

#include "platform/afx/gdi/image_list.h"
#include "platform/afx/tooltip_thread.h"
#include "platform/afx/tooltipctrl.h"
#include "platform/base/coll_map.h"
#include "platform/base/resource.h"
#include "tests/afx/bars_test_support.h"

namespace zyn::test {
namespace {

using user::InjectMouseButton;
using user::InjectMouseMove;
using user::MouseButton;

constexpr UINT kIds[] = {ID_BAR_OPEN, ID_BAR_LOCK, ID_SEPARATOR, ID_BAR_BELL, ID_BAR_QUIET};

// A frame whose commands the tests drive: Open has a handler, Lock is disabled by its
// update handler, Bell shows the check state the test sets, Quiet has nothing.
class CBarFrame : public CFrameWnd {
public:
    int opened = 0;
    int bellCheck = 0;
    void OnOpen() { ++opened; }
    void OnUpdateLock(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    void OnUpdateBell(CCmdUI* pCmdUI) { pCmdUI->SetCheck(bellCheck); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBarFrame, CFrameWnd)
    ON_COMMAND(ID_BAR_OPEN, &CBarFrame::OnOpen)
    ON_UPDATE_COMMAND_UI(ID_BAR_LOCK, &CBarFrame::OnUpdateLock)
    ON_UPDATE_COMMAND_UI(ID_BAR_BELL, &CBarFrame::OnUpdateBell)
END_MESSAGE_MAP()

// A frame that handles every button's command, so the idle pass leaves them all enabled.
class CHandlingFrame : public CFrameWnd {
public:
    void OnAny(UINT) {}
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHandlingFrame, CFrameWnd)
    ON_COMMAND_RANGE(ID_BAR_OPEN, ID_BAR_QUIET, &CHandlingFrame::OnAny)
END_MESSAGE_MAP()

class ToolBarTest : public BarsTest {
protected:
    CBarFrame* MakeBarFrame()
    {
        auto* f = new CBarFrame;
        if (!f->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 100, 700, 500)))
            return nullptr;
        frame = f;
        view = MakePlain(WS_CHILD | WS_VISIBLE, frame->m_hWnd, AFX_IDW_PANE_FIRST);
        app.m_pMainWnd = frame;
        frame->SetActiveWindow();
        frame->RecalcLayout();
        Pump();
        return f;
    }
    static CRect ItemRect(const CToolBar& bar, int i)
    {
        CRect r;
        bar.GetItemRect(i, &r);
        return r;
    }
};

TEST_F(ToolBarTest, LoadToolBarMakesTheButtonsSizesAndImagesOfTheResource)
{
    frame = new CHandlingFrame;
    ASSERT_TRUE(frame->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 100, 700, 500)));
    app.m_pMainWnd = frame;
    CToolBar bar;
    ASSERT_TRUE(bar.Create(frame));
    ASSERT_TRUE(bar.LoadToolBar(IDR_TESTBAR));
    CToolBarCtrl& ctrl = bar.GetToolBarCtrl();
    ASSERT_EQ(ctrl.GetButtonCount(), 5);
    EXPECT_EQ(bar.GetCount(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(bar.GetItemID(i), kIds[i]) << "button " << i;
    EXPECT_EQ(bar.m_sizeImage, CSize(16, 15));
    EXPECT_EQ(bar.m_sizeButton, CSize(23, 22)) << "the image and 7 pixels each way";
    EXPECT_EQ(ctrl.GetButtonSize(), CSize(23, 22)) << "the control has the same size";

    // Images are numbered over the buttons only; a separator's "image" is its width.
    struct Row {
        int index;
        UINT id;
        UINT style;
        int image;
    };
    const Row rows[] = {
        {0, ID_BAR_OPEN, TBBS_BUTTON, 0},
        {1, ID_BAR_LOCK, TBBS_BUTTON, 1},
        {2, ID_SEPARATOR, TBBS_SEPARATOR, 8},
        {3, ID_BAR_BELL, TBBS_BUTTON, 2},
        {4, ID_BAR_QUIET, TBBS_BUTTON, 3},
    };
    for (const Row& row : rows) {
        UINT id = 99, style = 99;
        int image = -99;
        bar.GetButtonInfo(row.index, id, style, image);
        EXPECT_EQ(id, row.id) << "button " << row.index;
        EXPECT_EQ(style, row.style) << "button " << row.index << ": enabled shows as no TBBS_DISABLED";
        EXPECT_EQ(image, row.image) << "button " << row.index;
    }
    EXPECT_EQ(bar.CommandToIndex(ID_BAR_BELL), 3);
    EXPECT_EQ(bar.CommandToIndex(0x7777), -1);
    ::SetLastError(0);
    EXPECT_EQ(bar.GetItemID(5), 0u);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << "a bad index is told";

    // The image well: four 16 x 15 images, the bar keeps the bitmap.
    EXPECT_NE(bar.m_hbmImageWell, nullptr);
    EXPECT_NE(bar.m_hRsrcImageWell, nullptr);
    CImageList* images = ctrl.GetImageList();
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(images->GetImageCount(), 4);

    // Shown: the middle of each button holds its image's square (red, green, blue, yellow).
    frame->RecalcLayout();
    Pump();
    user::PaintPendingWindows();
    const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 128, 0), 0, RGB(0, 0, 255), RGB(255, 255, 0)};
    HDC screen = GetDC(nullptr);
    for (int i : {0, 1, 3, 4}) {
        const CPoint c = Centre(bar, ItemRect(bar, i));
        EXPECT_EQ(GetPixel(screen, c.x, c.y), colours[i]) << "button " << i;
    }
    ReleaseDC(nullptr, screen);
}

TEST_F(ToolBarTest, ResourcesThatAreMissingOrMalformedLeaveTheBarAsItWas)
{
    ASSERT_TRUE(MakeFrame());
    CToolBar bar;
    ASSERT_TRUE(bar.Create(frame));
    ASSERT_TRUE(bar.LoadToolBar(IDR_TESTBAR));
    const HBITMAP well = bar.m_hbmImageWell;

    // Version 1 layout: WORD version, width, height, count, then the commands.
    auto words = [](std::initializer_list<WORD> w) {
        std::vector<uint8_t> b;
        for (WORD x : w) {
            b.push_back(static_cast<uint8_t>(x & 0xFF));
            b.push_back(static_cast<uint8_t>(x >> 8));
        }
        return b;
    };
    struct Row {
        const char* what;
        UINT id;
        std::vector<uint8_t> bytes;
    };
    const Row rows[] = {
        {"another version", 3290, words({2, 16, 15, 1, 0x8201})},
        {"fewer commands than counted", 3291, words({1, 16, 15, 3, 0x8201, 0x8202})},
        {"zero image width", 3292, words({1, 0, 15, 1, 0x8201})},
        {"shorter than its header", 3293, words({1, 16, 15})},
    };
    for (const Row& row : rows) {
        static bool added[4] = {};
        if (!added[row.id - 3290])
            added[row.id - 3290] = base::AddResource(nullptr, RT_TOOLBAR, MAKEINTRESOURCEW(row.id), LANG_NEUTRAL, row.bytes);
        ::SetLastError(0);
        EXPECT_FALSE(bar.LoadToolBar(row.id)) << row.what;
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA)) << row.what;
        EXPECT_EQ(bar.GetToolBarCtrl().GetButtonCount(), 5) << row.what << ": the buttons stay";
        EXPECT_EQ(bar.m_sizeButton, CSize(23, 22)) << row.what;
    }
    EXPECT_FALSE(bar.LoadToolBar(3299)) << "no such resource";
    EXPECT_EQ(bar.GetToolBarCtrl().GetButtonCount(), 5);

    // Another image size cannot be cut from images already loaded: refused before the
    // buttons change.
    EXPECT_FALSE(bar.LoadToolBar(IDR_WIDEBAR));
    EXPECT_EQ(bar.GetToolBarCtrl().GetButtonCount(), 5);
    EXPECT_EQ(bar.m_sizeImage, CSize(16, 15));
    EXPECT_EQ(bar.m_hbmImageWell, well);

    // A toolbar without a bitmap of its name makes its buttons and then says it failed.
    CToolBar other;
    ASSERT_TRUE(other.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE840));
    EXPECT_FALSE(other.LoadToolBar(IDR_NOBITMAP));
    EXPECT_EQ(other.GetToolBarCtrl().GetButtonCount(), 1);
    EXPECT_EQ(other.m_hbmImageWell, nullptr);
}

TEST_F(ToolBarTest, SizesAreCheckedBeforeTheyReachTheControl)
{
    ASSERT_TRUE(MakeFrame());
    CToolBar bar;
    ASSERT_TRUE(bar.Create(frame));
    struct Row {
        const char* what;
        CSize button, image;
        bool ok;
    };
    // A button needs 7 x 6 pixels round its image.
    const Row before[] = {
        {"6 pixels wider", CSize(22, 22), CSize(16, 15), false},
        {"5 pixels taller", CSize(23, 20), CSize(16, 15), false},
        {"no image", CSize(30, 30), CSize(0, 15), false},
        {"just enough", CSize(23, 21), CSize(16, 15), true},
        {"larger images before any are loaded", CSize(31, 27), CSize(24, 20), true},
    };
    for (const Row& row : before) {
        const CSize oldButton = bar.m_sizeButton;
        EXPECT_EQ(bar.SetSizes(row.button, row.image) != FALSE, row.ok) << row.what;
        EXPECT_EQ(bar.m_sizeButton, row.ok ? row.button : oldButton) << row.what;
    }
    ASSERT_TRUE(bar.SetSizes(CSize(23, 22), CSize(16, 15)));
    ASSERT_TRUE(bar.LoadToolBar(IDR_TESTBAR));
    EXPECT_FALSE(bar.SetSizes(CSize(40, 40), CSize(20, 20))) << "images are cut already";
    EXPECT_EQ(bar.m_sizeImage, CSize(16, 15));
    EXPECT_TRUE(bar.SetSizes(CSize(40, 30), CSize(16, 15))) << "the same images in larger buttons";
    EXPECT_EQ(bar.GetToolBarCtrl().GetButtonSize(), CSize(40, 30));
    EXPECT_EQ(ItemRect(bar, 1), CRect(40, 0, 80, 30));

    // SetHeight: the buttons in the middle, an odd pixel above them. CBRS_TOP has a
    // 2-pixel border at the bottom: 41 - 2 - 30 = 9 spare, 5 above and 4 below.
    ASSERT_TRUE(bar.SetHeight(41));
    EXPECT_EQ(bar.m_cyTopBorder, 5);
    EXPECT_EQ(bar.m_cyBottomBorder, 4);
    EXPECT_EQ(bar.CalcFixedLayout(FALSE, TRUE).cy, 41);
    EXPECT_FALSE(bar.SetHeight(-1));
}

// The sizes a bar asks for, worked from the rules in bartool.h. Horizontal: 4 buttons of 23
// and a separator of 8 make 100 x 22; vertical: one column of 23 with rows
// [Open] [Lock, separator] [Bell] [Quiet], 22 + 22 + 5 + 22 + 22 = 93 high.
TEST_F(ToolBarTest, FixedAndDynamicLayoutsFollowTheButtonSizes)
{
    ASSERT_TRUE(MakeFrame());
    CToolBar bar;
    ASSERT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC));
    ASSERT_TRUE(bar.LoadToolBar(IDR_TESTBAR));
    // Margins: horizontally 6 + 6 wide, 3 + 3 + the bottom border of 2 high. Measured for
    // a vertical side, the margins turn: 3 + 3 wide, 6 + 6 + 2 high.
    struct Row {
        const char* what;
        int length;
        DWORD mode;
        CSize expected;
    };
    const Row rows[] = {
        {"one row", -1, LM_HORZ, CSize(112, 30)},
        {"one row stretched", -1, LM_HORZ | LM_STRETCH, CSize(32767, 30)},
        {"docked on a horizontal side", -1, LM_HORZ | LM_HORZDOCK, CSize(112, 30)},
        {"one column", -1, 0, CSize(29, 107)},
        {"docked on a vertical side", -1, LM_VERTDOCK, CSize(29, 107)},
        // 60 outside is 48 for buttons: the narrowest width with the 2 rows it gives is 46
        // ([Open, Lock, separator] [Bell, Quiet]; the separator wraps: 22 + 5 + 22).
        {"60 pixels wide", 60, LM_HORZ, CSize(58, 57)},
        // 80 high is 66 for buttons: 4 rows (93) are too many, 2 rows (49) fit.
        {"80 pixels high", 80, LM_LENGTHY, CSize(52, 63)},
        // Room for every button on one row: still 100 wide.
        {"wider than needed", 500, LM_HORZ, CSize(112, 30)},
        // Narrower than a button: one column, as narrow as a button.
        {"narrower than a button", 10, LM_HORZ, CSize(35, 101)},
    };
    for (const Row& row : rows)
        EXPECT_EQ(bar.CalcDynamicLayout(row.length, row.mode), row.expected) << row.what;

    // A fixed-size bar keeps the wrap states it has: Lock ends the first row.
    CToolBar fixed;
    ASSERT_TRUE(fixed.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_FIXED, 0xE841));
    ASSERT_TRUE(fixed.LoadToolBar(IDR_TESTBAR));
    fixed.SetButtonStyle(1, fixed.GetButtonStyle(1) | TBBS_WRAPPED);
    // [Open, Lock] 46 x 22, then [separator, Bell, Quiet] 8 + 46 = 54 wide, 22 lower.
    EXPECT_EQ(fixed.CalcFixedLayout(FALSE, TRUE), CSize(54 + 12, 44 + 8));
    EXPECT_EQ(fixed.CalcFixedLayout(FALSE, FALSE), CSize(54 + 6, 44 + 14)) << "fixed in either orientation";
}

TEST_F(ToolBarTest, DockedOnTheLeftTheButtonsStandInOneColumn)
{
    ASSERT_TRUE(MakeFrame());
    CToolBar bar;
    ASSERT_TRUE(bar.Create(frame));
    ASSERT_TRUE(bar.LoadToolBar(IDR_TESTBAR));
    frame->EnableDocking(CBRS_ALIGN_ANY);
    bar.EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_LEFT);
    frame->RecalcLayout();
    Pump();
    EXPECT_EQ(bar.GetBarStyle() & CBRS_ALIGN_ANY, CBRS_ALIGN_LEFT);
    // Docked, the bar has all four 2-pixel borders: 23 + 4 + 3 + 3 wide, 93 + 4 + 6 + 6 high.
    EXPECT_EQ(ScreenRect(bar).Size(), CSize(33, 109));
    const CRect expected[] = {CRect(0, 0, 23, 22), CRect(0, 22, 23, 44), CRect(23, 22, 31, 44), CRect(0, 49, 23, 71),
        CRect(0, 71, 23, 93)};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(ItemRect(bar, i), expected[i]) << "item " << i;
    // Back on the top side: one row again.
    frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
    frame->RecalcLayout();
    EXPECT_EQ(ItemRect(bar, 3), CRect(54, 0, 77, 22));
    EXPECT_EQ(ScreenRect(bar).Height(), 22 + 4 + 3 + 3);
}

TEST_F(ToolBarTest, TheIdlePassEnablesAndChecksButtonsThroughTheFramesHandlers)
{
    CBarFrame* f = MakeBarFrame();
    ASSERT_TRUE(f);
    CToolBar bar;
    ASSERT_TRUE(bar.Create(frame));
    ASSERT_TRUE(bar.LoadToolBar(IDR_TESTBAR));
    frame->RecalcLayout();
    CToolBarCtrl& ctrl = bar.GetToolBarCtrl();
    ctrl.PressButton(ID_BAR_LOCK);   // as if the mouse were holding it
    struct Step {
        int bellCheck;
        BOOL bellChecked, bellIndeterminate;
    };
    const Step steps[] = {{1, TRUE, FALSE}, {2, FALSE, TRUE}, {0, FALSE, FALSE}};
    for (const Step& s : steps) {
        f->bellCheck = s.bellCheck;
        Idle(app);
        EXPECT_TRUE(ctrl.IsButtonEnabled(ID_BAR_OPEN)) << "a command handler: enabled";
        EXPECT_FALSE(ctrl.IsButtonEnabled(ID_BAR_LOCK)) << "its update handler disables it";
        EXPECT_FALSE(ctrl.IsButtonPressed(ID_BAR_LOCK)) << "disabled, it is no longer pressed";
        EXPECT_FALSE(ctrl.IsButtonEnabled(ID_BAR_QUIET)) << "no handler: disabled in the idle pass";
        EXPECT_EQ(ctrl.IsButtonChecked(ID_BAR_BELL) != FALSE, s.bellChecked != FALSE) << "check " << s.bellCheck;
        EXPECT_EQ(ctrl.IsButtonIndeterminate(ID_BAR_BELL) != FALSE, s.bellIndeterminate != FALSE)
            << "check " << s.bellCheck;
        EXPECT_EQ(bar.GetButtonStyle(1) & TBBS_DISABLED, TBBS_DISABLED);
    }
    // A click on Open reaches the frame's handler; one on disabled Quiet does nothing.
    Pump();
    const CPoint open = Centre(bar, ItemRect(bar, 0));
    InjectMouseMove(open.x, open.y);
    InjectMouseButton(MouseButton::Left, true);
    InjectMouseButton(MouseButton::Left, false);
    const CPoint quiet = Centre(bar, ItemRect(bar, 4));
    InjectMouseMove(quiet.x, quiet.y);
    InjectMouseButton(MouseButton::Left, true);
    InjectMouseButton(MouseButton::Left, false);
    PumpTranslated();
    EXPECT_EQ(f->opened, 1);
}

TEST_F(ToolBarTest, TooltipsShowTheTipLineAndFlyByThePromptOnTheMessageLine)
{
    ASSERT_TRUE(MakeFrame());
    CToolBar bar;
    ASSERT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY));
    ASSERT_TRUE(bar.LoadToolBar(IDR_TESTBAR));
    CStatusBar status;
    ASSERT_TRUE(status.Create(frame));
    const UINT panes[] = {ID_SEPARATOR, ID_INDICATOR_CAPS};
    ASSERT_TRUE(status.SetIndicators(panes, 2));
    frame->RecalcLayout();
    Idle(app);
    PumpTranslated();
    EXPECT_EQ(Shown(status, 0), L"Ready");

    struct Row {
        int index;
        const wchar_t* prompt;
        const wchar_t* tip;   // null: no tip shows
    };
    const Row rows[] = {
        {0, L"Opens the door", L"Open door"},
        {3, L"Rings the bell", L"Bell"},
        {4, L"Prompt without a tip", nullptr},
    };
    for (const Row& row : rows) {
        const CPoint p = Centre(bar, ItemRect(bar, row.index));
        InjectMouseMove(p.x, p.y);
        PumpTranslated();
        EXPECT_EQ(Shown(status, 0), row.prompt) << "fly-by of button " << row.index;
        EXPECT_EQ(std::wstring(frame->GetMessageLine().GetString()), row.prompt);
        AdvanceMs(600);
        CToolTipCtrl* tip = afx::GetThreadToolTip();
        ASSERT_NE(tip, nullptr);
        if (!row.tip) {
            EXPECT_FALSE(tip->IsWindowVisible()) << "button " << row.index;
            continue;
        }
        ASSERT_TRUE(tip->IsWindowVisible()) << "button " << row.index;
        CString text;
        tip->GetText(text, &bar, bar.GetItemID(row.index));
        EXPECT_EQ(std::wstring(text.GetString()), row.tip);
    }
    // The separator is no tool: the message line goes back to the idle prompt.
    const CPoint sep = Centre(bar, ItemRect(bar, 2));
    InjectMouseMove(sep.x, sep.y);
    PumpTranslated();
    EXPECT_EQ(Shown(status, 0), L"Ready");
    EXPECT_EQ(bar.SendMessage(WM_HELPHITTEST, 0, MAKELPARAM(ItemRect(bar, 3).left + 2, 5)),
        HID_BASE_COMMAND + ID_BAR_BELL);
}

// A bar that watches the buttons added and removed from outside, as the toolkit's bars do.
class CWatchingBar : public CToolBar {
public:
    int inserts = 0, deletes = 0;
    LRESULT OnInsert(WPARAM, LPARAM)
    {
        ++inserts;
        return Default();
    }
    LRESULT OnDelete(WPARAM, LPARAM)
    {
        ++deletes;
        return Default();
    }
    using CToolBar::_GetButton;
    using CToolBar::_SetButton;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CWatchingBar, CToolBar)
    ON_MESSAGE(TB_INSERTBUTTONW, &CWatchingBar::OnInsert)
    ON_MESSAGE(TB_DELETEBUTTON, &CWatchingBar::OnDelete)
END_MESSAGE_MAP()

TEST_F(ToolBarTest, RecordsAreRewrittenWithoutTheDerivedBarsInsertAndDeleteHandlers)
{
    ASSERT_TRUE(MakeFrame());
    CWatchingBar bar;
    ASSERT_TRUE(bar.Create(frame));
    ASSERT_TRUE(bar.LoadToolBar(IDR_TESTBAR));
    TBBUTTON b{};
    ASSERT_TRUE(bar._GetButton(1, &b));
    EXPECT_EQ(b.idCommand, static_cast<int>(ID_BAR_LOCK));
    EXPECT_EQ(b.fsState & TBSTATE_ENABLED, 0) << "the record says 'disabled' with that bit";
    b.fsState |= TBSTATE_ENABLED | TBSTATE_CHECKED;   // disabled and checked
    ASSERT_TRUE(bar._SetButton(1, &b));
    CToolBarCtrl& ctrl = bar.GetToolBarCtrl();
    EXPECT_FALSE(ctrl.IsButtonEnabled(ID_BAR_LOCK));
    EXPECT_TRUE(ctrl.IsButtonChecked(ID_BAR_LOCK));
    bar.SetButtonInfo(3, 0x8299, TBBS_CHECKBOX, 1);
    bar.SetButtonStyle(4, TBBS_BUTTON | TBBS_HIDDEN);
    CRect first;
    bar.GetItemRect(0, &first);   // commits the layout: every record written again
    EXPECT_EQ(bar.inserts, 0) << "internal rewrites go straight to the control";
    EXPECT_EQ(bar.deletes, 0);
    EXPECT_EQ(ctrl.GetButtonCount(), 5);
    EXPECT_EQ(bar.GetItemID(3), 0x8299u);
    EXPECT_TRUE(ctrl.IsButtonHidden(ID_BAR_QUIET));

    // From outside, the same messages reach the handlers.
    TBBUTTON add{};
    add.iBitmap = 0;
    add.idCommand = 0x8298;
    add.fsState = TBSTATE_ENABLED;
    add.iString = reinterpret_cast<INT_PTR>(L"Own text");   // the control keeps a copy
    ASSERT_TRUE(bar.SendMessage(TB_INSERTBUTTONW, 0, reinterpret_cast<LPARAM>(&add)));
    EXPECT_EQ(bar.inserts, 1);
    EXPECT_EQ(ctrl.GetButtonCount(), 6);
    // Rewriting a button with a text of its own keeps the text (the control's copy dies
    // with the old button).
    bar.SetButtonStyle(0, bar.GetButtonStyle(0) | TBBS_CHECKED);
    EXPECT_EQ(std::wstring(bar.GetButtonText(0).GetString()), L"Own text");
    EXPECT_EQ(bar.inserts, 1);
    ASSERT_TRUE(bar.SendMessage(TB_DELETEBUTTON, 0));
    EXPECT_EQ(bar.deletes, 1);
    EXPECT_EQ(ctrl.GetButtonCount(), 5);
    EXPECT_FALSE(bar._SetButton(9, &b)) << "no button there";
}

TEST_F(ToolBarTest, ButtonTextsJoinTheStringPoolOnceAndWidenTheButtons)
{
    ASSERT_TRUE(MakeFrame());
    CToolBar bar;
    ASSERT_TRUE(bar.Create(frame));
    ASSERT_TRUE(bar.LoadToolBar(IDR_TESTBAR));
    ASSERT_TRUE(bar.SetButtonText(0, L"Open"));
    ASSERT_TRUE(bar.SetButtonText(3, L"Open"));
    ASSERT_TRUE(bar.SetButtonText(4, L"Quiet"));
    ASSERT_NE(bar.m_pStringMap, nullptr);
    EXPECT_EQ(bar.m_pStringMap->GetCount(), 2) << "one pool entry per distinct text";
    EXPECT_EQ(std::wstring(bar.GetButtonText(3).GetString()), L"Open");
    EXPECT_EQ(std::wstring(bar.GetButtonText(4).GetString()), L"Quiet");
    EXPECT_EQ(std::wstring(bar.GetButtonText(1).GetString()), L"") << "no text";
    EXPECT_FALSE(bar.SetButtonText(7, L"x"));
    EXPECT_FALSE(bar.SetButtonText(0, nullptr));
    // Text below the image: the button grows to the widest text and a line of the bar's
    // font (the control's rule once the bar has set its 16 x 15 image size: max(image,
    // text) + 7 by image + 6 + line), and the bar measures with the control's size.
    HFONT font = reinterpret_cast<HFONT>(bar.SendMessage(WM_GETFONT));
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SIZE open{}, quiet{};
    GetTextExtentPoint32W(dc, L"Open", 4, &open);
    GetTextExtentPoint32W(dc, L"Quiet", 5, &quiet);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    const int textWidth = std::max<int>(open.cx, quiet.cx);
    const CSize expected(std::max<int>(23, std::max<int>(16, textWidth) + 7), std::max<int>(22, 15 + 6 + tm.tmHeight));
    EXPECT_EQ(bar.m_sizeButton, expected);
    EXPECT_EQ(ItemRect(bar, 1), CRect(expected.cx, 0, 2 * expected.cx, expected.cy));
}

} // namespace
} // namespace zyn::test
