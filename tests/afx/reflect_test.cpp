// Reflection: notifications a parent receives from a child control reach the control's
// own object first (WM_NOTIFY, WM_COMMAND, WM_CTLCOLOR*, WM_DRAWITEM, WM_MEASUREITEM), and
// owner-drawn menu items reach the CMenu that owns them.
#include "platform/afx/gdi/dc.h"
#include "platform/gdi/wingdi.h"
#include "tests/afx/afx_test_support.h"

namespace zyn::test {
namespace {

constexpr UINT kChildId = 5;
constexpr int kCodeEaten = -2, kCodeShared = -3;  // two notification codes
constexpr WORD kClicked = 0;                       // BN_CLICKED

class CChildCtl : public CWnd {
public:
    HBRUSH brush = nullptr;
    UINT lastCtlColor = 99;
    HDC lastDc = nullptr;
    UINT drawnItem = 0;
    UINT measuredItem = 0;

    afx_msg void OnEaten(NMHDR* pNMHDR, LRESULT* pResult)
    {
        Trace::Add(L"child.eaten:" + std::to_wstring(pNMHDR->idFrom));
        *pResult = 100;
    }
    afx_msg BOOL OnShared(NMHDR*, LRESULT* pResult)
    {
        Trace::Add(L"child.shared");
        *pResult = 200;
        return FALSE; // the parent gets it too
    }
    afx_msg void OnClicked() { Trace::Add(L"child.clicked"); }
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor)
    {
        lastDc = pDC ? pDC->m_hDC : nullptr;
        lastCtlColor = nCtlColor;
        return brush;
    }
    afx_msg void DrawItem(LPDRAWITEMSTRUCT lpDIS) { drawnItem = lpDIS->itemID; }
    afx_msg void MeasureItem(LPMEASUREITEMSTRUCT lpMIS)
    {
        measuredItem = lpMIS->itemID;
        lpMIS->itemHeight = 31;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CChildCtl, CWnd)
    ON_NOTIFY_REFLECT(kCodeEaten, &CChildCtl::OnEaten)
    ON_NOTIFY_REFLECT_EX(kCodeShared, &CChildCtl::OnShared)
    ON_CONTROL_REFLECT(kClicked, &CChildCtl::OnClicked)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_DRAWITEM_REFLECT()
    ON_WM_MEASUREITEM_REFLECT()
END_MESSAGE_MAP()

class CParentWnd : public CWnd {
public:
    afx_msg void OnChildNotify(NMHDR*, LRESULT* pResult)
    {
        Trace::Add(L"parent.notify");
        *pResult = 300;
    }
    afx_msg void OnChildShared(NMHDR*, LRESULT* pResult)
    {
        Trace::Add(L"parent.shared");
        *pResult = 400;
    }
    afx_msg void OnChildClicked() { Trace::Add(L"parent.clicked"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CParentWnd, CWnd)
    ON_NOTIFY(kCodeEaten, kChildId, &CParentWnd::OnChildNotify)
    ON_NOTIFY(kCodeShared, kChildId, &CParentWnd::OnChildShared)
    ON_CONTROL(kClicked, kChildId, &CParentWnd::OnChildClicked)
    ON_CONTROL(kClicked, kChildId + 1, &CParentWnd::OnChildClicked)
END_MESSAGE_MAP()

// A parent with its own WM_CTLCOLOR handler.
class CColouringParent : public CWnd {
public:
    HDC dc = nullptr;
    CWnd* ctl = nullptr;
    UINT type = 99;
    HBRUSH answer = nullptr;
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
    {
        dc = pDC->m_hDC;
        ctl = pWnd;
        type = nCtlColor;
        return answer;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CColouringParent, CWnd)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

class ReflectTest : public AfxTest {
protected:
    void SetUp() override
    {
        AfxTest::SetUp();
        ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), L"parent", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
            nullptr, nullptr));
        ASSERT_TRUE(child.Create(nullptr, L"child", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &parent, kChildId));
    }
    void TearDown() override
    {
        parent.DestroyWindow();
        AfxTest::TearDown();
    }
    LRESULT Notify(HWND from, UINT id, int code)
    {
        NMHDR hdr{from, id, static_cast<UINT>(code)};
        return parent.SendMessage(WM_NOTIFY, id, reinterpret_cast<LPARAM>(&hdr));
    }

