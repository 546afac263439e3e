// Message maps: dispatch through base classes and class templates, the cracking of each
// handler's parameters, registered messages, command and notification entries.
#include "tests/afx/afx_test_support.h"

namespace zyn::test {
namespace {

constexpr UINT WM_TEST1 = WM_USER + 1, WM_TEST2 = WM_USER + 2, WM_TEST3 = WM_USER + 3;
constexpr int TTN_NEEDTEXTA_ = -520, TTN_NEEDTEXTW_ = -530;  // the tooltip's two text requests
constexpr WORD EN_CHANGE_ = 0x0300;

const UINT g_registered = RegisterWindowMessageW(L"ZynAfxTest.Registered");
UINT g_lateRegistered = 0;  // set by a case after the map was first used

// ---- three levels ----------------------------------------------------------------------------------

class CLevel1 : public CWnd {
public:
    UINT sizeType = 0;
    int cx = -1, cy = -1;
    std::vector<std::wstring> seen;

    afx_msg void OnSize(UINT nType, int x, int y)
    {
        sizeType = nType;
        cx = x;
        cy = y;
        seen.push_back(L"L1.OnSize");
    }
    afx_msg void OnMouseMove(UINT, CPoint) { seen.push_back(L"L1.OnMouseMove"); }
    afx_msg LRESULT OnTest1(WPARAM w, LPARAM l)
    {
        seen.push_back(L"L1.OnTest1");
        return static_cast<LRESULT>(w) + l;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLevel1, CWnd)
    ON_WM_SIZE()
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_TEST1, &CLevel1::OnTest1)
END_MESSAGE_MAP()

class CLevel2 : public CLevel1 {
public:
    UINT moveFlags = 0;
    CPoint movePoint{0, 0};

    afx_msg void OnMouseMove(UINT nFlags, CPoint point)
    {
        moveFlags = nFlags;
        movePoint = point;
        seen.push_back(L"L2.OnMouseMove");
    }
    afx_msg LRESULT OnTest2(WPARAM, LPARAM)
    {
        seen.push_back(L"L2.OnTest2");
        return 2;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLevel2, CLevel1)
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_TEST2, &CLevel2::OnTest2)
END_MESSAGE_MAP()

class CLevel3 : public CLevel2 {
public:
    UINT lastCommand = 0;
    int controlCalls = 0;
    WPARAM regW = 0;

