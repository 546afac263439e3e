// Window objects: creation through the create hook, attaching and subclassing, Default
// with the current message, temporaries freed at idle, the end of a window's life and
// exceptions from handlers.
#include <memory>

#include "platform/afx/afxres.h"
#include "platform/afx/miniframe.h"
#include "platform/base/exception.h"
#include "tests/afx/afx_test_support.h"

namespace zyn::test {
namespace {

constexpr UINT WM_PROBE = WM_USER + 10;

// A window procedure that records what reaches it, for windows the class library
// subclasses.
std::vector<MSG>& ClassProcLog()
{
    static std::vector<MSG> log;
    return log;
}

LRESULT RecordingClassProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    ClassProcLog().push_back(MSG{h, m, w, l, 0, POINT{0, 0}});
    if (m == WM_PROBE)
        return static_cast<LRESULT>(w) * 2;
    return DefWindowProcW(h, m, w, l);
}

const wchar_t* RegisterRecordingClass()
{
    static const wchar_t* name = L"AfxTestRecording";
    WNDCLASSW wc{};
    wc.lpfnWndProc = &RecordingClassProc;
    wc.lpszClassName = name;
    RegisterClassW(&wc); // again after each reset; an existing class is fine
    return name;
}

class CFirstMessages : public CWnd {
public:
    std::vector<UINT> seen;
    BOOL preSubclassed = FALSE;
    DWORD styleAdded = 0;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override
    {
        cs.style |= WS_CLIPCHILDREN;
        styleAdded = WS_CLIPCHILDREN;
        return CWnd::PreCreateWindow(cs);
    }
    BOOL duringCreation = FALSE;
    void PreSubclassWindow() override
    {
        // A creation by the class library is under way exactly when the object is the
        // thread's window being created.
        duringCreation = AfxGetThreadState()->m_pWndInit == this;
        preSubclassed = TRUE;
        CWnd::PreSubclassWindow();
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        seen.push_back(message);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

using WndTest = AfxTest;

TEST_F(WndTest, CreationAttachesTheObjectBeforeTheFirstMessage)
{
    CFirstMessages wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), L"first", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
        nullptr));
    ASSERT_FALSE(wnd.seen.empty());
    EXPECT_EQ(wnd.seen.front(), static_cast<UINT>(WM_GETMINMAXINFO)) << "even the first message reaches the object";
    EXPECT_NE(IndexOf(wnd.seen, WM_NCCREATE), -1);
    EXPECT_TRUE(wnd.preSubclassed);
    EXPECT_TRUE(wnd.duringCreation);
    EXPECT_TRUE(wnd.GetStyle() & WS_CLIPCHILDREN) << "PreCreateWindow's change took effect";
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
    EXPECT_EQ(GetWindowLongPtrW(wnd.m_hWnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&AfxWndProc));
    EXPECT_EQ(wnd.SendMessage(WM_QUERYAFXWNDPROC), 1);
    const HWND h = wnd.m_hWnd;
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
    EXPECT_EQ(wnd.seen.back(), static_cast<UINT>(WM_NCDESTROY));
}

TEST_F(WndTest, SubclassingAnExistingWindowIsNoCreation)
{
    CFirstMessages wnd;
    ASSERT_TRUE(wnd.SubclassWindow(MakePlain()));
    EXPECT_TRUE(wnd.preSubclassed);
    EXPECT_FALSE(wnd.duringCreation);
    wnd.DestroyWindow();
}

TEST_F(WndTest, ChildCreationThroughCreateAndTheClassLibraryClass)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), L"p", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
        nullptr));
    CWnd child;
    ASSERT_TRUE(child.Create(nullptr, L"c", WS_CHILD | WS_VISIBLE, CRect(5, 6, 55, 46), &parent, 77));
    wchar_t cls[32] = {};
    GetClassNameW(child.m_hWnd, cls, 32);
    EXPECT_STREQ(cls, L"AfxWnd");
    EXPECT_EQ(child.GetDlgCtrlID(), 77);
    EXPECT_EQ(parent.GetDlgItem(77), &child);
    EXPECT_EQ(child.GetParent(), &parent);
    // A second creation through the same object is refused and leaves the first window.
    const HWND first = child.m_hWnd;
    EXPECT_FALSE(child.Create(nullptr, L"again", WS_CHILD, CRect(0, 0, 1, 1), &parent, 78));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(child.m_hWnd, first);
    // Create makes children only.
    CWnd popup;
    EXPECT_FALSE(popup.Create(nullptr, L"x", WS_POPUP, CRect(0, 0, 1, 1), &parent, 1));
    parent.DestroyWindow();
    EXPECT_EQ(child.m_hWnd, nullptr) << "the child went with its parent and detached";
}

