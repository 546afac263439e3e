// The MDI child buttons' commands: what is handled, the close that asks the child first, a
// restore that visits every child once, and a main window that is no MDI frame.
#include "platform/afx/afxpriv.h"
#include "platform/afx/cmdui.h"
#include "platform/afx/mdi.h"
#include "platform/afx/winapp.h"
#include "tests/menus/menu_test_support.h"

namespace zyn::test {
namespace {

int g_closeAsked = 0;

class AskingChild : public CMDIChildWnd {
public:
    // Asked to close: this child says no (a document with unsaved changes would ask here).
    afx_msg void OnClose() { ++g_closeAsked; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(AskingChild, CMDIChildWnd)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

class MainFrame : public CMDIFrameWnd {
public:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override
    {
        const HMENU bar = ::CreateMenu();
        const HMENU window = ::CreatePopupMenu();
        ::AppendMenuW(window, MF_STRING, 0xE130, L"&Cascade");
        ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(window), L"&Window");
        ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(::CreatePopupMenu()), L"&Help");
        cs.hMenu = bar;
        m_hMenuDefault = bar;
        return CMDIFrameWnd::PreCreateWindow(cs);
    }
};

class MdiTest : public MenuTest {
protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        g_closeAsked = 0;
        m_app = std::make_unique<CWinApp>(L"MenuTest");
        m_frame = new MainFrame; // deletes itself with its window
        ASSERT_TRUE(m_frame->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW, CRect(0, 0, 800, 600)));
        m_app->m_pMainWnd = m_frame;
        m_frame->ShowWindow(SW_SHOW);
    }
    void TearDown() override
    {
        if (m_app->m_pMainWnd && m_app->m_pMainWnd->m_hWnd)
            m_app->m_pMainWnd->DestroyWindow();
        m_app.reset();
        MenuTest::TearDown();
    }
    AskingChild* NewChild(const wchar_t* title)
    {
        auto* child = new AskingChild; // deletes itself with its window
        EXPECT_TRUE(child->Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 150), m_frame));
        return child;
    }
    static BOOL Command(UINT id) { return COXBitmapMenu::HandleMDICommandMessage(id, CN_COMMAND, nullptr, nullptr); }

    std::unique_ptr<CWinApp> m_app;
    MainFrame* m_frame = nullptr;
};

TEST_F(MdiTest, OnlyTheThreeCommandsAndTheirTwoCodesAreHandled)
{
    NewChild(L"one");
    CCmdUI ui;
    ui.m_nID = ID_OXMDI_CLOSE;
    struct Row {
        const char* what;
        UINT id;
        int code;
        void* extra;
        BOOL handled;
    };
    const Row rows[] = {
        {"update of restore", ID_OXMDI_RESTORE, CN_UPDATE_COMMAND_UI, &ui, TRUE},
        {"update of close", ID_OXMDI_CLOSE, CN_UPDATE_COMMAND_UI, &ui, TRUE},
        {"the command after close", 28140, CN_COMMAND, nullptr, FALSE},
        {"the command before restore", 28136, CN_UPDATE_COMMAND_UI, &ui, FALSE},
        {"another code", ID_OXMDI_MINIMIZE, 5, nullptr, FALSE},
    };
    for (const Row& r : rows)
        EXPECT_EQ(COXBitmapMenu::HandleMDICommandMessage(r.id, r.code, r.extra, nullptr), r.handled) << r.what;
    Pump();
}

TEST_F(MdiTest, CloseAsksTheChildInsteadOfDestroyingIt)
{
    AskingChild* child = NewChild(L"unsaved");
    Pump();
    const HWND hChild = child->GetSafeHwnd();
    EXPECT_TRUE(Command(ID_OXMDI_CLOSE));
    Pump();
    EXPECT_EQ(g_closeAsked, 1);
    EXPECT_TRUE(::IsWindow(hChild)) << "the child said no and stays";
}

TEST_F(MdiTest, RestoreVisitsEveryChildOnce)
{
    AskingChild* first = NewChild(L"first");
    AskingChild* second = NewChild(L"second");
    AskingChild* third = NewChild(L"third");
    third->MDIMaximize();
    Pump();
    BOOL maximised = FALSE;
    m_frame->MDIGetActive(&maximised);
    ASSERT_TRUE(maximised);
    EXPECT_TRUE(Command(ID_OXMDI_RESTORE));
    Pump();
    for (CWnd* child : {static_cast<CWnd*>(first), static_cast<CWnd*>(second), static_cast<CWnd*>(third)})
        EXPECT_FALSE(child->IsZoomed());
    // Minimise: the active child is restored and minimised.
    EXPECT_TRUE(Command(ID_OXMDI_MINIMIZE));
    Pump();
    CMDIChildWnd* active = m_frame->MDIGetActive();
    bool anyMinimised = first->IsIconic() || second->IsIconic() || third->IsIconic();
    EXPECT_TRUE(anyMinimised) << (active ? "" : "no active child");
}

TEST_F(MdiTest, NothingToActOnIsNotHandled)
{
    // An MDI frame without children.
    EXPECT_FALSE(Command(ID_OXMDI_RESTORE));
    EXPECT_FALSE(Command(ID_OXMDI_MINIMIZE));
    EXPECT_FALSE(Command(ID_OXMDI_CLOSE));
    // A main window that is no MDI frame.
    CMenuOwnerWnd plain;
    ASSERT_TRUE(plain.CreateOwner(RECT{0, 0, 100, 100}));
    CWnd* saved = m_app->m_pMainWnd;
    m_app->m_pMainWnd = &plain;
    EXPECT_FALSE(Command(ID_OXMDI_CLOSE));
    EXPECT_FALSE(Command(ID_OXMDI_RESTORE));
    m_app->m_pMainWnd = saved;
    plain.DestroyWindow();
}

} // namespace
} // namespace zyn::test