    afx_msg LRESULT OnTest2Again(WPARAM, LPARAM)
    {
        seen.push_back(L"L3.OnTest2");
        return 3;
    }
    afx_msg LRESULT OnRegistered(WPARAM w, LPARAM)
    {
        regW = w;
        seen.push_back(L"L3.OnRegistered");
        return 0x5A;
    }
    afx_msg LRESULT OnLate(WPARAM, LPARAM)
    {
        seen.push_back(L"L3.OnLate");
        return 7;
    }
    afx_msg void OnRange(UINT nID) { lastCommand = nID; }
    afx_msg void OnEditChange() { ++controlCalls; }
    afx_msg void OnNeedTextW(NMHDR* pNMHDR, LRESULT* pResult)
    {
        seen.push_back(L"L3.NeedTextW:" + std::to_wstring(pNMHDR->idFrom));
        *pResult = 11;
    }
    afx_msg void OnNeedTextA(NMHDR*, LRESULT* pResult)
    {
        seen.push_back(L"L3.NeedTextA");
        *pResult = 12;
    }
    afx_msg BOOL OnNotifyEx(UINT nID, NMHDR*, LRESULT* pResult)
    {
        seen.push_back(L"L3.NotifyEx:" + std::to_wstring(nID));
        *pResult = 99;
        return nID == 300; // the others are left to later entries and targets
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLevel3, CLevel2)
    ON_MESSAGE(WM_TEST2, &CLevel3::OnTest2Again)
    ON_REGISTERED_MESSAGE(g_registered, &CLevel3::OnRegistered)
    ON_REGISTERED_MESSAGE(g_lateRegistered, &CLevel3::OnLate)
    ON_COMMAND_RANGE(100, 110, &CLevel3::OnRange)
    ON_CONTROL(EN_CHANGE_, 42, &CLevel3::OnEditChange)
    ON_NOTIFY(TTN_NEEDTEXTW_, 7, &CLevel3::OnNeedTextW)
    ON_NOTIFY(TTN_NEEDTEXTA_, 7, &CLevel3::OnNeedTextA)
    ON_NOTIFY_EX_RANGE(0x1234, 300, 302, &CLevel3::OnNotifyEx)
END_MESSAGE_MAP()

// ---- a class template with a map of its own -------------------------------------------------------------

template <class BASE>
class CCounting : public BASE {
public:
    int timers = 0;
    UINT_PTR lastTimer = 0;
    afx_msg void OnTimer(UINT_PTR nIDEvent)
    {
        ++timers;
        lastTimer = nIDEvent;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_TEMPLATE_MESSAGE_MAP(CCounting, BASE, BASE)
    ON_WM_TIMER()
END_MESSAGE_MAP()

template <class A, class B>
class CPair : public A {
public:
    int closes = 0;
    afx_msg void OnClose() { ++closes; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_TEMPLATE_MESSAGE_MAP2(CPair, A, B, A)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

template <class T>
BOOL CreateTop(T& wnd)
{
    return wnd.CreateEx(0, AfxRegisterWndClass(0), L"test", WS_OVERLAPPED, 0, 0, 200, 150, nullptr, nullptr);
}

using MsgMapTest = AfxTest;

TEST_F(MsgMapTest, DerivedEntriesWinAndBaseEntriesStillDispatch)
{
    CLevel3 wnd;
    ASSERT_TRUE(CreateTop(wnd));
    wnd.seen.clear();
    // Level 1's entry through two derived maps.
    EXPECT_EQ(wnd.SendMessage(WM_TEST1, 40, 2), 42);
    // Level 2 overrides level 1's WM_MOUSEMOVE entry; level 3 overrides level 2's WM_TEST2.
    wnd.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(3, 4));
    EXPECT_EQ(wnd.SendMessage(WM_TEST2), 3);
    const std::vector<std::wstring> expected{L"L1.OnTest1", L"L2.OnMouseMove", L"L3.OnTest2"};
    EXPECT_EQ(wnd.seen, expected);
    // A message no map has goes to DefWindowProc (WM_GETTEXTLENGTH answers the text's length).
    EXPECT_EQ(wnd.SendMessage(WM_GETTEXTLENGTH), 4);
    // The index covers the class and its bases: more entries than any one map.
    EXPECT_GE(afx::MessageMapEntryCount(afx::MessageMapOf(wnd)), 11u);
    wnd.DestroyWindow();
}

TEST_F(MsgMapTest, HandlersGetTheirParametersCracked)
{
    CLevel3 wnd;
    ASSERT_TRUE(CreateTop(wnd));
    // WM_SIZE: the kind, then width and height as unsigned 16-bit values.
    wnd.SendMessage(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(0xFFFF, 480));
    EXPECT_EQ(wnd.sizeType, SIZE_MAXIMIZED);
    EXPECT_EQ(wnd.cx, 65535);
    EXPECT_EQ(wnd.cy, 480);
    // WM_MOUSEMOVE: the key state and a signed point.
    wnd.SendMessage(WM_MOUSEMOVE, MK_SHIFT | MK_RBUTTON, MAKELPARAM(static_cast<WORD>(-5), static_cast<WORD>(-70)));
    EXPECT_EQ(wnd.moveFlags, MK_SHIFT | MK_RBUTTON);
    EXPECT_EQ(wnd.movePoint, CPoint(-5, -70));
    // WM_COMMAND from a menu: the ID from the low word, a range handler gets it.
    EXPECT_EQ(wnd.SendMessage(WM_COMMAND, MAKEWPARAM(105, 0), 0), 1);
    EXPECT_EQ(wnd.lastCommand, 105u);
    EXPECT_EQ(wnd.SendMessage(WM_COMMAND, MAKEWPARAM(111, 0), 0), 0) << "outside the range: not handled";
    // WM_COMMAND from a control: the notification code from the high word.
    const HWND edit = MakePlain(WS_CHILD, wnd.m_hWnd, 42);
    EXPECT_EQ(wnd.SendMessage(WM_COMMAND, MAKEWPARAM(42, EN_CHANGE_), reinterpret_cast<LPARAM>(edit)), 1);
    EXPECT_EQ(wnd.controlCalls, 1);
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(42, EN_CHANGE_ + 1), reinterpret_cast<LPARAM>(edit));
    EXPECT_EQ(wnd.controlCalls, 1) << "another code is another entry";
    wnd.DestroyWindow();
}

TEST_F(MsgMapTest, RegisteredMessagesAreReadAtFirstUse)
{
    ASSERT_GE(g_registered, 0xC000u);
    CLevel3 wnd;
    ASSERT_TRUE(CreateTop(wnd));
    EXPECT_EQ(wnd.SendMessage(g_registered, 9), 0x5A);
    EXPECT_EQ(wnd.regW, 9u);
    // A variable that was still 0 when the class's map was first used is found once set.
    g_lateRegistered = RegisterWindowMessageW(L"ZynAfxTest.Late");
    EXPECT_EQ(wnd.SendMessage(g_lateRegistered), 7);
    wnd.DestroyWindow();
}

TEST_F(MsgMapTest, WideAndNarrowNotificationsAreSeparateEntries)
{
    CLevel3 wnd;
    ASSERT_TRUE(CreateTop(wnd));
    const HWND tip = MakePlain(WS_CHILD, wnd.m_hWnd, 7);
    NMHDR hdr{tip, 7, static_cast<UINT>(TTN_NEEDTEXTW_)};
    EXPECT_EQ(wnd.SendMessage(WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&hdr)), 11);
    hdr.code = static_cast<UINT>(TTN_NEEDTEXTA_);
    EXPECT_EQ(wnd.SendMessage(WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&hdr)), 12);
    const std::vector<std::wstring> expected{L"L3.NeedTextW:7", L"L3.NeedTextA"};
    EXPECT_EQ(std::vector<std::wstring>(wnd.seen.end() - 2, wnd.seen.end()), expected);
    wnd.DestroyWindow();
}

TEST_F(MsgMapTest, NotifyExRangeHandlerMayDecline)
{
    CLevel3 wnd;
    ASSERT_TRUE(CreateTop(wnd));
    const HWND a = MakePlain(WS_CHILD, wnd.m_hWnd, 300);
    const HWND b = MakePlain(WS_CHILD, wnd.m_hWnd, 301);
    NMHDR hdr{a, 300, 0x1234};
    EXPECT_EQ(wnd.SendMessage(WM_NOTIFY, 300, reinterpret_cast<LPARAM>(&hdr)), 99);
    hdr.hwndFrom = b;
    hdr.idFrom = 301;
    wnd.seen.clear();
    // Declined: nothing else handles it, so the window procedure answers 0.
    EXPECT_EQ(wnd.SendMessage(WM_NOTIFY, 301, reinterpret_cast<LPARAM>(&hdr)), 0);
    EXPECT_EQ(wnd.seen, std::vector<std::wstring>{L"L3.NotifyEx:301"});
    wnd.DestroyWindow();
}

TEST_F(MsgMapTest, EveryTemplateInstantiationHasItsOwnMap)
{
    CCounting<CWnd> plain;
    CCounting<CLevel1> sized;
    ASSERT_TRUE(CreateTop(plain));
    ASSERT_TRUE(CreateTop(sized));
    EXPECT_NE(afx::MessageMapOf(plain), afx::MessageMapOf(sized));
    plain.SendMessage(WM_TIMER, 5);
    sized.SendMessage(WM_TIMER, 6);
    sized.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(10, 20));
    EXPECT_EQ(plain.timers, 1);
    EXPECT_EQ(plain.lastTimer, 5u);
    EXPECT_EQ(sized.timers, 1);
    EXPECT_EQ(sized.cx, 10) << "the template's base map is searched after its own";
    CPair<CLevel1, int> pair;
    ASSERT_TRUE(CreateTop(pair));
    pair.SendMessage(WM_CLOSE);
    EXPECT_EQ(pair.closes, 1);
    EXPECT_TRUE(IsWindow(pair.m_hWnd)) << "the handler replaced DefWindowProc's destruction";
    pair.DestroyWindow();
    plain.DestroyWindow();
    sized.DestroyWindow();
}

// ---- command targets without windows --------------------------------------------------------------------------

class CDocLike : public CCmdTarget {
public:
    std::vector<std::wstring> seen;
    BOOL enableA = TRUE;
    afx_msg void OnA() { seen.push_back(L"A"); }
    afx_msg void OnUpdateA(CCmdUI* pCmdUI) { pCmdUI->Enable(enableA); }
    afx_msg BOOL OnB(UINT nID)
    {
        seen.push_back(L"B" + std::to_wstring(nID));
        return FALSE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDocLike, CCmdTarget)
    ON_COMMAND(1001, &CDocLike::OnA)
    ON_UPDATE_COMMAND_UI(1001, &CDocLike::OnUpdateA)
    ON_COMMAND_EX(1002, &CDocLike::OnB)
END_MESSAGE_MAP()

class CRecordingUI : public CCmdUI {
public:
    int enabled = -1;
    void Enable(BOOL bOn) override
    {
        enabled = bOn;
        m_bEnableChanged = TRUE;
    }
};

TEST_F(MsgMapTest, CommandTargetsRunAndAnswerHandlerQueries)
{
    CDocLike doc;
    EXPECT_TRUE(doc.OnCmdMsg(1001, CN_COMMAND, nullptr, nullptr));
    EXPECT_FALSE(doc.OnCmdMsg(1002, CN_COMMAND, nullptr, nullptr)) << "an _EX handler that declines";
    EXPECT_FALSE(doc.OnCmdMsg(1003, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(doc.seen, (std::vector<std::wstring>{L"A", L"B1002"}));
    // A handler query names the handler without running it.
    AFX_CMDHANDLERINFO info{nullptr, nullptr};
    EXPECT_TRUE(doc.OnCmdMsg(1001, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(info.pTarget, &doc);
    EXPECT_EQ(info.pmf, static_cast<AFX_PMSG>(&CDocLike::OnA));
    EXPECT_EQ(doc.seen.size(), 2u);
    // Update requests: the handler's answer, or the existence of a handler.
    CRecordingUI ui;
    ui.m_nID = 1001;
    doc.enableA = FALSE;
    ui.DoUpdate(&doc, TRUE);
    EXPECT_EQ(ui.enabled, FALSE);
    ui.m_nID = 1002;
    ui.enabled = -1;
    ui.DoUpdate(&doc, TRUE);
    EXPECT_EQ(ui.enabled, TRUE) << "no update handler, but a command handler exists";
    ui.m_nID = 1003;
    ui.DoUpdate(&doc, TRUE);
    EXPECT_EQ(ui.enabled, FALSE) << "nobody handles it";
    ui.enabled = -1;
    ui.DoUpdate(&doc, FALSE);
    EXPECT_EQ(ui.enabled, -1) << "left alone without bDisableIfNoHndler";
}

} // namespace
} // namespace zyn::test