// ---- Default and subclassing -------------------------------------------------------------------------------

class CProbe : public CWnd {
public:
    LRESULT defaultResult = 0;
    MSG seenInside{};
    CWnd* other = nullptr;
    afx_msg LRESULT OnProbe(WPARAM, LPARAM)
    {
        // A nested message to another window, then Default: the outer message is back.
        if (other)
            other->SendMessage(WM_PROBE, 1000, 0);
        seenInside = *GetCurrentMessage();
        defaultResult = Default();
        return defaultResult + 1;
    }
    afx_msg void OnSize(UINT nType, int cx, int cy) { CWnd::OnSize(nType, cx, cy); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbe, CWnd)
    ON_MESSAGE(WM_PROBE, &CProbe::OnProbe)
    ON_WM_SIZE()
END_MESSAGE_MAP()

TEST_F(WndTest, DefaultCallsThePreviousProcedureWithTheCurrentMessage)
{
    ClassProcLog().clear();
    const HWND a = CreateWindowExW(0, RegisterRecordingClass(), L"a", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
        nullptr, nullptr, nullptr);
    const HWND b = CreateWindowExW(0, RegisterRecordingClass(), L"b", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
        nullptr, nullptr, nullptr);
    CProbe probeA, probeB;
    ASSERT_TRUE(probeA.SubclassWindow(a));
    ASSERT_TRUE(probeB.SubclassWindow(b));
    probeA.other = &probeB;
    ClassProcLog().clear();
    EXPECT_EQ(SendMessageW(a, WM_PROBE, 21, 0x55), 43);
    EXPECT_EQ(probeA.defaultResult, 42) << "the class procedure answered the outer message";
    EXPECT_EQ(probeA.seenInside.message, WM_PROBE);
    EXPECT_EQ(probeA.seenInside.wParam, 21u);
    EXPECT_EQ(probeA.seenInside.lParam, 0x55);
    // B's handler ran (and called Default) inside A's: the class procedure saw B's message
    // first, then A's with A's parameters.
    ASSERT_EQ(ClassProcLog().size(), 2u);
    EXPECT_EQ(ClassProcLog()[0].hwnd, b);
    EXPECT_EQ(ClassProcLog()[0].wParam, 1000u);
    EXPECT_EQ(ClassProcLog()[1].hwnd, a);
    EXPECT_EQ(ClassProcLog()[1].wParam, 21u);
    EXPECT_EQ(ClassProcLog()[1].lParam, 0x55);
    // A base On* handler hands its message on the same way.
    ClassProcLog().clear();
    SendMessageW(a, WM_SIZE, SIZE_RESTORED, MAKELPARAM(12, 34));
    ASSERT_EQ(ClassProcLog().size(), 1u);
    EXPECT_EQ(ClassProcLog()[0].message, static_cast<UINT>(WM_SIZE));
    EXPECT_EQ(ClassProcLog()[0].lParam, MAKELPARAM(12, 34));
    // Unsubclassing puts the class procedure back.
    EXPECT_EQ(probeB.UnsubclassWindow(), b);
    EXPECT_EQ(GetWindowLongPtrW(b, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&RecordingClassProc));
    EXPECT_EQ(CWnd::FromHandlePermanent(b), nullptr);
    DestroyWindow(b);
    probeA.DestroyWindow();
}

// A window object that answers WM_PROBE with its own number.
class CNumbered : public CWnd {
public:
    explicit CNumbered(LRESULT n) : number(n) {}
    LRESULT number;
    afx_msg LRESULT OnProbe(WPARAM, LPARAM) { return number; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNumbered, CWnd)
    ON_MESSAGE(WM_PROBE, &CNumbered::OnProbe)
END_MESSAGE_MAP()

TEST_F(WndTest, EveryMessageReachesItsOwnObjectAcrossManyWindowsAndHandleReuse)
{
    // More windows than the dispatcher keeps at hand, messages sent in an order where
    // windows 64 slots apart alternate: each must still reach its own object.
    constexpr int kWindows = 150;
    std::vector<std::unique_ptr<CNumbered>> objects;
    for (int i = 0; i < kWindows; ++i) {
        objects.push_back(std::make_unique<CNumbered>(1000 + i));
        ASSERT_TRUE(objects.back()->CreateEx(0, AfxRegisterWndClass(0), L"n", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
            nullptr));
    }
    for (int round = 0; round < 3; ++round) {
        for (int start = 0; start < 64; ++start) {
            for (int i = start; i < kWindows; i += 64)
                ASSERT_EQ(SendMessageW(objects[i]->m_hWnd, WM_PROBE, 0, 0), 1000 + i) << "window " << i;
        }
    }

    // A detached object is never reached again, however recently it answered; the
    // window falls back to its previous procedure (DefWindowProc answers 0).
    const HWND detached = objects[5]->m_hWnd;
    ASSERT_EQ(SendMessageW(detached, WM_PROBE, 0, 0), 1005);
    objects[5]->Detach();
    EXPECT_EQ(SendMessageW(detached, WM_PROBE, 0, 0), 0);
    // Attached again, to another object: that object answers.
    CNumbered other(7);
    ASSERT_TRUE(other.Attach(detached));
    EXPECT_EQ(SendMessageW(detached, WM_PROBE, 0, 0), 7);
    other.Detach();

    // A destroyed window's slot goes to the next window: the new window reaches its new
    // object, the old handle reaches nothing.
    const HWND gone = objects[9]->m_hWnd;
    ASSERT_EQ(SendMessageW(gone, WM_PROBE, 0, 0), 1009);
    ASSERT_TRUE(objects[9]->DestroyWindow());
    CNumbered successor(2000);
    ASSERT_TRUE(successor.CreateEx(0, AfxRegisterWndClass(0), L"s", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(SendMessageW(successor.m_hWnd, WM_PROBE, 0, 0), 2000);
    EXPECT_EQ(SendMessageW(gone, WM_PROBE, 0, 0), 0);
    EXPECT_EQ(CWnd::FromHandlePermanent(gone), nullptr);
    successor.DestroyWindow();

    DestroyWindow(detached);
    for (auto& o : objects)
        if (o->m_hWnd)
            o->DestroyWindow();
}

TEST_F(WndTest, AttachRefusesBadHandlesAndSecondOwners)
{
    const HWND h = MakePlain();
    CWnd a, b;
    SetLastError(0);
    EXPECT_FALSE(a.Attach(nullptr));
    EXPECT_FALSE(a.Attach(reinterpret_cast<HWND>(static_cast<uintptr_t>(0x0812345))));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    ASSERT_TRUE(a.Attach(h));
    EXPECT_FALSE(b.Attach(h)) << "one object per window on a thread";
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(a.Attach(MakePlain())) << "one window per object";
    EXPECT_EQ(a.Detach(), h);
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
    DestroyWindow(h);
    // The second plain window, refused above, is still there.
    HWND left = FindWindowW(kPlainClass, nullptr);
    ASSERT_TRUE(left);
    DestroyWindow(left);
}

TEST_F(WndTest, ResubclassingAfterDetachChainsToTheClassProcedure)
{
    ClassProcLog().clear();
    const HWND h = CreateWindowExW(0, RegisterRecordingClass(), L"a", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
        nullptr, nullptr, nullptr);
    {
        CProbe first;
        ASSERT_TRUE(first.SubclassWindow(h));
        first.Detach(); // leaves the class library's procedure in place without an object
    }
    // Without an object the window still reaches its class procedure.
    EXPECT_EQ(SendMessageW(h, WM_PROBE, 4, 0), 8);
    CProbe second;
    ASSERT_TRUE(second.SubclassWindow(h));
    // Default reaches the class procedure, not the class library's procedure again.
    EXPECT_EQ(SendMessageW(h, WM_PROBE, 5, 0), 11);
    second.DestroyWindow();
}

// ---- temporaries ----------------------------------------------------------------------------------------------

TEST_F(WndTest, TemporariesLiveUntilTheIdlePass)
{
    const HWND h = MakePlain();
    CWnd* temp = CWnd::FromHandle(h);
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(temp->m_hWnd, h);
    EXPECT_EQ(CWnd::FromHandle(h), temp) << "the same temporary within the pass";
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
    EXPECT_EQ(afx::TemporaryWindowCount(), 1u);
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
    EXPECT_EQ(CWnd::FromHandle(reinterpret_cast<HWND>(static_cast<uintptr_t>(0x0876543))), nullptr);
    // The idle pass of a thread frees them; the window stays.
    CWinThread thread;
    AfxLockTempMaps();
    EXPECT_FALSE(thread.OnIdle(1));
    EXPECT_EQ(afx::TemporaryWindowCount(), 1u) << "held while the maps are locked";
    AfxUnlockTempMaps(FALSE);
    EXPECT_FALSE(thread.OnIdle(1));
    EXPECT_EQ(afx::TemporaryWindowCount(), 0u);
    EXPECT_TRUE(IsWindow(h));
    // Permanent objects are not touched.
    CWnd perm;
    ASSERT_TRUE(perm.Attach(h));
    EXPECT_EQ(CWnd::FromHandle(h), &perm);
    thread.OnIdle(1);
    EXPECT_EQ(CWnd::FromHandlePermanent(h), &perm);
    perm.DestroyWindow();
}

// ---- the end of a window's life -------------------------------------------------------------------------------

class CSelfDeleting : public CWnd {
public:
    static int deleted;
    ~CSelfDeleting() override { ++deleted; }
    void PostNcDestroy() override { delete this; }
};
int CSelfDeleting::deleted = 0;

TEST_F(WndTest, PostNcDestroyRunsLastAndMayDeleteTheObject)
{
    CSelfDeleting::deleted = 0;
    auto* wnd = new CSelfDeleting; // deletes itself
    ASSERT_TRUE(wnd->CreateEx(0, AfxRegisterWndClass(0), L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    const HWND h = wnd->m_hWnd;
    DestroyWindow(h);
    EXPECT_EQ(CSelfDeleting::deleted, 1);
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
    // A creation that fails before the window exists cleans up the same way.
    auto* failing = new CSelfDeleting;
    EXPECT_FALSE(failing->CreateEx(0, L"NoSuchClass", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(CSelfDeleting::deleted, 2);
}

TEST_F(WndTest, DestroyingTheObjectDestroysItsWindow)
{
    HWND h = nullptr;
    {
        CFirstMessages wnd;
        ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
        h = wnd.m_hWnd;
    }
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
}

// Where WM_APP went: the base class's handler, the derived one's, or an OnWndMsg override.
struct Reached {
    int base = 0, derived = 0, overridden = 0;
};
Reached g_reached;

class CBasePing : public CWnd {
public:
    afx_msg LRESULT OnPing(WPARAM, LPARAM) { return ++g_reached.base; }
    ~CBasePing() override
    {
        // The derived part is gone: only this class's handlers may run now.
        if (m_hWnd)
            SendMessage(WM_APP);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBasePing, CWnd)
    ON_MESSAGE(WM_APP, &CBasePing::OnPing)
END_MESSAGE_MAP()

class CDerivedPing : public CBasePing {
public:
    afx_msg LRESULT OnPingHere(WPARAM, LPARAM) { return ++g_reached.derived; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedPing, CBasePing)
    ON_MESSAGE(WM_APP, &CDerivedPing::OnPingHere)
END_MESSAGE_MAP()

class COwnOnWndMsg : public CBasePing {
public:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        if (message == WM_APP)
            ++g_reached.overridden;
        return CBasePing::OnWndMsg(message, wParam, lParam, pResult);
    }
};

TEST_F(WndTest, EachMessageGoesToTheHandlersOfTheObjectsTypeAtThatMoment)
{
    g_reached = {};
    {
        CDerivedPing wnd;
        ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
        wnd.SendMessage(WM_APP);
        wnd.SendMessage(WM_APP);
        EXPECT_EQ(g_reached.derived, 2);
        EXPECT_EQ(g_reached.base, 0);
    }
    EXPECT_EQ(g_reached.derived, 2) << "the derived handler after its part was destroyed";
    EXPECT_EQ(g_reached.base, 1) << "the base class's destructor's message";

    g_reached = {};
    {
        COwnOnWndMsg wnd;
        ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
        wnd.SendMessage(WM_APP);
        wnd.SendMessage(WM_APP);
        EXPECT_EQ(g_reached.overridden, 2) << "an OnWndMsg override sees every message";
        EXPECT_EQ(g_reached.base, 2);
    }
}

class CDetachesNothing : public CWnd {
public:
    afx_msg void OnNcDestroy() {} // does not pass WM_NCDESTROY on
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDetachesNothing, CWnd)
    ON_WM_NCDESTROY()
END_MESSAGE_MAP()

TEST_F(WndTest, AnObjectIsNeverLeftOnADeadWindow)
{
    CDetachesNothing wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    const HWND h = wnd.m_hWnd;
    DestroyWindow(h);
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
}

// ---- the window procedure's own look-up ---------------------------------------------------------------------

// From its second message on, a window whose class overrides neither WindowProc nor
// OnWndMsg has the window procedure look in its map itself.
class CShortPath : public CWnd {
public:
    int* destroyed = nullptr;
    afx_msg LRESULT OnProbe(WPARAM w, LPARAM) { return static_cast<LRESULT>(w) * 3; }
    afx_msg LRESULT OnQuery(WPARAM, LPARAM) { return 7; }
    afx_msg void OnDestroy() { ++*destroyed; }
    LRESULT DefWindowProc(UINT m, WPARAM w, LPARAM l) override
    {
        return m == WM_PROBE + 1 ? 99 : CWnd::DefWindowProc(m, w, l);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CShortPath, CWnd)
    ON_MESSAGE(WM_PROBE, &CShortPath::OnProbe)
    ON_MESSAGE(WM_QUERYAFXWNDPROC, &CShortPath::OnQuery)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

TEST_F(WndTest, TheProceduresOwnLookUpAnswersAsWindowProcWould)
{
    int destroyed = 0;
    auto wnd = std::make_unique<CShortPath>();
    wnd->destroyed = &destroyed;
    ASSERT_TRUE(wnd->CreateEx(0, AfxRegisterWndClass(0), L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    const struct {
        const char* name;
        UINT message;
        WPARAM wParam;
        LRESULT expected;
    } rows[] = {
        {"a mapped message goes to its handler", WM_PROBE, 5, 15},
        {"an unmapped one to the class's DefWindowProc", WM_PROBE + 1, 0, 99},
        {"the procedure answers its own query whatever the map says", WM_QUERYAFXWNDPROC, 0, 1},
    };
    for (const auto& row : rows)
        for (int round = 0; round < 2; ++round)
            EXPECT_EQ(wnd->SendMessage(row.message, row.wParam), row.expected) << row.name << ", round " << round;
    // Deleted with its window alive: the derived class's handlers are gone by the time
    // CWnd's destructor destroys the window.
    const HWND h = wnd->m_hWnd;
    wnd.reset();
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(destroyed, 0);
}

// ---- exceptions ------------------------------------------------------------------------------------------------

class CThrowsOnCreate : public CWnd {
public:
    afx_msg int OnCreate(LPCREATESTRUCT) { AfxThrowResourceException(); }
    afx_msg LRESULT OnProbe(WPARAM, LPARAM) { AfxThrowNotSupportedException(L"probe refused"); }
    afx_msg LRESULT OnUserCancel(WPARAM, LPARAM) { AfxThrowUserException(); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CThrowsOnCreate, CWnd)
    ON_WM_CREATE()
    ON_MESSAGE(WM_PROBE, &CThrowsOnCreate::OnProbe)
    ON_MESSAGE(WM_PROBE + 1, &CThrowsOnCreate::OnUserCancel)
END_MESSAGE_MAP()

TEST_F(WndTest, HandlerExceptionsAreReportedAndStopAtTheWindowProcedure)
{
    user::SetScriptedMode(true);
    user::AnswerScript::Clear();
    CThrowsOnCreate wnd;
    // An exception in OnCreate fails the creation.
    EXPECT_FALSE(wnd.CreateEx(0, AfxRegisterWndClass(0), L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(user::LiveWindowCount(), 0u);
    // Elsewhere the message gets 0 and the user is told.
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    CThrowsOnCreate sub;
    ASSERT_TRUE(sub.SubclassWindow(MakePlain()));
    const size_t shownBefore = user::AnswerScript::Shown().size();
    EXPECT_EQ(sub.SendMessage(WM_PROBE), 0);
    const auto shown = user::AnswerScript::Shown();
    ASSERT_EQ(shown.size(), shownBefore + 1);
    EXPECT_NE(shown.back().text.find(L"probe refused"), std::wstring::npos);
    // A user exception was shown to the user already: no second box.
    EXPECT_EQ(sub.SendMessage(WM_PROBE + 1), 0);
    EXPECT_EQ(user::AnswerScript::Shown().size(), shownBefore + 1);
    sub.DestroyWindow();
    host.DestroyWindow();
    user::SetScriptedMode(false);
}

// ---- styles, classes and geometry helpers ----------------------------------------------------------------------------

TEST_F(WndTest, ModifyStyleReportsChangesAndRegisteredClassesAreShared)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS), L"", WS_OVERLAPPED, 0, 0, 100, 80, nullptr,
        nullptr));
    EXPECT_TRUE(wnd.ModifyStyle(0, WS_VSCROLL));
    EXPECT_TRUE(wnd.GetStyle() & WS_VSCROLL);
    EXPECT_FALSE(wnd.ModifyStyle(0, WS_VSCROLL)) << "nothing changed";
    EXPECT_TRUE(wnd.ModifyStyleEx(0, WS_EX_TOOLWINDOW, SWP_FRAMECHANGED));
    EXPECT_TRUE(wnd.GetExStyle() & WS_EX_TOOLWINDOW);
    // The same attributes give the same class, whose name stays valid.
    LPCTSTR a = AfxRegisterWndClass(CS_DBLCLKS);
    LPCTSTR b = AfxRegisterWndClass(CS_DBLCLKS);
    EXPECT_EQ(a, b);
    EXPECT_STRNE(a, AfxRegisterWndClass(CS_HREDRAW));
    WNDCLASSW wc{};
    EXPECT_TRUE(GetClassInfoW(AfxGetInstanceHandle(), a, &wc));
    EXPECT_EQ(wc.style, static_cast<UINT>(CS_DBLCLKS));
    // CalcWindowRect: the window rectangle around a client rectangle.
    CRect rc(0, 0, 100, 50);
    wnd.CalcWindowRect(&rc);
    RECT expected{0, 0, 100, 50};
    AdjustWindowRectEx(&expected, wnd.GetStyle(), FALSE, wnd.GetExStyle() & ~WS_EX_CLIENTEDGE);
    EXPECT_EQ(rc, CRect(expected));
    wnd.DestroyWindow();
}

// A stand-in frame: the frame classes answer IsFrameWnd.
class CFakeFrame : public CWnd {
public:
    BOOL IsFrameWnd() const override { return TRUE; }
};

TEST_F(WndTest, ParentFramesAndTopLevelParents)
{
    CFakeFrame outer;
    ASSERT_TRUE(outer.CreateEx(0, AfxRegisterWndClass(0), L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300, nullptr,
        nullptr));
    CFakeFrame inner;
    ASSERT_TRUE(inner.Create(nullptr, L"", WS_CHILD, CRect(0, 0, 200, 200), &outer, 1));
    CWnd view;
    ASSERT_TRUE(view.Create(nullptr, L"", WS_CHILD, CRect(0, 0, 100, 100), &inner, AFX_IDW_PANE_FIRST));
    EXPECT_EQ(reinterpret_cast<CWnd*>(view.GetParentFrame()), &inner);
    EXPECT_EQ(reinterpret_cast<CWnd*>(inner.GetParentFrame()), &outer);
    EXPECT_EQ(outer.GetParentFrame(), nullptr);
    EXPECT_EQ(reinterpret_cast<CWnd*>(view.GetTopLevelFrame()), &outer);
    EXPECT_EQ(reinterpret_cast<CWnd*>(outer.GetTopLevelFrame()), &outer);
    EXPECT_EQ(view.GetTopLevelParent(), &outer);
    EXPECT_EQ(view.GetDescendantWindow(AFX_IDW_PANE_FIRST), nullptr) << "only below the window";
    EXPECT_EQ(outer.GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE), &view);
    // The class-library owner takes the place of the parent.
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    view.SetOwner(&owner);
    EXPECT_EQ(view.GetOwner(), &owner);
    EXPECT_EQ(view.GetTopLevelParent(), &owner);
    owner.DestroyWindow();
    outer.DestroyWindow();
}

TEST_F(WndTest, AMiniFrameMadeThroughEitherTypeIsTheSameToolWindow)
{
    // The rectangle form of CreateEx, called on the mini frame or through a CWnd pointer.
    for (const bool throughWnd : {false, true}) {
        auto* frame = new CMiniFrameWnd; // frames delete themselves when their window goes
        const CRect rect(10, 20, 110, 80);
        const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
        const BOOL made = throughWnd
            ? static_cast<CWnd*>(frame)->CreateEx(0, nullptr, L"Tools", style, rect, nullptr, 0)
            : frame->CreateEx(0, nullptr, L"Tools", style, rect);
        ASSERT_TRUE(made) << "through CWnd: " << throughWnd;
        EXPECT_NE(frame->GetExStyle() & WS_EX_TOOLWINDOW, 0u) << "through CWnd: " << throughWnd;
        EXPECT_EQ(std::wstring(frame->GetTitle().GetString()), L"Tools") << "through CWnd: " << throughWnd;
        CRect placed;
        frame->GetWindowRect(&placed);
        EXPECT_EQ(placed, rect) << "through CWnd: " << throughWnd;
        frame->DestroyWindow();
    }
}

} // namespace
} // namespace zyn::test
