// The size dialog bar and the size tool bar: a template made into a sizeable bar whose
// controls follow its size, and a hosted toolbar with its buttons, images, tips, prompts,
// customisation answers and idle update. Expected numbers are worked by hand: a control
// at (10, 10)-(110, 30) of a 200 x 100 client sits at (20, 20)-(220, 60) in 400 x 200;
// the default tool bar is 12 images of 16 wide and 15 + 18 high; the test bitmap is 64
// pixels wide, four 16-pixel images.
#include <cwchar>
#include <string>

#include "platform/afx/afxpriv.h"
#include "platform/comctl/tooltip.h"
#include "tests/docking/docking_test_support.h"
#include "tests/docking/size_bars_test_ids.h"
#include "toolkit/docking/size_dialog_bar.h"
#include "toolkit/docking/size_tool_bar.h"

namespace zyn::test {
namespace {

// Exposes the recording of the controls, so a case can place them to exact pixels first.
class CProbeDialogBar : public COXSizeDialogBar {
public:
    using COXSizeDialogBar::COXSizeDialogBar;
    using COXSizeDialogBar::RecordChildLayout;
    int initDialogs = 0;
    BOOL OnInitDialog() override
    {
        ++initDialogs;
        return COXSizeDialogBar::OnInitDialog();
    }
};

class SizeBarsTest : public SizeDockTest {
protected:
    void SetUp() override
    {
        SizeDockTest::SetUp();
        ASSERT_TRUE(MakeSizeFrame());
    }
    // Gives the window the client size `client` (its non-client room kept).
    static void SetClientSize(CWnd& wnd, CSize client)
    {
        CRect w, c;
        wnd.GetWindowRect(&w);
        wnd.GetClientRect(&c);
        wnd.SetWindowPos(nullptr, 0, 0, client.cx + w.Width() - c.Width(), client.cy + w.Height() - c.Height(),
            SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    static CRect ChildRect(const CWnd& parent, UINT nID)
    {
        CRect r;
        ::GetWindowRect(::GetDlgItem(parent.m_hWnd, static_cast<int>(nID)), &r);
        parent.ScreenToClient(&r);
        return r;
    }
    static TBBUTTON Button(COXSizeToolBar& bar, int i)
    {
        TBBUTTON b{};
        EXPECT_TRUE(bar.GetToolBarCtrl().GetButton(i, &b)) << i;
        return b;
    }
    // A tool bar of the frame with the test bitmap's four images and commands.
    void MakeToolBar(COXSizeToolBar& bar, const std::vector<UINT>& bitmapIds = {})
    {
        bar.SetBitmapIds(bitmapIds.data(), static_cast<int>(bitmapIds.size()));
        ASSERT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE860));
        ASSERT_TRUE(bar.LoadBitmap(IDB_SIZE_TOOL_IMAGES));
    }
};

TEST_F(SizeBarsTest, ADialogBarIsItsTemplateWithoutACaption)
{
    CProbeDialogBar bar;
    ASSERT_TRUE(bar.Create(frame, IDD_SIZE_DIALOG_BAR, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE851));
    EXPECT_EQ(bar.GetDlgCtrlID(), 0xE851);
    EXPECT_FALSE(bar.GetStyle() & WS_CAPTION);
    EXPECT_TRUE(bar.GetStyle() & WS_CLIPSIBLINGS);
    EXPECT_TRUE(bar.IsWindowVisible());
    EXPECT_EQ(bar.initDialogs, 1);
    EXPECT_EQ(bar.GetBarStyle() & CBRS_ALIGN_ANY, CBRS_ALIGN_TOP);
    EXPECT_EQ(bar.m_lpszTemplateName, nullptr) << "kept only while the dialog is made";
    CRect client;
    bar.GetClientRect(&client);
    EXPECT_EQ(bar.m_sizeTemplate, client.Size());
    EXPECT_GT(bar.m_sizeTemplate.cx, 0);
    for (const CSize& s : {bar.m_sizeFloat, bar.m_sizeHorzDock, bar.m_sizeVertDock})
        EXPECT_EQ(s, bar.m_sizeTemplate);
    EXPECT_NE(::GetDlgItem(bar.m_hWnd, IDC_SIZE_NAME), nullptr);
    EXPECT_TRUE(bar.GetChildLayout().empty()) << "nothing recorded without the scaling bit";
    EXPECT_TRUE(bar.SetOccDialogInfo(&bar));
    EXPECT_EQ(bar.m_pOccDialogInfo, &bar);

    // A template that is missing, or whose DLGINIT data names a control it lacks, makes
    // no bar and leaves no window.
    for (const UINT id : {0x7FFFu, static_cast<UINT>(IDD_SIZE_BROKEN_INIT)}) {
        CProbeDialogBar bad;
        EXPECT_FALSE(bad.Create(frame, id, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE852)) << id;
        EXPECT_EQ(bad.m_hWnd, nullptr) << id;
        EXPECT_EQ(::GetDlgItem(frame->m_hWnd, 0xE852), nullptr) << id;
    }
}

TEST_F(SizeBarsTest, ScaledControlsFollowTheClientSizeAndDropDownsKeepTheirHeight)
{
    struct Row {
        const char* name;
        DWORD style;
        CSize to;
        CRect edit, combo;   // expected, client coordinates (the combo box's bottom: its top + its own height)
    };
    const CRect edit0(10, 10, 110, 30), combo0(10, 40, 110, 60);
    const Row rows[] = {
        {"scaled, doubled", SZBARF_SCALE_CHILDREN, CSize(400, 200), CRect(20, 20, 220, 60), CRect(20, 80, 220, 100)},
        {"scaled, halved across", SZBARF_SCALE_CHILDREN, CSize(100, 100), CRect(5, 10, 55, 30), CRect(5, 40, 55, 60)},
        // 10 × 333 / 200 = 16 (16.65), 110 × 333 / 200 = 183 (183.15); 30 × 150 / 100 = 45.
        {"scaled, odd sizes truncate", SZBARF_SCALE_CHILDREN, CSize(333, 150), CRect(16, 15, 183, 45),
            CRect(16, 60, 183, 80)},
        {"not scaled", SZBARF_CONTEXT_MENU, CSize(400, 200), edit0, combo0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CProbeDialogBar bar(static_cast<int>(row.style));
        ASSERT_TRUE(bar.Create(frame, IDD_SIZE_DIALOG_BAR, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE851));
        SetClientSize(bar, CSize(200, 100));
        ::MoveWindow(::GetDlgItem(bar.m_hWnd, IDC_SIZE_NAME), edit0.left, edit0.top, edit0.Width(), edit0.Height(), TRUE);
        ::MoveWindow(::GetDlgItem(bar.m_hWnd, IDC_SIZE_KIND), combo0.left, combo0.top, combo0.Width(), combo0.Height(),
            TRUE);
        // A drop-down combo box sets its own height (its edit part's): that is what it keeps.
        const int comboHeight = ChildRect(bar, IDC_SIZE_KIND).Height();
        const CRect combo(row.combo.left, row.combo.top, row.combo.right, row.combo.top + comboHeight);
        const CRect comboAt0(combo0.left, combo0.top, combo0.right, combo0.top + comboHeight);
        if (row.style & SZBARF_SCALE_CHILDREN) {
            bar.RecordChildLayout();
            ASSERT_EQ(bar.GetChildLayout().size(), 4u) << "the client area and three controls";
            EXPECT_EQ(bar.GetChildLayout()[0].rect, CRect(0, 0, 200, 100));
        }
        SetClientSize(bar, row.to);
        EXPECT_EQ(ChildRect(bar, IDC_SIZE_NAME), row.edit);
        EXPECT_EQ(ChildRect(bar, IDC_SIZE_KIND), combo);
        // A control destroyed since is passed over.
        ::DestroyWindow(::GetDlgItem(bar.m_hWnd, IDC_SIZE_NAME));
        SetClientSize(bar, CSize(200, 100));
        if (row.style & SZBARF_SCALE_CHILDREN) {
            EXPECT_EQ(ChildRect(bar, IDC_SIZE_KIND), comboAt0);
        }
    }
}

TEST_F(SizeBarsTest, AToolBarWithoutARectangleIsTwelveImagesWide)
{
    COXSizeToolBar bar;
    EXPECT_EQ(bar.GetSizeDockStyle(), 0u);
    ASSERT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE860));
    EXPECT_EQ(ScreenRect(bar).Size(), CSize(192, 33));
    EXPECT_EQ(bar.m_sizeFloat, CSize(192, 33));
    ASSERT_NE(bar.GetToolBarCtrl().m_hWnd, nullptr);
    EXPECT_EQ(bar.GetToolBarCtrl().GetDlgCtrlID(), 99);
    EXPECT_FALSE(bar.GetToolBarCtrl().CWnd::GetStyle() & CCS_ADJUSTABLE) << "no images' commands to offer";

