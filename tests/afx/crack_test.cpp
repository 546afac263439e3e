// Every window-message entry form compiles against its handler's exact signature, and the
// tricky crackings (signed values, packed words, wrappers made from handles) hand the
// handlers what the messages carry.
#include "platform/afx/gdi/dc.h"
#include "platform/afx/scrollbar.h"
#include "platform/gdi/wingdi.h"
#include "tests/afx/afx_test_support.h"

namespace zyn::test {
namespace {

// A map with every ON_WM_* form; the handlers not redefined here are CWnd's own.
class CEveryMessage : public CWnd {
public:
    std::vector<std::wstring> seen;
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
    {
        seen.push_back(L"cursor:" + std::to_wstring(static_cast<int>(nHitTest)) + L":" + std::to_wstring(message) +
            L":" + std::to_wstring(pWnd == this));
        return TRUE;
    }
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
    {
        seen.push_back(L"key:" + std::to_wstring(nChar) + L":" + std::to_wstring(nRepCnt) + L":" +
            std::to_wstring(nFlags));
    }
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
    {
        seen.push_back(L"wheel:" + std::to_wstring(nFlags) + L":" + std::to_wstring(zDelta) + L":" +
            std::to_wstring(pt.x) + L"," + std::to_wstring(pt.y));
        return TRUE;
    }
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
    {
        seen.push_back(L"activate:" + std::to_wstring(nState) + L":" + std::to_wstring(pWndOther != nullptr) +
            L":" + std::to_wstring(bMinimized));
    }
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
    {
        seen.push_back(L"hscroll:" + std::to_wstring(nSBCode) + L":" + std::to_wstring(static_cast<int>(nPos)) +
            L":" + std::to_wstring(pScrollBar ? pScrollBar->m_hWnd == bar : -1));
    }
    afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu)
    {
        seen.push_back(L"select:" + std::to_wstring(nItemID) + L":" + std::to_wstring(nFlags) + L":" +
            std::to_wstring(hSysMenu != nullptr));
    }
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
    {
        seen.push_back(L"popup:" + std::to_wstring(pPopupMenu != nullptr) + L":" + std::to_wstring(nIndex) + L":" +
            std::to_wstring(bSysMenu));
    }
    afx_msg BOOL OnEraseBkgnd(CDC* pDC)
    {
        seen.push_back(L"erase:" + std::to_wstring(pDC != nullptr));
        return TRUE;
    }
    afx_msg void OnXButtonDown(UINT nFlags, UINT nButton, CPoint point)
    {
        seen.push_back(L"xdown:" + std::to_wstring(nFlags) + L":" + std::to_wstring(nButton) + L":" +
            std::to_wstring(point.x));
    }
    afx_msg void OnMDIActivate(BOOL bActivate, CWnd*, CWnd*) { seen.push_back(L"mdi:" + std::to_wstring(bActivate)); }
    HWND bar = nullptr;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CEveryMessage, CWnd)
    ON_WM_CREATE()
    ON_WM_NCCREATE()
    ON_WM_DESTROY()
    ON_WM_NCDESTROY()
    ON_WM_CLOSE()
    ON_WM_QUERYENDSESSION()
    ON_WM_ENDSESSION()
    ON_WM_QUERYOPEN()
    ON_WM_MOVE()
    ON_WM_SIZE()
    ON_WM_SIZING()
    ON_WM_MOVING()
    ON_WM_GETMINMAXINFO()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_SHOWWINDOW()
    ON_WM_ENABLE()
    ON_WM_STYLECHANGING()
    ON_WM_STYLECHANGED()
    ON_WM_CHILDACTIVATE()
    ON_WM_DISPLAYCHANGE()
    ON_WM_ACTIVATE()
    ON_WM_ACTIVATEAPP()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_CAPTURECHANGED()
    ON_WM_CANCELMODE()
    ON_WM_MOUSEACTIVATE()
    ON_WM_SETCURSOR()
    ON_WM_MDIACTIVATE()
    ON_WM_NCACTIVATE()
    ON_WM_PAINT()
    ON_WM_NCPAINT()
    ON_WM_ERASEBKGND()
    ON_WM_ICONERASEBKGND()
    ON_WM_PRINT()
    ON_WM_PRINTCLIENT()
    ON_WM_QUERYDRAGICON()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_THEMECHANGED()
    ON_WM_CTLCOLOR()
    ON_WM_NCCALCSIZE()
    ON_WM_NCHITTEST()
    ON_WM_NCMOUSEMOVE()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCLBUTTONUP()
    ON_WM_NCLBUTTONDBLCLK()
    ON_WM_NCRBUTTONDOWN()
    ON_WM_NCRBUTTONUP()
    ON_WM_NCRBUTTONDBLCLK()
    ON_WM_NCMBUTTONDOWN()
    ON_WM_NCMBUTTONUP()
    ON_WM_NCMBUTTONDBLCLK()
    ON_WM_NCMOUSEHOVER()
    ON_WM_NCMOUSELEAVE()
    ON_WM_GETDLGCODE()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_RBUTTONDBLCLK()
    ON_WM_MBUTTONDOWN()
    ON_WM_MBUTTONUP()
    ON_WM_MBUTTONDBLCLK()
    ON_WM_XBUTTONDOWN()
    ON_WM_XBUTTONUP()
    ON_WM_XBUTTONDBLCLK()
    ON_WM_MOUSEWHEEL()
    ON_WM_MOUSEHWHEEL()
    ON_WM_MOUSEHOVER()
    ON_WM_MOUSELEAVE()
    ON_WM_CONTEXTMENU()
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
    ON_WM_CHAR()
    ON_WM_DEADCHAR()
    ON_WM_SYSKEYDOWN()
    ON_WM_SYSKEYUP()
    ON_WM_SYSCHAR()
    ON_WM_SYSDEADCHAR()
    ON_WM_SYSCOMMAND()
    ON_WM_TIMER()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_HELPINFO()
    ON_WM_COPYDATA()
    ON_WM_NOTIFYFORMAT()
    ON_WM_PARENTNOTIFY()
    ON_WM_DROPFILES()
    ON_WM_COMPACTING()
    ON_WM_CHANGEUISTATE()
    ON_WM_UPDATEUISTATE()
    ON_WM_QUERYUISTATE()
    ON_WM_SETTINGCHANGE()
    ON_WM_WININICHANGE()
    ON_WM_DEVMODECHANGE()
    ON_WM_FONTCHANGE()
    ON_WM_TIMECHANGE()
    ON_WM_INITMENU()
    ON_WM_INITMENUPOPUP()
    ON_WM_UNINITMENUPOPUP()
    ON_WM_MENUSELECT()
    ON_WM_MENUCHAR()
    ON_WM_ENTERIDLE()
    ON_WM_ENTERMENULOOP()
    ON_WM_EXITMENULOOP()
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
    ON_WM_DELETEITEM()
    ON_WM_COMPAREITEM()
END_MESSAGE_MAP()

// Every reflection form with its handler.
class CEveryReflect : public CWnd {
public:
    afx_msg HBRUSH CtlColor(CDC*, UINT) { return nullptr; }
    afx_msg void DrawItem(LPDRAWITEMSTRUCT) {}
    afx_msg void MeasureItem(LPMEASUREITEMSTRUCT) {}
    afx_msg void DeleteItem(LPDELETEITEMSTRUCT) {}
    afx_msg int CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
    afx_msg void HScroll(UINT nSBCode, UINT nPos) { scroll = {nSBCode, nPos}; }
    afx_msg void VScroll(UINT, UINT) {}
    afx_msg void ParentNotify(UINT, LPARAM) {}
    afx_msg int CharToItem(UINT nKey, UINT nIndex) { return static_cast<int>(nKey * 100 + nIndex); }
    afx_msg int VKeyToItem(UINT, UINT) { return -2; }
    std::pair<UINT, UINT> scroll{0, 0};
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CEveryReflect, CWnd)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_DRAWITEM_REFLECT()
    ON_WM_MEASUREITEM_REFLECT()
    ON_WM_DELETEITEM_REFLECT()
    ON_WM_COMPAREITEM_REFLECT()
    ON_WM_HSCROLL_REFLECT()
    ON_WM_VSCROLL_REFLECT()
    ON_WM_PARENTNOTIFY_REFLECT()
    ON_WM_CHARTOITEM_REFLECT()
    ON_WM_VKEYTOITEM_REFLECT()
END_MESSAGE_MAP()

using CrackTest = AfxTest;

TEST_F(CrackTest, SignedAndPackedParametersReachTheHandlers)
{
    CEveryMessage wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr));
    wnd.seen.clear();
    // The hit-test code is signed: HTERROR (-2) stays -2.
    EXPECT_EQ(wnd.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd.m_hWnd),
                  MAKELPARAM(static_cast<WORD>(HTCLIENT), WM_MOUSEMOVE)), TRUE);
    wnd.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd.m_hWnd),
        MAKELPARAM(static_cast<WORD>(HTERROR), WM_MOUSEMOVE));
    wnd.SendMessage(WM_KEYDOWN, 'Q', MAKELPARAM(3, 0x4010));
    EXPECT_EQ(wnd.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, static_cast<WORD>(-WHEEL_DELTA)),
                  MAKELPARAM(static_cast<WORD>(-10), 20)), TRUE);
    wnd.SendMessage(WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, 1), 0);
    wnd.bar = MakePlain(WS_CHILD, wnd.m_hWnd, 9);
    wnd.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, static_cast<WORD>(-3)), reinterpret_cast<LPARAM>(wnd.bar));
    wnd.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    wnd.SendMessage(WM_MENUSELECT, MAKEWPARAM(0xE100, 0xFFFF), 0);
    wnd.SendMessage(WM_INITMENUPOPUP, static_cast<WPARAM>(0x0B000020), MAKELPARAM(2, 1));
    const HDC dc = GetDC(wnd.m_hWnd);
    EXPECT_EQ(wnd.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc)), TRUE);
    ReleaseDC(wnd.m_hWnd, dc);
    EXPECT_EQ(wnd.SendMessage(WM_XBUTTONDOWN, MAKEWPARAM(MK_XBUTTON2, XBUTTON2), MAKELPARAM(7, 8)), TRUE);
    wnd.SendMessage(WM_MDIACTIVATE, 0, reinterpret_cast<LPARAM>(wnd.m_hWnd));
    const std::vector<std::wstring> expected{
        L"cursor:1:512:1",
        L"cursor:-2:512:1",
        L"key:81:3:16400",
        L"wheel:8:-120:-10,20",
        L"activate:2:0:1",
        L"hscroll:5:-3:1",
        L"hscroll:1:0:-1",
        L"select:57600:65535:0",
        L"popup:1:2:1",
        L"erase:1",
        L"xdown:64:2:7",
        L"mdi:1",
    };
    EXPECT_EQ(wnd.seen, expected);
    // The base handlers of the entries not redefined go to DefWindowProc.
    EXPECT_EQ(wnd.SendMessage(WM_GETDLGCODE), DefWindowProcW(wnd.m_hWnd, WM_GETDLGCODE, 0, 0));
    EXPECT_EQ(wnd.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(50, 50)),
        DefWindowProcW(wnd.m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(50, 50)));
    wnd.DestroyWindow();
}

TEST_F(CrackTest, ReflectedScrollAndListKeysKeepTheirWords)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), L"", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr));
    CEveryReflect ctl;
    ASSERT_TRUE(ctl.Create(nullptr, L"", WS_CHILD, CRect(0, 0, 10, 10), &parent, 3));
    parent.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 40), reinterpret_cast<LPARAM>(ctl.m_hWnd));
    parent.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(-40)),
        reinterpret_cast<LPARAM>(ctl.m_hWnd));
    EXPECT_EQ(ctl.scroll.first, static_cast<UINT>(SB_THUMBPOSITION));
    EXPECT_EQ(static_cast<int>(ctl.scroll.second), -40);
    EXPECT_EQ(parent.SendMessage(WM_CHARTOITEM, MAKEWPARAM('a', 5), reinterpret_cast<LPARAM>(ctl.m_hWnd)), 97 * 100 + 5);
    EXPECT_EQ(parent.SendMessage(WM_VKEYTOITEM, MAKEWPARAM(VK_DOWN, 0), reinterpret_cast<LPARAM>(ctl.m_hWnd)), -2);
    parent.DestroyWindow();
}

} // namespace
} // namespace zyn::test
