// The idle pass: WM_IDLEUPDATECMDUI to the main window and its descendants with window
// objects, and child controls updated as command user-interface elements.
#include "tests/afx/afx_test_support.h"

namespace zyn::test {
namespace {

constexpr UINT ID_SAVE = 200, ID_PLAIN = 201, ID_BUTTON = 202, ID_SELF = 203, ID_HANDLED = 204;
constexpr UINT kDlgcButton = 0x2000;

// A child that behaves as a push button for the update (answers DLGC_BUTTON).
class CButtonLike : public CWnd {
public:
    int idleUpdates = 0;
    afx_msg UINT OnGetDlgCode() { return kDlgcButton; }
    afx_msg void OnEnable(BOOL bEnable) { Trace::Add(L"enable:" + std::to_wstring(bEnable)); }
    afx_msg LRESULT OnSetCheck(WPARAM wParam, LPARAM)
    {
        Trace::Add(L"check:" + std::to_wstring(wParam));
        return 0;
    }
    afx_msg LRESULT OnIdleUpdate(WPARAM, LPARAM)
    {
        ++idleUpdates;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CButtonLike, CWnd)
    ON_WM_GETDLGCODE()
    ON_WM_ENABLE()
    ON_MESSAGE(0x00F1 /* BM_SETCHECK */, &CButtonLike::OnSetCheck)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CButtonLike::OnIdleUpdate)
END_MESSAGE_MAP()

// A control that updates itself.
class CSelfUpdating : public CWnd {
public:
    afx_msg void OnUpdateSelf(CCmdUI* pCmdUI) { pCmdUI->SetText(L"self"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSelfUpdating, CWnd)
    ON_UPDATE_COMMAND_UI_REFLECT(&CSelfUpdating::OnUpdateSelf)
END_MESSAGE_MAP()

class CMainWnd : public CWnd {
public:
    BOOL canSave = FALSE;
    int idleUpdates = 0;
    WPARAM lastDisableFlag = 0;
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
    {
        ++idleUpdates;
        lastDisableFlag = wParam;
        UpdateDialogControls(this, static_cast<BOOL>(wParam));
        return 0;
    }
    afx_msg void OnUpdateSave(CCmdUI* pCmdUI)
    {
        pCmdUI->Enable(canSave);
        pCmdUI->SetText(canSave ? L"Save" : L"Saved");
    }
    afx_msg void OnHandled() {}
    afx_msg LRESULT OnNextDlgCtl(WPARAM, LPARAM)
    {
        Trace::Add(L"next");
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMainWnd, CWnd)
    ON_MESSAGE(WM_NEXTDLGCTL, &CMainWnd::OnNextDlgCtl)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CMainWnd::OnIdleUpdateCmdUI)
    ON_UPDATE_COMMAND_UI(ID_SAVE, &CMainWnd::OnUpdateSave)
    ON_COMMAND(ID_HANDLED, &CMainWnd::OnHandled)
END_MESSAGE_MAP()

std::wstring TextOf(HWND h)
{
    wchar_t buf[64] = {};
    GetWindowTextW(h, buf, 64);
    return buf;
}

class IdleTest : public AfxTest {
protected:
    void SetUp() override
    {
        AfxTest::SetUp();
        ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(0), L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400,
            300, nullptr, nullptr));
        save = MakePlain(WS_CHILD | WS_VISIBLE, main.m_hWnd, ID_SAVE);
        plain = MakePlain(WS_CHILD | WS_VISIBLE, main.m_hWnd, ID_PLAIN);
        ASSERT_TRUE(button.Create(nullptr, L"button", WS_CHILD | WS_VISIBLE, CRect(0, 0, 20, 20), &main, ID_BUTTON));
        ASSERT_TRUE(self.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 20, 20), &main, ID_SELF));
        handled = MakePlain(WS_CHILD | WS_VISIBLE, main.m_hWnd, ID_HANDLED);
        app.m_pMainWnd = &main;
    }
    void TearDown() override
    {
        app.m_pMainWnd = nullptr;
        main.DestroyWindow();
        AfxTest::TearDown();
    }

    CWinApp app{L"IdleTest"};
    CMainWnd main;
    CButtonLike button;
    CSelfUpdating self;
    HWND save = nullptr, plain = nullptr, handled = nullptr;
};

TEST_F(IdleTest, TheIdlePassUpdatesTheMainWindowAndItsWindowObjects)
{
    EXPECT_TRUE(app.OnIdle(0)) << "more idle work after the first pass";
    EXPECT_EQ(main.idleUpdates, 1);
    EXPECT_EQ(main.lastDisableFlag, static_cast<WPARAM>(TRUE));
    EXPECT_EQ(button.idleUpdates, 1) << "descendants with window objects get it too";
    // Child controls, updated by control ID through the main window's handlers.
    EXPECT_FALSE(IsWindowEnabled(save));
    EXPECT_EQ(TextOf(save), L"Saved");
    EXPECT_TRUE(IsWindowEnabled(plain)) << "no handler, but not a button: left alone";
    EXPECT_FALSE(IsWindowEnabled(button.m_hWnd)) << "a push button nobody handles is disabled";
    EXPECT_TRUE(IsWindowEnabled(handled)) << "a command handler exists";
    EXPECT_EQ(TextOf(self.m_hWnd), L"self") << "the control's own update came first";
    // The state changes, the next pass shows it.
    main.canSave = TRUE;
    app.OnIdle(0);
    EXPECT_TRUE(IsWindowEnabled(save));
    EXPECT_EQ(TextOf(save), L"Save");
    EXPECT_EQ(main.idleUpdates, 2);
}

TEST_F(IdleTest, HiddenMainWindowsAreNotUpdatedAndCountOneFreesTemporaries)
{
    main.ShowWindow(SW_HIDE);
    app.OnIdle(0);
    EXPECT_EQ(main.idleUpdates, 0);
    CWnd::FromHandle(plain);
    EXPECT_EQ(afx::TemporaryWindowCount(), 1u);
    EXPECT_FALSE(app.OnIdle(1)) << "count 1 is the last idle work";
    EXPECT_EQ(afx::TemporaryWindowCount(), 0u);
}

TEST_F(IdleTest, DisablingTheFocusedControlHandsTheFocusOnFirst)
{
    SetFocus(button.m_hWnd);
    ASSERT_EQ(GetFocus(), button.m_hWnd);
    Trace::Clear();
    app.OnIdle(0);
    EXPECT_EQ(Trace::Log(), (std::vector<std::wstring>{L"next", L"enable:0"}))
        << "the dialog is asked to move the focus before the control is disabled";
}

TEST_F(IdleTest, ChecksReachOnlyButtons)
{
    CCmdUI ui;
    ui.m_nID = ID_BUTTON;
    ui.m_pOther = &button;
    Trace::Clear();
    ui.SetCheck(2);
    ui.SetRadio(TRUE);
    EXPECT_EQ(Trace::Log(), (std::vector<std::wstring>{L"check:2", L"check:1"}));
    // A window that is not a button ignores checks.
    CWnd* other = CWnd::FromHandle(plain);
    ui.m_pOther = other;
    ui.SetCheck(1); // no crash, nothing to record
    EXPECT_EQ(Trace::Log().size(), 2u);
}

} // namespace
} // namespace zyn::test