    COXSizeToolBar sized;
    CRect r(0, 0, 150, 40);
    sized.SetBitmapIds(std::vector<UINT>{ID_SIZE_CUT}.data(), 1);
    ASSERT_TRUE(sized.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE861, &r));
    EXPECT_EQ(ScreenRect(sized).Size(), CSize(150, 40));
    EXPECT_TRUE(sized.GetToolBarCtrl().CWnd::GetStyle() & CCS_ADJUSTABLE);

    // The control fills the bar less 5 at the left, 3 at the top, 4 right and 2 below.
    sized.OnSizedOrDocked(150, 40, FALSE, 1);
    CRect inBar;
    sized.GetToolBarCtrl().GetWindowRect(&inBar);
    sized.ScreenToClient(&inBar);
    EXPECT_EQ(inBar.Size(), CSize(141, 35));
    sized.OnSizedOrDocked(4, 3, FALSE, 1);
    sized.GetToolBarCtrl().GetWindowRect(&inBar);
    EXPECT_EQ(inBar.Size(), CSize(0, 0)) << "a bar too small leaves the control no room";
}

TEST_F(SizeBarsTest, ButtonsTakeTheirCommandsImagesAndSeparatorsTakeNone)
{
    struct Row {
        const char* name;
        std::vector<UINT> bitmapIds;
        std::vector<UINT> buttons;
        std::vector<std::pair<int, int>> expected;   // (command, image); command 0: a separator
    };
    const Row rows[] = {
        {"images in turn", {}, {ID_SIZE_CUT, 0, ID_SIZE_COPY, ID_SIZE_PASTE},
            {{ID_SIZE_CUT, 0}, {0, 0}, {ID_SIZE_COPY, 1}, {ID_SIZE_PASTE, 2}}},
        {"images of the commands", {ID_SIZE_PASTE, ID_SIZE_COPY, ID_SIZE_CUT}, {ID_SIZE_CUT, ID_SIZE_PASTE},
            {{ID_SIZE_CUT, 2}, {ID_SIZE_PASTE, 0}}},
        {"a command without an image has no button", {ID_SIZE_CUT, ID_SIZE_COPY, ID_SIZE_PASTE},
            {ID_SIZE_CUT, ID_SIZE_UNDO, 0, ID_SIZE_PASTE}, {{ID_SIZE_CUT, 0}, {0, 0}, {ID_SIZE_PASTE, 2}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        COXSizeToolBar bar;
        MakeToolBar(bar, row.bitmapIds);
        bar.SetSizes(CSize(30, 26), CSize(16, 15));
        ASSERT_TRUE(bar.SetButtons(row.buttons.data(), static_cast<int>(row.buttons.size())));
        ASSERT_EQ(bar.GetToolBarCtrl().GetButtonCount(), static_cast<int>(row.expected.size()));
        for (size_t i = 0; i < row.expected.size(); ++i) {
            const TBBUTTON b = Button(bar, static_cast<int>(i));
            EXPECT_EQ(b.idCommand, row.expected[i].first) << i;
            if (row.expected[i].first) {
                EXPECT_EQ(b.iBitmap, row.expected[i].second) << i;
                EXPECT_EQ(b.fsState, TBSTATE_ENABLED) << i;
                EXPECT_EQ(b.fsStyle, 0) << i;
            } else {
                EXPECT_TRUE(b.fsStyle & TBSTYLE_SEP) << i;
            }
        }
        EXPECT_EQ(bar.m_sizeVertDock.cx, 30 + 10) << "the first button's width and 10";
        for (size_t i = 0; i < row.bitmapIds.size(); ++i)
            EXPECT_EQ(bar.FindBitmapIndex(row.bitmapIds[i]), static_cast<int>(i));
        EXPECT_EQ(bar.FindBitmapIndex(ID_SIZE_NO_STRING), -1);
    }
    COXSizeToolBar empty;
    MakeToolBar(empty);
    EXPECT_FALSE(empty.SetButtons(nullptr, 3));
    EXPECT_EQ(empty.GetToolBarCtrl().GetButtonCount(), 0);
}

TEST_F(SizeBarsTest, TheImageSizeStaysTheImagesAfterSetSizes)
{
    // Buttons 32 wide over 16-pixel images: the 64-pixel bitmap is four images, not two.
    COXSizeToolBar bar;
    ASSERT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE860));
    bar.SetSizes(CSize(32, 28), CSize(16, 15));
    EXPECT_EQ(bar.m_sizeImage, CSize(16, 15));
    ASSERT_TRUE(bar.LoadBitmap(IDB_SIZE_TOOL_IMAGES));
    const UINT ids[] = {ID_SIZE_CUT, ID_SIZE_COPY, ID_SIZE_PASTE, ID_SIZE_UNDO};
    ASSERT_TRUE(bar.SetButtons(ids, 4));
    EXPECT_EQ(Button(bar, 3).iBitmap, 3);

    // A bitmap that cannot be loaded, or an image width of 0, adds nothing.
    EXPECT_FALSE(bar.LoadBitmap(0x7FFE));
    bar.m_sizeImage = CSize(0, 15);
    EXPECT_FALSE(bar.LoadBitmap(IDB_SIZE_TOOL_IMAGES)) << "no image count without an image width";
}

