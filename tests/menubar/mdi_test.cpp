// A maximised MDI child on the menu bar: its icon and caption buttons (placed by hand
// from the bar's height), presses and releases on them, the icon's system menu, the MDI
// client's menu switching and its subclass kept against a foreign one, and the bars'
// counted mouse hook.
#include "platform/afx/doc.h"
#include "platform/afx/doc_context.h"
#include "platform/afx/view.h"
#include "platform/user/driver.h"
#include "platform/user/modal.h"
#include "platform/user/messages.h"
#include "platform/user/styles.h"
#include "tests/menubar/menubar_test_support.h"

// A view that draws nothing, for a child with a document.
class CPlainView : public CView {
    DECLARE_DYNCREATE(CPlainView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CPlainView, CView)

namespace zyn::test {
namespace {

class MdiBarTest : public MenuBarTest {
protected:
    COXMenuBar& Bar() { return mdi->GetMenuBar(); }
    // A screen point in the bar's window coordinates.
    CPoint At(CPoint windowPt) { return WindowPoint(Bar(), windowPt); }
    bool Maximised() const
    {
        BOOL max = FALSE;
        return mdi->MDIGetActive(&max) && max;
    }
};

TEST_F(MdiBarTest, ButtonsPlacedFromTheBarHeight)
{
    struct Row {
        const char* name;
        DWORD childStyle;
        int height;
        CRect close, restore, minimize;   // from the right edge W: x values are W - n
        int booked;
    };
    // 22 high: offset (22 - 18 + 1) / 2 = 2; close (W-20, 2, W-2, 20) shrunk by 2 on top,
    // right and bottom; restore one button (18) left, minimise 16 further (overlapping by 2).
    // 12 high: the buttons are 12 x 12 at offset 0. Booked: 2 + buttons + 6.
    const DWORD all = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW;
    const DWORD closeOnly = WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    const Row rows[] = {
        {"22 high", all, 22, CRect(-20, 4, -4, 18), CRect(-38, 4, -22, 18), CRect(-54, 4, -38, 18), 2 + 54 + 6},
        {"12 high", all, 12, CRect(-14, 2, -4, 10), CRect(-26, 2, -16, 10), CRect(-36, 2, -26, 10), 2 + 36 + 6},
        {"close only", closeOnly, 22, CRect(-20, 4, -4, 18), CRect(), CRect(), 2 + 18 + 6},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MakeMDI(true, row.childStyle);
        ASSERT_TRUE(Maximised());
        // The class library gives every MDI child both boxes; the row takes them away.
        if (!(row.childStyle & WS_MAXIMIZEBOX))
            child->ModifyStyle(WS_MAXIMIZEBOX | WS_MINIMIZEBOX, 0);
        COXMenuBar& bar = Bar();
        ASSERT_NE(bar.GetIcon(), nullptr);
        CRect window;
        bar.GetWindowRect(&window);
        ::SetWindowPos(bar.m_hWnd, nullptr, 0, 0, window.Width(), row.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        const int w = window.Width();
        EXPECT_EQ(bar.CalcButtonRects(), row.booked);
        const auto shift = [w](CRect r) { return r.IsRectNull() ? r : CRect(w + r.left, r.top, w + r.right, r.bottom); };
        EXPECT_EQ(bar.GetCloseRect(), shift(row.close));
        EXPECT_EQ(bar.GetRestoreRect(), shift(row.restore));
        EXPECT_EQ(bar.GetMinimizeRect(), shift(row.minimize));
        DropFrame();
    }
}

TEST_F(MdiBarTest, NoMaximisedChildNoIconNoSpace)
{
    MakeMDI(false);
    EXPECT_EQ(Bar().GetIcon(), nullptr);
    EXPECT_EQ(Bar().CalcButtonRects(), 0);
    EXPECT_TRUE(Bar().GetCloseRect().IsRectEmpty());
    EXPECT_EQ(Bar().HitTest(CPoint(2, 2), OX_HTO_WINDOW), OXMB_HIT_NONE);
    // Maximised, the icon comes at the next idle update and goes with the restore.
    mdi->MDIMaximize(child);
    Bar().SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_NE(Bar().GetIcon(), nullptr);
    mdi->MDIRestore(child);
    Bar().SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_EQ(Bar().GetIcon(), nullptr);
}

TEST_F(MdiBarTest, PressAndReleaseOnTheButtons)
{
    struct Row {
        const char* name;
        int press;     // hit code pressed
        int release;   // hit code released over (0: the bar's empty middle)
        bool maximisedAfter;
        bool aliveAfter;
    };
    const Row rows[] = {
        {"close, release on restore: restores", OXMB_HIT_CLOSE, OXMB_HIT_RESTORE, false, true},
        {"minimise, release there: minimises", OXMB_HIT_MINIMIZE, OXMB_HIT_MINIMIZE, false, true},
        {"close, release away: cancelled", OXMB_HIT_CLOSE, 0, true, true},
        {"close, release there: closes", OXMB_HIT_CLOSE, OXMB_HIT_CLOSE, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MakeMDI(true);
        COXMenuBar& bar = Bar();
        bar.CalcButtonRects();
        const auto rectOf = [&bar](int code) {
            return code == OXMB_HIT_CLOSE ? bar.GetCloseRect()
                : code == OXMB_HIT_RESTORE ? bar.GetRestoreRect()
                                           : bar.GetMinimizeRect();
        };
        const CPoint from = At(rectOf(row.press).CenterPoint());
        CRect window;
        bar.GetWindowRect(&window);
        const CPoint to = row.release ? At(rectOf(row.release).CenterPoint()) : CPoint(window.CenterPoint());
        EXPECT_EQ(bar.HitTest(from, OX_HTO_SCREEN), row.press);
        const HWND hChild = child->m_hWnd;
        user::InjectMouseMove(from.x, from.y);
        user::InjectMouseButton(user::MouseButton::Left, true);
        user::InjectMouseMove(to.x, to.y);
        user::InjectMouseButton(user::MouseButton::Left, false);
        Pump();
        EXPECT_EQ(::IsWindow(hChild) != FALSE, row.aliveAfter);
        if (row.aliveAfter) {
            EXPECT_EQ(Maximised(), row.maximisedAfter);
        }
        EXPECT_EQ(bar.GetPressedMDIButton(), -1);
        EXPECT_EQ(::GetCapture(), nullptr);
        DropFrame();
    }
}

TEST_F(MdiBarTest, IconOpensTheSystemMenuDoubleClickCloses)
{
    CTestMDIFrame& f = MakeMDI(true);
    COXMenuBar& bar = Bar();
    ASSERT_FALSE(bar.GetIconRect().IsRectEmpty()) << "the icon was painted";
    const CPoint icon = At(bar.GetIconRect().CenterPoint());
    EXPECT_EQ(bar.HitTest(icon, OX_HTO_SCREEN), OXMB_HIT_ICON);
    f.log.msgs.clear();
    user::InjectClick(icon.x, icon.y);
    Pump();
    const HMENU sys = ::GetSystemMenu(child->m_hWnd, FALSE);
    bool sawSystemMenu = false;
    for (const FrameMsg& m : f.log.msgs)
        sawSystemMenu |= m.msg == WM_INITMENUPOPUP && reinterpret_cast<HMENU>(m.wParam) == sys;
    EXPECT_TRUE(sawSystemMenu);
    bool selectedAsSysMenu = false;
    for (const FrameMsg& m : f.log.msgs)
        selectedAsSysMenu |= m.msg == WM_MENUSELECT && HIWORD(m.wParam) == MF_SYSMENU;
    EXPECT_TRUE(selectedAsSysMenu);
    // A double click on the icon closes the child.
    const HWND hChild = child->m_hWnd;
    user::InjectClick(icon.x, icon.y);
    user::InjectClick(icon.x, icon.y);
    Pump();
    EXPECT_FALSE(::IsWindow(hChild));
}

TEST_F(MdiBarTest, IconDoubleClickClosesThroughTheSaveQuestion)
{
    CTestMDIFrame& f = MakeMDI(true);
    // A second child showing a changed document, maximised and active.
    auto* doc = new CDocument;
    CCreateContext context;
    context.m_pCurrentDoc = doc;
    context.m_pNewViewClass = RUNTIME_CLASS(CPlainView);
    auto* edited = new CMDIChildWnd;
    ASSERT_TRUE(edited->Create(nullptr, L"Edited", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 150), &f,
        &context));
    edited->InitialUpdateFrame(doc, TRUE);
    f.MDIMaximize(edited);
    doc->SetModifiedFlag(TRUE);
    Bar().SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    Bar().RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
    Pump();
    const CPoint icon = At(Bar().GetIconRect().CenterPoint());
    const HWND hEdited = edited->m_hWnd;
    struct Row {
        int answer;
        bool closed;
    };
    for (const Row row : {Row{IDCANCEL, false}, Row{IDNO, true}}) {
        user::AnswerScript::Clear();
        user::AnswerScript::Push(user::AnswerKind::MessageBox, row.answer);
        user::InjectClick(icon.x, icon.y);
        user::InjectClick(icon.x, icon.y);
        Pump();
        int boxes = 0;
        for (const user::ShownRecord& shown : user::AnswerScript::Shown())
            boxes += shown.kind == user::AnswerKind::MessageBox ? 1 : 0;
        EXPECT_EQ(boxes, 1) << "the save question, answered " << row.answer;
        EXPECT_EQ(!::IsWindow(hEdited), row.closed) << "answered " << row.answer;
    }
}

TEST_F(MdiBarTest, ClientMenuSwitchReachesTheBar)
{
    CTestMDIFrame& f = MakeMDI(false);
    const HMENU other = MakeSampleMenu();
    ::RemoveMenu(other, 4, MF_BYPOSITION);
    ::SendMessageW(f.m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(other), 0);
    EXPECT_EQ(Bar().GetHMenu(), other);
    EXPECT_EQ(Bar().SendMessage(TB_BUTTONCOUNT, 0, 0), 4);
    EXPECT_EQ(::GetMenu(f.m_hWnd), nullptr) << "the client sets no window-system menu";
    // A foreign subclass that does not chain to the menu bar's (it calls what the bar's
    // calls) is found at the next idle update.
    EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(f.m_hWndMDIClient, GWLP_WNDPROC)),
        OXGetMDIClientSubclassProc());
    static WNDPROC s_orig = nullptr;
    s_orig = OXGetMDIClientPreviousProc(f.m_hWndMDIClient);
    const WNDPROC foreign = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        return ::CallWindowProcW(s_orig, h, m, w, l);
    };
    ::SetWindowLongPtrW(f.m_hWndMDIClient, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(foreign));
    ::SetMenu(f.m_hWnd, other);
    f.SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(f.m_hWndMDIClient, GWLP_WNDPROC)), OXGetMDIClientSubclassProc());
    EXPECT_EQ(OXGetMDIClientPreviousProc(f.m_hWndMDIClient), foreign) << "chains to what it replaced";
    EXPECT_EQ(::GetMenu(f.m_hWnd), nullptr) << "the window-system menu that came back goes";
    ::SetMenu(f.m_hWnd, nullptr);
    Bar().SetMenu(nullptr);
    ::DestroyMenu(other);
}

TEST_F(MdiBarTest, SubclassChainsAfterTheFrameLeftTheMap)
{
    CTestMDIFrame& f = MakeMDI(false);
    const HWND client = f.m_hWndMDIClient;
    const WNDPROC prev = OXGetMDIClientPreviousProc(client);
    ASSERT_NE(prev, nullptr);
    f.RemoveFromGlobalList();
    // The client still works through its own procedure: a child made now is listed.
    CMDIChildWnd* second = new CMDIChildWnd;
    ASSERT_TRUE(second->Create(nullptr, L"Second", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 100, 80), &f));
    EXPECT_EQ(reinterpret_cast<HWND>(::SendMessageW(client, WM_MDIGETACTIVE, 0, 0)), second->m_hWnd);
    f.AddToGlobalList();
}

} // namespace
} // namespace zyn::test
