// Command routing: a chain of command targets (as a view, its document, its frame and
// the application pass commands on through OnCmdMsg), ContinueRouting, _EX handlers, and
// a window that routes WM_COMMAND through such a chain with the update check first.
#include "tests/afx/afx_test_support.h"

namespace zyn::test {
namespace {

constexpr UINT ID_ONLY_VIEW = 1, ID_SHARED = 2, ID_DOC = 3, ID_EX = 4, ID_APP = 5, ID_NOBODY = 6, ID_DISABLED = 7;

// A target that asks its own map, then passes the command to the next target.
class CChainTarget : public CCmdTarget {
public:
    explicit CChainTarget(std::wstring name, CCmdTarget* next = nullptr) : m_name(std::move(name)), m_next(next) {}
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        if (nCode == CN_COMMAND && !pHandlerInfo)
            Trace::Add(m_name + L"?");
        if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
        return m_next && m_next->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }

protected:
    void Ran(const wchar_t* what) { Trace::Add(m_name + L"." + what); }
    std::wstring m_name;
    CCmdTarget* m_next;
};

class CApp : public CChainTarget {
public:
    using CChainTarget::CChainTarget;
    afx_msg void OnApp() { Ran(L"app"); }
    afx_msg void OnShared() { Ran(L"shared"); }
    afx_msg void OnUpdateShared(CCmdUI* pCmdUI) { pCmdUI->SetText(L"from app"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CApp, CChainTarget)
    ON_COMMAND(ID_APP, &CApp::OnApp)
    ON_COMMAND(ID_SHARED, &CApp::OnShared)
    ON_UPDATE_COMMAND_UI(ID_SHARED, &CApp::OnUpdateShared)
END_MESSAGE_MAP()

class CFrame : public CChainTarget {
public:
    using CChainTarget::CChainTarget;
    afx_msg void OnShared() { Ran(L"shared"); }
    afx_msg void OnEx() { Ran(L"ex"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFrame, CChainTarget)
    ON_COMMAND(ID_SHARED, &CFrame::OnShared)
    ON_COMMAND(ID_EX, &CFrame::OnEx)
END_MESSAGE_MAP()

class CDoc : public CChainTarget {
public:
    using CChainTarget::CChainTarget;
    afx_msg void OnDoc() { Ran(L"doc"); }
    afx_msg void OnUpdateShared(CCmdUI* pCmdUI)
    {
        pCmdUI->SetCheck(1);
        pCmdUI->ContinueRouting(); // the application adds its text
    }
    afx_msg BOOL OnEx(UINT nID)
    {
        Ran(L"ex");
        return nID != ID_EX; // declines: the frame runs it
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDoc, CChainTarget)
    ON_COMMAND(ID_DOC, &CDoc::OnDoc)
    ON_UPDATE_COMMAND_UI(ID_SHARED, &CDoc::OnUpdateShared)
    ON_COMMAND_EX(ID_EX, &CDoc::OnEx)
END_MESSAGE_MAP()

class CView : public CChainTarget {
public:
    using CChainTarget::CChainTarget;
    afx_msg void OnOnlyView() { Ran(L"view"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CView, CChainTarget)
    ON_COMMAND(ID_ONLY_VIEW, &CView::OnOnlyView)
END_MESSAGE_MAP()

class CRecordingUI : public CCmdUI {
public:
    int check = -1;
    std::wstring text;
    int enabled = -1;
    void SetCheck(int n) override { check = n; }
    void SetText(LPCTSTR s) override { text = s; }
    void Enable(BOOL b) override
    {
        enabled = b;
        m_bEnableChanged = TRUE;
    }
};

class RoutingTest : public AfxTest {
protected:
    CApp app{L"app"};
    CFrame frame{L"frame", &app};
    CDoc doc{L"doc", &frame};
    CView view{L"view", &doc};
};

TEST_F(RoutingTest, CommandsGoViewDocumentFrameApplicationAndStopAtTheFirstHandler)
{
    EXPECT_TRUE(view.OnCmdMsg(ID_ONLY_VIEW, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(Trace::Log(), (std::vector<std::wstring>{L"view?", L"view.view"}));
    Trace::Clear();
    EXPECT_TRUE(view.OnCmdMsg(ID_SHARED, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(Trace::Log(), (std::vector<std::wstring>{L"view?", L"doc?", L"frame?", L"frame.shared"}))
        << "the frame's handler hides the application's";
    Trace::Clear();
    EXPECT_TRUE(view.OnCmdMsg(ID_APP, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(Trace::Log().back(), L"app.app");
    Trace::Clear();
    EXPECT_FALSE(view.OnCmdMsg(ID_NOBODY, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(Trace::Log().size(), 4u);
}

TEST_F(RoutingTest, AnExHandlerThatDeclinesPassesTheCommandOn)
{
    EXPECT_TRUE(view.OnCmdMsg(ID_EX, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(Trace::Log(), (std::vector<std::wstring>{L"view?", L"doc?", L"doc.ex", L"frame?", L"frame.ex"}));
}

TEST_F(RoutingTest, ContinueRoutingLetsLaterTargetsUpdateToo)
{
    CRecordingUI ui;
    ui.m_nID = ID_SHARED;
    EXPECT_TRUE(ui.DoUpdate(&view, TRUE));
    EXPECT_EQ(ui.check, 1) << "the document's update";
    EXPECT_EQ(ui.text, L"from app") << "the application's update after ContinueRouting";
    EXPECT_EQ(ui.enabled, TRUE) << "nobody enabled it, but the frame handles the command";
    ui = CRecordingUI{};
    ui.m_nID = ID_NOBODY;
    EXPECT_FALSE(ui.DoUpdate(&view, TRUE));
    EXPECT_EQ(ui.enabled, FALSE);
    // A handler query walks the chain too and names the target.
    AFX_CMDHANDLERINFO info{nullptr, nullptr};
    EXPECT_TRUE(view.OnCmdMsg(ID_APP, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(info.pTarget, &app);
}

// A window that routes its commands to a chain before its own map, as a frame does.
class CRoutingWnd : public CWnd {
public:
    CCmdTarget* first = nullptr;
    int ownCalls = 0;
    BOOL disable = TRUE;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        if (first && first->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
        return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
    afx_msg void OnDisabled() { ++ownCalls; }
    afx_msg void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(!disable); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRoutingWnd, CWnd)
    ON_COMMAND(ID_DISABLED, &CRoutingWnd::OnDisabled)
    ON_UPDATE_COMMAND_UI(ID_DISABLED, &CRoutingWnd::OnUpdateDisabled)
END_MESSAGE_MAP()

TEST_F(RoutingTest, MenuCommandsRouteThroughTheWindowAfterTheirUpdateCheck)
{
    CRoutingWnd wnd;
    wnd.first = &view;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), L"", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr));
    EXPECT_EQ(wnd.SendMessage(WM_COMMAND, MAKEWPARAM(ID_DOC, 0)), 1);
    EXPECT_EQ(Trace::Log().back(), L"doc.doc");
    // A command whose update handler disables it does not run, and counts as handled.
    EXPECT_EQ(wnd.SendMessage(WM_COMMAND, MAKEWPARAM(ID_DISABLED, 0)), 1);
    EXPECT_EQ(wnd.ownCalls, 0);
    wnd.disable = FALSE;
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(ID_DISABLED, 1)); // from an accelerator
    EXPECT_EQ(wnd.ownCalls, 1);
    // Command 0 is no command.
    EXPECT_EQ(wnd.SendMessage(WM_COMMAND, 0), 0);
    wnd.DestroyWindow();
}

} // namespace
} // namespace zyn::test