TEST_F(SizeBarsTest, TipsAreTheTextAfterTheNewlineAndEveryStringPrompts)
{
    COXSizeToolBar bar;
    MakeToolBar(bar);
    struct Row {
        UINT id;
        const wchar_t* tip;   // null: no tip text
        bool prompt;
    };
    const std::wstring longTip =
        L"0123456789012345678901234567890123456789012345678901234567890123456789012345678";   // 79
    const Row rows[] = {
        {ID_SIZE_CUT, L"Cut", true},
        {ID_SIZE_PROMPT_ONLY, nullptr, true},
        {ID_SIZE_LONG_TIP, longTip.c_str(), true},
        {ID_SIZE_NO_STRING, nullptr, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        sizeFrame()->prompts.clear();
        NMTTDISPINFOW di{};
        // From the toolbar's tooltip window, as the control's tips ask.
        const auto hTip = reinterpret_cast<HWND>(bar.GetToolBarCtrl().SendMessage(TB_GETTOOLTIPS));
        di.hdr.hwndFrom = hTip ? hTip : bar.GetToolBarCtrl().m_hWnd;
        di.hdr.idFrom = row.id;
        di.hdr.code = TTN_NEEDTEXTW;
        std::wmemset(di.szText, L'#', 80);
        di.lpszText = reinterpret_cast<LPWSTR>(1);
        di.hinst = reinterpret_cast<HINSTANCE>(1);
        bar.SendMessage(WM_NOTIFY, row.id, reinterpret_cast<LPARAM>(&di));
        EXPECT_EQ(di.hinst, nullptr);
        if (row.tip) {
            ASSERT_EQ(di.lpszText, di.szText);
            EXPECT_STREQ(di.szText, row.tip);
        } else {
            EXPECT_EQ(di.lpszText, nullptr);
        }
        EXPECT_EQ(sizeFrame()->prompts, row.prompt ? std::vector<WPARAM>{row.id} : std::vector<WPARAM>{});
    }
}

TEST_F(SizeBarsTest, CustomisingOffersEachImagesCommand)
{
    COXSizeToolBar bar;
    MakeToolBar(bar, {ID_SIZE_CUT, ID_SIZE_NO_STRING, ID_SIZE_PROMPT_ONLY});
    struct Row {
        int item, cch;
        LRESULT answer;
        int command;
        const wchar_t* text;
    };
    const Row rows[] = {
        {0, 40, TRUE, ID_SIZE_CUT, L"Cut"},
        {0, 3, TRUE, ID_SIZE_CUT, L"Cu"},   // two characters and the end
        {1, 40, TRUE, ID_SIZE_NO_STRING, L"???"},
        {2, 40, TRUE, ID_SIZE_PROMPT_ONLY, L"???"},
        {3, 40, FALSE, 0, nullptr},
        {-1, 40, FALSE, 0, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "item " << row.item << ", " << row.cch << " characters");
        wchar_t text[40];
        std::wmemset(text, L'#', 40);
        NMTOOLBARW nm{};
        nm.hdr.hwndFrom = bar.GetToolBarCtrl().m_hWnd;
        nm.hdr.idFrom = COXSizeToolBar::kToolBarCtrlID;
        nm.hdr.code = TBN_GETBUTTONINFOW;
        nm.iItem = row.item;
        nm.cchText = row.cch;
        nm.pszText = text;
        EXPECT_EQ(bar.SendMessage(WM_NOTIFY, COXSizeToolBar::kToolBarCtrlID, reinterpret_cast<LPARAM>(&nm)), row.answer);
        if (row.answer) {
            EXPECT_EQ(nm.tbButton.idCommand, row.command);
            EXPECT_EQ(nm.tbButton.iBitmap, row.item);
            EXPECT_EQ(nm.tbButton.fsState, TBSTATE_ENABLED);
            EXPECT_STREQ(text, row.text);
        }
    }
    for (const UINT code : {TBN_QUERYINSERT, TBN_QUERYDELETE}) {
        NMTOOLBARW nm{};
        nm.hdr.hwndFrom = bar.GetToolBarCtrl().m_hWnd;
        nm.hdr.idFrom = COXSizeToolBar::kToolBarCtrlID;
        nm.hdr.code = code;
        EXPECT_EQ(bar.SendMessage(WM_NOTIFY, COXSizeToolBar::kToolBarCtrlID, reinterpret_cast<LPARAM>(&nm)), TRUE);
    }
}

// The idle pass: the frame enables what it handles; a handler may check, make a button
// indeterminate, or disable it; separators are left alone.
class CToolTargetFrame : public CSizeDockTestFrame {
public:
    int check = 0;
    afx_msg void OnCut() {}
    afx_msg void OnUpdateCopy(CCmdUI* pCmdUI) { pCmdUI->SetCheck(check); }
    afx_msg void OnUpdatePaste(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    afx_msg void OnUpdateUndo(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CToolTargetFrame, CSizeDockTestFrame)
    ON_COMMAND(ID_SIZE_CUT, &CToolTargetFrame::OnCut)
    ON_UPDATE_COMMAND_UI(ID_SIZE_COPY, &CToolTargetFrame::OnUpdateCopy)
    ON_UPDATE_COMMAND_UI(ID_SIZE_PASTE, &CToolTargetFrame::OnUpdatePaste)
    ON_UPDATE_COMMAND_UI(ID_SIZE_UNDO, &CToolTargetFrame::OnUpdateUndo)
END_MESSAGE_MAP()

TEST_F(SizeBarsTest, TheIdlePassEnablesAndChecksTheButtons)
{
    COXSizeToolBar bar;
    MakeToolBar(bar);
    const UINT ids[] = {ID_SIZE_CUT, 0, ID_SIZE_COPY, ID_SIZE_PASTE, ID_SIZE_UNDO, ID_SIZE_PROMPT_ONLY};
    ASSERT_TRUE(bar.SetButtons(ids, 6));
    // A frame deletes itself when its window goes.
    auto* pTarget = new CToolTargetFrame;
    ASSERT_TRUE(pTarget->Create(nullptr, L"Target", WS_OVERLAPPEDWINDOW, CRect(0, 0, 100, 100)));
    CToolTargetFrame& target = *pTarget;
    struct Row {
        int check;
        UINT copyState;   // no command handler: disabled, whatever its check
    };
    const Row rows[] = {{1, TBSTATE_CHECKED}, {2, TBSTATE_INDETERMINATE}, {0, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.check);
        target.check = row.check;
        bar.OnUpdateCmdUI(&target, TRUE);
        CToolBarCtrl& ctrl = bar.GetToolBarCtrl();
        EXPECT_EQ(ctrl.GetState(ID_SIZE_CUT), TBSTATE_ENABLED) << "handled";
        EXPECT_EQ(ctrl.GetState(ID_SIZE_COPY), static_cast<int>(row.copyState));
        EXPECT_EQ(ctrl.GetState(ID_SIZE_PASTE), 0) << "disabled by its handler";
        EXPECT_EQ(ctrl.GetState(ID_SIZE_UNDO), TBSTATE_ENABLED);
        EXPECT_EQ(ctrl.GetState(ID_SIZE_PROMPT_ONLY), 0) << "nobody handles it";
        EXPECT_TRUE(Button(bar, 1).fsStyle & TBSTYLE_SEP);
    }
    target.DestroyWindow();
}

TEST_F(SizeBarsTest, HitsFindButtonsButNotSeparatorsOrEmptySpace)
{
    COXSizeToolBar bar;
    MakeToolBar(bar);
    const UINT ids[] = {ID_SIZE_CUT, 0, ID_SIZE_COPY};
    ASSERT_TRUE(bar.SetButtons(ids, 3));
    CToolBarCtrl& ctrl = bar.GetToolBarCtrl();
    CRect cut, sep, copy;
    ASSERT_TRUE(ctrl.GetItemRect(0, &cut));
    ASSERT_TRUE(ctrl.GetItemRect(1, &sep));
    ASSERT_TRUE(ctrl.GetItemRect(2, &copy));
    struct Row {
        const char* name;
        CPoint point;
        int hit;
    };
    const Row rows[] = {
        {"first button", cut.CenterPoint(), 0},
        {"separator", sep.CenterPoint(), -1},
        {"last button", copy.CenterPoint(), 2},
        {"right of the buttons", CPoint(copy.right + 5, copy.top + 2), -1},
        {"below every button", CPoint(cut.left + 2, cut.bottom + 3), -1},
    };
    for (const Row& row : rows)
        EXPECT_EQ(bar.GetToolBarCtrl().HitTestButtons(row.point), row.hit) << row.name;
    CSize bound;
    bar.GetToolBarCtrl().GetBoundingSize(bound);
    EXPECT_EQ(bound, CSize(copy.right, std::max(cut.bottom, copy.bottom)));
}

} // namespace
} // namespace zyn::test