    CParentWnd parent;
    CChildCtl child;
};

TEST_F(ReflectTest, AReflectedNotificationStaysWithTheControl)
{
    EXPECT_EQ(Notify(child.m_hWnd, kChildId, kCodeEaten), 100);
    EXPECT_EQ(Trace::Log(), std::vector<std::wstring>{L"child.eaten:5"});
}

TEST_F(ReflectTest, AnExReflectionThatDeclinesLetsTheParentHaveItToo)
{
    EXPECT_EQ(Notify(child.m_hWnd, kChildId, kCodeShared), 400);
    EXPECT_EQ(Trace::Log(), (std::vector<std::wstring>{L"child.shared", L"parent.shared"}));
}

TEST_F(ReflectTest, ControlCommandsAreReflectedOnlyToControlsWithObjects)
{
    EXPECT_EQ(parent.SendMessage(WM_COMMAND, MAKEWPARAM(kChildId, kClicked), reinterpret_cast<LPARAM>(child.m_hWnd)), 1);
    // A control without an object of its own: the parent's entry.
    const HWND plain = MakePlain(WS_CHILD, parent.m_hWnd, kChildId + 1);
    EXPECT_EQ(parent.SendMessage(WM_COMMAND, MAKEWPARAM(kChildId + 1, kClicked), reinterpret_cast<LPARAM>(plain)), 1);
    EXPECT_EQ(Trace::Log(), (std::vector<std::wstring>{L"child.clicked", L"parent.clicked"}));
    // While the parent's notifications are locked out nothing runs.
    AfxGetThreadState()->m_hLockoutNotifyWindow = parent.m_hWnd;
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(kChildId + 1, kClicked), reinterpret_cast<LPARAM>(plain));
    AfxGetThreadState()->m_hLockoutNotifyWindow = nullptr;
    EXPECT_EQ(Trace::Log().size(), 2u);
}

TEST_F(ReflectTest, CtlColorReachesTheControlThroughTheParentsBaseHandler)
{
    const HBRUSH brush = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(0x0A000042));
    child.brush = brush;
    const HDC dc = GetDC(child.m_hWnd);
    const LRESULT r = parent.SendMessage(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child.m_hWnd));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(r), brush);
    EXPECT_EQ(child.lastCtlColor, CTLCOLOR_BTN);
    EXPECT_EQ(child.lastDc, dc);
    // A control that answers null leaves the colours to the parent's default processing.
    child.brush = nullptr;
    const LRESULT def = parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
        reinterpret_cast<LPARAM>(child.m_hWnd));
    EXPECT_EQ(child.lastCtlColor, CTLCOLOR_STATIC);
    EXPECT_EQ(def, DefWindowProcW(parent.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                       reinterpret_cast<LPARAM>(child.m_hWnd)));
    ReleaseDC(child.m_hWnd, dc);
}

TEST_F(ReflectTest, AParentsCtlColorHandlerSeesEveryKindFolded)
{
    CColouringParent colouring;
    ASSERT_TRUE(colouring.CreateEx(0, AfxRegisterWndClass(0), L"", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr));
    CChildCtl ctl;
    ASSERT_TRUE(ctl.Create(nullptr, L"", WS_CHILD, CRect(0, 0, 10, 10), &colouring, 9));
    colouring.answer = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(0x0A000043));
    const HDC dc = GetDC(ctl.m_hWnd);
    const LRESULT r = colouring.SendMessage(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(ctl.m_hWnd));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(r), colouring.answer);
    EXPECT_EQ(colouring.dc, dc);
    EXPECT_EQ(colouring.ctl, &ctl);
    EXPECT_EQ(colouring.type, CTLCOLOR_EDIT);
    EXPECT_EQ(ctl.lastCtlColor, 99u) << "the parent's handler did not pass it on";
    ReleaseDC(ctl.m_hWnd, dc);
    colouring.DestroyWindow();
}

TEST_F(ReflectTest, OwnerDrawnControlItemsAreReflected)
{
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = kChildId;
    dis.itemID = 17;
    dis.hwndItem = child.m_hWnd;
    EXPECT_EQ(parent.SendMessage(WM_DRAWITEM, kChildId, reinterpret_cast<LPARAM>(&dis)), TRUE);
    EXPECT_EQ(child.drawnItem, 17u);
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_LISTBOX;
    mis.CtlID = kChildId;
    mis.itemID = 4;
    parent.SendMessage(WM_MEASUREITEM, kChildId, reinterpret_cast<LPARAM>(&mis));
    EXPECT_EQ(child.measuredItem, 4u);
    EXPECT_EQ(mis.itemHeight, 31u);
}

class COwnerDrawMenu : public CMenu {
public:
    UINT drawn = 0;
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override { drawn = lpDIS->itemID; }
};

TEST_F(ReflectTest, OwnerDrawnMenuItemsReachTheirMenu)
{
    COwnerDrawMenu menu;
    // The menu object is found by its handle, which the item record carries.
    ASSERT_TRUE(menu.CreatePopupMenu());
    const HMENU hMenu = menu.m_hMenu;
    EXPECT_EQ(CMenu::FromHandlePermanent(hMenu), &menu);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = 0xE123;
    dis.hwndItem = reinterpret_cast<HWND>(hMenu);
    EXPECT_EQ(parent.SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)), TRUE);
    EXPECT_EQ(menu.drawn, 0xE123u);
    // Newer wrappers of the same menu answer first.
    COwnerDrawMenu second;
    ASSERT_TRUE(second.Attach(hMenu));
    parent.SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    EXPECT_EQ(second.drawn, 0xE123u);
    EXPECT_EQ(second.Detach(), hMenu);
    EXPECT_EQ(CMenu::FromHandlePermanent(hMenu), &menu);
    EXPECT_TRUE(menu.DestroyMenu());
    EXPECT_EQ(CMenu::FromHandlePermanent(hMenu), nullptr);
}

} // namespace
} // namespace zyn::test
