// Documents, templates, frames and views through the class library: opening a document
// with its frame and view, command routing, the idle update of the frame's menu, titles,
// updates between views, closing with unsaved changes, saving and loading.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/afx/afxres.h"
#include "platform/afx/cmdui.h"
#include "platform/afx/doc.h"
#include "platform/afx/doc_context.h"
#include "platform/afx/doctempl.h"
#include "platform/afx/frame.h"
#include "platform/afx/mdi.h"
#include "platform/afx/menu.h"
#include "platform/afx/view.h"
#include "platform/afx/winapp.h"
#include "platform/base/archive.h"
#include "platform/base/exception.h"
#include "platform/user/mdiclient.h"
#include "platform/user/menu.h"
#include "tests/frames/frames_test_support.h"

namespace zyn::test {
namespace {

constexpr UINT ID_ROUTE = 0x8001;       // every target records it and passes it on
constexpr UINT ID_DOC_ONLY = 0x8002;    // handled by the document
constexpr UINT ID_APP_CMD = 0x8003;     // handled by the application
constexpr UINT ID_NOBODY = 0x8004;      // handled by nobody
constexpr UINT ID_CHECKED = 0x8005;     // the view checks it in its update handler
constexpr UINT ID_FRAME_CMD = 0x8006;   // handled by the main frame
constexpr UINT IDR_TEST = 0x7000;

int g_docsAlive = 0;
int g_initialUpdates = 0;
// What a child frame heard while it opened: raised while still hidden, then shown.
std::vector<std::wstring> g_openSteps;

class TestDoc : public CDocument {
    DECLARE_DYNCREATE(TestDoc)
public:
    TestDoc() { ++g_docsAlive; }
    ~TestDoc() override { --g_docsAlive; }
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << m_value;
        else
            ar >> m_value;
    }
    void DeleteContents() override { m_value = 0; }
    int32_t m_value = 0;

    BOOL OnRoute(UINT)
    {
        FrameTrace::Add(L"doc");
        return FALSE;
    }
    void OnDocOnly() { FrameTrace::Add(L"doc handled"); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(TestDoc, CDocument)
BEGIN_MESSAGE_MAP(TestDoc, CDocument)
    ON_COMMAND_EX(ID_ROUTE, &TestDoc::OnRoute)
    ON_COMMAND(ID_DOC_ONLY, &TestDoc::OnDocOnly)
END_MESSAGE_MAP()

class TestView : public CView {
    DECLARE_DYNCREATE(TestView)
public:
    void OnDraw(CDC*) override {}
    void OnInitialUpdate() override
    {
        ++g_initialUpdates;
        CView::OnInitialUpdate();
    }
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override
    {
        m_lastSender = pSender;
        m_lastHint = lHint;
        m_lastHintObject = pHint;
        ++m_updates;
    }
    BOOL OnRoute(UINT)
    {
        FrameTrace::Add(L"view");
        return FALSE;
    }
    void OnUpdateChecked(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    CView* m_lastSender = nullptr;
    LPARAM m_lastHint = 0;
    CObject* m_lastHintObject = nullptr;
    int m_updates = 0;
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(TestView, CView)
BEGIN_MESSAGE_MAP(TestView, CView)
    ON_COMMAND_EX(ID_ROUTE, &TestView::OnRoute)
    ON_UPDATE_COMMAND_UI(ID_CHECKED, &TestView::OnUpdateChecked)
END_MESSAGE_MAP()

class TestChildFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(TestChildFrame)
public:
    BOOL OnRoute(UINT)
    {
        FrameTrace::Add(L"child frame");
        return FALSE;
    }
    void OnWindowPosChanging(WINDOWPOS* pos)
    {
        if (!(pos->flags & SWP_NOZORDER) && !IsWindowVisible())
            g_openSteps.push_back(L"raised while hidden");
        CMDIChildWnd::OnWindowPosChanging(pos);
    }
    void OnShowWindow(BOOL bShow, UINT nStatus)
    {
        if (bShow)
            g_openSteps.push_back(L"shown");
        CMDIChildWnd::OnShowWindow(bShow, nStatus);
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(TestChildFrame, CMDIChildWnd)
BEGIN_MESSAGE_MAP(TestChildFrame, CMDIChildWnd)
    ON_COMMAND_EX(ID_ROUTE, &TestChildFrame::OnRoute)
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

HMENU MakeBar(const wchar_t* firstPopup)
{
    const HMENU bar = CreateMenu();
    const HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, ID_ROUTE, L"&Route");
    AppendMenuW(file, MF_STRING, ID_APP_CMD, L"&App");
    AppendMenuW(file, MF_STRING, ID_NOBODY, L"&Nobody");
    AppendMenuW(file, MF_STRING, ID_CHECKED, L"&Checked");
    AppendMenuW(file, MF_STRING, ID_FRAME_CMD, L"&Frame");
    const HMENU window = CreatePopupMenu();
    AppendMenuW(window, MF_STRING, ID_WINDOW_CASCADE, L"&Cascade");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), firstPopup);
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(window), L"&Window");
    return bar;
}

class TestMainFrame : public CMDIFrameWnd {
    DECLARE_DYNCREATE(TestMainFrame)
public:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override
    {
        cs.hMenu = MakeBar(L"&File");
        m_hMenuDefault = cs.hMenu;
        return CMDIFrameWnd::PreCreateWindow(cs);
    }
    BOOL OnRoute(UINT)
    {
        FrameTrace::Add(L"main frame");
        return FALSE;
    }
    void OnFrameCmd() { FrameTrace::Add(L"frame handled"); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(TestMainFrame, CMDIFrameWnd)
BEGIN_MESSAGE_MAP(TestMainFrame, CMDIFrameWnd)
    ON_COMMAND_EX(ID_ROUTE, &TestMainFrame::OnRoute)
    ON_COMMAND(ID_FRAME_CMD, &TestMainFrame::OnFrameCmd)
END_MESSAGE_MAP()

class TestApp : public CWinApp {
public:
    TestApp() : CWinApp(L"Test") {}
    BOOL OnRoute(UINT)
    {
        FrameTrace::Add(L"app");
        return FALSE;
    }
    void OnAppCmd() { FrameTrace::Add(L"app handled"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(TestApp, CWinApp)
    ON_COMMAND_EX(ID_ROUTE, &TestApp::OnRoute)
    ON_COMMAND(ID_APP_CMD, &TestApp::OnAppCmd)
END_MESSAGE_MAP()

// A template with its document strings and a document menu made in code.
class TestMultiTemplate : public CMultiDocTemplate {
public:
    TestMultiTemplate()
        : CMultiDocTemplate(IDR_TEST, RUNTIME_CLASS(TestDoc), RUNTIME_CLASS(TestChildFrame), RUNTIME_CLASS(TestView))
    {
        m_strDocStrings = L"\nPlan\nPlan\nPlans (*.pln)\n.pln\nTest.Plan\nTest Plan";
        m_hMenuShared = MakeBar(L"&Plan");
    }
};

class DocFrameTest : public FramesTest {
protected:
    void SetUp() override
    {
        FramesTest::SetUp();
        g_docsAlive = 0;
        g_initialUpdates = 0;
        m_app = std::make_unique<TestApp>();
        m_template = new TestMultiTemplate;   // the application's document manager deletes it
        m_app->AddDocTemplate(m_template);
        m_frame = new TestMainFrame;           // deletes itself with its window
        ASSERT_TRUE(m_frame->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, CRect(0, 0, 800, 600)));
        ASSERT_TRUE(m_frame->IsKindOf(RUNTIME_CLASS(TestMainFrame)));
        m_app->m_pMainWnd = m_frame;
        m_frame->ShowWindow(SW_SHOW);
    }
    void TearDown() override
    {
        if (m_app->m_pMainWnd && m_app->m_pMainWnd->m_hWnd) {
            m_app->CloseAllDocuments(TRUE);
            m_app->m_pMainWnd->DestroyWindow();
        }
        m_app.reset();
        EXPECT_EQ(g_docsAlive, 0) << "documents leaked";
        FramesTest::TearDown();
    }
    TestDoc* NewDoc() { return static_cast<TestDoc*>(m_template->OpenDocumentFile(nullptr)); }
    static TestView* FirstView(CDocument* pDoc)
    {
        POSITION pos = pDoc->GetFirstViewPosition();
        return static_cast<TestView*>(pDoc->GetNextView(pos));
    }
    static std::wstring Text(CWnd* pWnd)
    {
        CString s;
        pWnd->GetWindowText(s);
        return s.GetString();
    }

    std::unique_ptr<TestApp> m_app;
    TestMultiTemplate* m_template = nullptr;
    TestMainFrame* m_frame = nullptr;
};

TEST_F(DocFrameTest, TemplateOpensDocumentFrameAndView)
{
    TestDoc* pDoc = NewDoc();
    ASSERT_NE(pDoc, nullptr);
    EXPECT_EQ(g_docsAlive, 1);
    EXPECT_EQ(m_app->GetOpenDocumentCount(), 1);
    EXPECT_EQ(pDoc->GetDocTemplate(), m_template);
    EXPECT_STREQ(pDoc->GetTitle(), L"Plan1");
    TestView* pView = FirstView(pDoc);
    ASSERT_NE(pView, nullptr);
    EXPECT_EQ(pView->GetDocument(), pDoc);
    EXPECT_EQ(pView->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
    EXPECT_EQ(g_initialUpdates, 1);
    // The view sits in an MDI child frame inside the client.
    CFrameWnd* pChild = pView->GetParentFrame();
    ASSERT_NE(pChild, nullptr);
    EXPECT_TRUE(pChild->IsKindOf(RUNTIME_CLASS(TestChildFrame)));
    EXPECT_EQ(::GetParent(pChild->m_hWnd), m_frame->m_hWndMDIClient);
    EXPECT_EQ(m_frame->MDIGetActive(), pChild);
    EXPECT_EQ(pChild->GetActiveView(), pView);
    EXPECT_EQ(m_frame->GetActiveFrame(), pChild);
    EXPECT_EQ(pChild->GetActiveDocument(), pDoc);
    EXPECT_TRUE(pChild->IsWindowVisible());
    // Titles: the child shows the document, the frame "Main - Plan1".
    EXPECT_EQ(Text(pChild), L"Plan1");
    EXPECT_EQ(Text(m_frame), L"Main - Plan1");
    // While the child is active the frame shows the template's menu.
    EXPECT_EQ(::GetMenu(m_frame->m_hWnd), m_template->m_hMenuShared);

    // A second document gets the next number and becomes active. Its frame is raised
    // before it shows, so it appears (and is painted) on top of the first one.
    g_openSteps.clear();
    TestDoc* pDoc2 = NewDoc();
    EXPECT_EQ(g_openSteps, (std::vector<std::wstring>{L"raised while hidden", L"shown"}));
    ASSERT_NE(pDoc2, nullptr);
    EXPECT_STREQ(pDoc2->GetTitle(), L"Plan2");
    EXPECT_EQ(m_frame->MDIGetActive(), FirstView(pDoc2)->GetParentFrame());
    EXPECT_EQ(Text(m_frame), L"Main - Plan2");
    POSITION pos = m_template->GetFirstDocPosition();
    EXPECT_EQ(m_template->GetNextDoc(pos), pDoc);
    EXPECT_EQ(m_template->GetNextDoc(pos), pDoc2);
    EXPECT_EQ(pos, nullptr);

    // Closing every document destroys the children and gives the frame its menu back.
    m_app->CloseAllDocuments(FALSE);
    EXPECT_EQ(g_docsAlive, 0);
    EXPECT_EQ(m_app->GetOpenDocumentCount(), 0);
    EXPECT_EQ(m_frame->MDIGetActive(), nullptr);
    EXPECT_EQ(::GetMenu(m_frame->m_hWnd), m_frame->GetDefaultMenu());
    EXPECT_EQ(Text(m_frame), L"Main");
}

TEST_F(DocFrameTest, FileNewThroughTheApplication)
{
    m_app->OnFileNew();
    EXPECT_EQ(m_app->GetOpenDocumentCount(), 1);
    EXPECT_EQ(g_docsAlive, 1);
    // Adding the same template again changes nothing; an object that is no template is refused.
    m_app->AddDocTemplate(m_template);
    POSITION pos = m_app->GetFirstDocTemplatePosition();
    EXPECT_EQ(m_app->GetNextDocTemplate(pos), m_template);
    EXPECT_EQ(pos, nullptr);
    CCmdTarget notATemplate;
    bool refused = false;
    try {
        m_app->AddDocTemplate(reinterpret_cast<CDocTemplate*>(&notATemplate));
    } catch (CNotSupportedException* e) {
        refused = true;
        e->Delete();
    }
    EXPECT_TRUE(refused);
}

TEST_F(DocFrameTest, CommandsRouteViewDocumentFrameApplication)
{
    TestDoc* pDoc = NewDoc();
    ASSERT_NE(pDoc, nullptr);
    m_frame->SendMessage(WM_COMMAND, ID_ROUTE, 0);
    EXPECT_EQ(FrameTrace::Log(),
        (std::vector<std::wstring>{L"view", L"doc", L"child frame", L"main frame", L"app"}));

    // The first handler that takes the command ends the routing.
    FrameTrace::Clear();
    m_frame->SendMessage(WM_COMMAND, ID_DOC_ONLY, 0);
    m_frame->SendMessage(WM_COMMAND, ID_FRAME_CMD, 0);
    m_frame->SendMessage(WM_COMMAND, ID_APP_CMD, 0);
    EXPECT_EQ(FrameTrace::Log(), (std::vector<std::wstring>{L"doc handled", L"frame handled", L"app handled"}));

    // Without a document the frame and the application still get it.
    m_app->CloseAllDocuments(FALSE);
    FrameTrace::Clear();
    m_frame->SendMessage(WM_COMMAND, ID_ROUTE, 0);
    EXPECT_EQ(FrameTrace::Log(), (std::vector<std::wstring>{L"main frame", L"app"}));
}

TEST_F(DocFrameTest, IdlePassUpdatesTheFrameMenu)
{
    TestDoc* pDoc = NewDoc();
    ASSERT_NE(pDoc, nullptr);
    const HMENU bar = ::GetMenu(m_frame->m_hWnd);
    const HMENU file = ::GetSubMenu(bar, 0);
    m_app->OnIdle(0);
    EXPECT_FALSE(::GetMenuState(file, ID_APP_CMD, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(::GetMenuState(file, ID_ROUTE, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(::GetMenuState(file, ID_FRAME_CMD, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(::GetMenuState(file, ID_NOBODY, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(::GetMenuState(file, ID_CHECKED, MF_BYCOMMAND) & MF_CHECKED);
    // The window commands are enabled while a child exists.
    EXPECT_FALSE(::GetMenuState(::GetSubMenu(bar, 1), ID_WINDOW_CASCADE, MF_BYCOMMAND) & MF_GRAYED);

    // Without automatic disabling, items without handlers stay as they are.
    ::EnableMenuItem(file, ID_NOBODY, MF_BYCOMMAND | MF_ENABLED);
    m_frame->m_bAutoMenuEnable = FALSE;
    m_app->OnIdle(0);
    EXPECT_FALSE(::GetMenuState(file, ID_NOBODY, MF_BYCOMMAND) & MF_GRAYED);

    // The frame's own menu after the last document closed: no active view to check items.
    m_frame->m_bAutoMenuEnable = TRUE;
    m_app->CloseAllDocuments(FALSE);
    const HMENU file2 = ::GetSubMenu(::GetMenu(m_frame->m_hWnd), 0);
    m_app->OnIdle(0);
    EXPECT_FALSE(::GetMenuState(file2, ID_CHECKED, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(::GetMenuState(file2, ID_CHECKED, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(::GetMenuState(::GetSubMenu(::GetMenu(m_frame->m_hWnd), 1), ID_WINDOW_CASCADE, MF_BYCOMMAND) &
                MF_GRAYED);
}

TEST_F(DocFrameTest, MaximisedDocumentFrameShowsItsButtonsInTheMenuBar)
{
    TestDoc* pDoc = NewDoc();
    ASSERT_NE(pDoc, nullptr);
    auto* pChild = static_cast<CMDIChildWnd*>(FirstView(pDoc)->GetParentFrame());
    const HMENU bar = m_template->m_hMenuShared;
    const int items = ::GetMenuItemCount(bar);
    pChild->MDIMaximize();
    BOOL bMax = FALSE;
    EXPECT_EQ(m_frame->MDIGetActive(&bMax), pChild);
    EXPECT_TRUE(bMax);
    EXPECT_EQ(::GetMenuItemCount(bar), items + 4);
    // The idle pass leaves the child's system menu and buttons alone.
    m_app->OnIdle(0);
    EXPECT_EQ(::GetMenuItemCount(bar), items + 4);
    // The close button closes the document's frame (and the document with it).
    m_frame->SendMessage(WM_COMMAND, SC_CLOSE, 0);
    EXPECT_EQ(g_docsAlive, 0);
    EXPECT_EQ(m_frame->MDIGetActive(), nullptr);
    EXPECT_EQ(::GetMenuItemCount(bar), items);
    EXPECT_EQ(::GetMenu(m_frame->m_hWnd), m_frame->GetDefaultMenu());
}

TEST_F(DocFrameTest, ClickInAViewActivatesItsFrame)
{
    TestDoc* pDoc1 = NewDoc();
    TestDoc* pDoc2 = NewDoc();
    ASSERT_TRUE(pDoc1 && pDoc2);
    TestView* pView1 = FirstView(pDoc1);
    EXPECT_NE(m_frame->MDIGetActive(), pView1->GetParentFrame());
    pView1->SendMessage(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(m_frame->m_hWnd), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_EQ(m_frame->MDIGetActive(), pView1->GetParentFrame());
    EXPECT_EQ(m_frame->GetActiveFrame()->GetActiveView(), pView1);
    EXPECT_EQ(Text(m_frame), L"Main - Plan1");
}

TEST_F(DocFrameTest, NewWindowAndUpdateAllViews)
{
    TestDoc* pDoc = NewDoc();
    ASSERT_NE(pDoc, nullptr);
    TestView* pView1 = FirstView(pDoc);
    m_frame->SendMessage(WM_COMMAND, ID_WINDOW_NEW, 0);
    POSITION pos = pDoc->GetFirstViewPosition();
    pDoc->GetNextView(pos);
    auto* pView2 = static_cast<TestView*>(pDoc->GetNextView(pos));
    ASSERT_NE(pView2, nullptr);
    EXPECT_NE(pView1->GetParentFrame(), pView2->GetParentFrame());
    // Two frames on one document are numbered.
    EXPECT_EQ(Text(pView1->GetParentFrame()), L"Plan1:1");
    EXPECT_EQ(Text(pView2->GetParentFrame()), L"Plan1:2");
    EXPECT_EQ(Text(m_frame), L"Main - Plan1:2");

    CCmdTarget hint;   // any object serves as the hint
    const int before1 = pView1->m_updates;
    pDoc->UpdateAllViews(pView1, 7, &hint);
    EXPECT_EQ(pView1->m_updates, before1) << "the sender is not told";
    EXPECT_EQ(pView2->m_lastSender, pView1);
    EXPECT_EQ(pView2->m_lastHint, 7);
    EXPECT_EQ(pView2->m_lastHintObject, &hint);

    // Closing one frame keeps the document; its title loses the number.
    pView2->GetParentFrame()->SendMessage(WM_CLOSE);
    EXPECT_EQ(g_docsAlive, 1);
    EXPECT_EQ(Text(pView1->GetParentFrame()), L"Plan1");
}

TEST_F(DocFrameTest, CloseAsksAModifiedDocument)
{
    TestDoc* pDoc = NewDoc();
    ASSERT_NE(pDoc, nullptr);
    CFrameWnd* pChild = FirstView(pDoc)->GetParentFrame();
    pDoc->SetModifiedFlag();
    EXPECT_TRUE(pDoc->IsModified());

    // Cancel keeps the frame and the document.
    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDCANCEL);
    pChild->SendMessage(WM_CLOSE);
    EXPECT_EQ(g_docsAlive, 1);
    EXPECT_TRUE(::IsWindow(pChild->m_hWnd));
    auto shown = user::AnswerScript::Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].text.find(L"Save changes to Plan1?"), std::wstring::npos) << std::string(shown[0].text.begin(), shown[0].text.end());
    EXPECT_EQ(shown[0].type & MB_TYPEMASK, MB_YESNOCANCEL);

    // No closes it without saving.
    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDNO);
    pChild->SendMessage(WM_CLOSE);
    EXPECT_EQ(g_docsAlive, 0);
    EXPECT_EQ(m_frame->MDIGetActive(), nullptr);

    // An unmodified document closes without a question.
    TestDoc* pDoc2 = NewDoc();
    ASSERT_NE(pDoc2, nullptr);
    FirstView(pDoc2)->GetParentFrame()->SendMessage(WM_CLOSE);
    EXPECT_EQ(g_docsAlive, 0);
    EXPECT_EQ(user::AnswerScript::Shown().size(), 2u);
}

TEST_F(DocFrameTest, MainFrameCloseAsksEveryDocument)
{
    TestDoc* pDoc = NewDoc();
    ASSERT_NE(pDoc, nullptr);
    pDoc->SetModifiedFlag();
    // Yes with no file name asks for one; a cancelled file dialog keeps everything.
    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDYES);
    m_frame->SendMessage(WM_CLOSE);
    EXPECT_EQ(g_docsAlive, 1);
    EXPECT_TRUE(::IsWindow(m_frame->m_hWnd));
    EXPECT_TRUE(pDoc->IsModified());

    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDNO);
    m_frame->SendMessage(WM_CLOSE);
    EXPECT_EQ(g_docsAlive, 0);
    EXPECT_EQ(m_app->m_pMainWnd, nullptr);
}

TEST_F(DocFrameTest, SaveAndOpenThroughTheArchive)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "zyn_frames_test";
    std::filesystem::create_directories(dir);
    const std::wstring path = (dir / "plan.pln").wstring();
    TestDoc* pDoc = NewDoc();
    ASSERT_NE(pDoc, nullptr);
    pDoc->m_value = 0x12345678;
    pDoc->SetModifiedFlag();
    ASSERT_TRUE(pDoc->DoSave(path.c_str()));
    EXPECT_FALSE(pDoc->IsModified());
    EXPECT_STREQ(pDoc->GetTitle(), L"plan.pln");
    EXPECT_EQ(pDoc->GetPathName().GetString(), path);

    // Opening the same path again brings the open document forward.
    EXPECT_EQ(m_app->OpenDocumentFile(path.c_str()), pDoc);
    m_app->CloseAllDocuments(FALSE);

    auto* pOpened = static_cast<TestDoc*>(m_app->OpenDocumentFile(path.c_str()));
    ASSERT_NE(pOpened, nullptr);
    EXPECT_EQ(pOpened->m_value, 0x12345678);
    EXPECT_FALSE(pOpened->IsModified());

    // A file that cannot be read: an error box, no document, no frame.
    const size_t boxes = user::AnswerScript::Shown().size();
    EXPECT_EQ(m_app->OpenDocumentFile((dir / "missing.pln").wstring().c_str()), nullptr);
    EXPECT_EQ(user::AnswerScript::Shown().size(), boxes + 1);
    EXPECT_EQ(m_app->GetOpenDocumentCount(), 1);
    // A truncated file fails in Serialize: the document is not kept.
    {
        FILE* f = std::fopen((dir / "short.pln").string().c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputc(1, f);
        std::fclose(f);
    }
    EXPECT_EQ(m_app->OpenDocumentFile((dir / "short.pln").wstring().c_str()), nullptr);
    EXPECT_EQ(m_app->GetOpenDocumentCount(), 1);
    std::filesystem::remove_all(dir);
}

// ---- a single-document application ---------------------------------------------------------------

class SdiTest : public FramesTest {
protected:
    void SetUp() override
    {
        FramesTest::SetUp();
        g_docsAlive = 0;
        m_app = std::make_unique<TestApp>();
        m_template = new CSingleDocTemplate(IDR_TEST, RUNTIME_CLASS(TestDoc), RUNTIME_CLASS(CFrameWnd),
            RUNTIME_CLASS(TestView));
        m_app->AddDocTemplate(m_template);
    }
    void TearDown() override
    {
        if (m_app->m_pMainWnd && m_app->m_pMainWnd->m_hWnd)
            m_app->m_pMainWnd->DestroyWindow();
        m_app.reset();
        EXPECT_EQ(g_docsAlive, 0) << "documents leaked";
        FramesTest::TearDown();
    }
    std::unique_ptr<TestApp> m_app;
    CSingleDocTemplate* m_template = nullptr;
};

TEST_F(SdiTest, OneDocumentReusedWithItsFrame)
{
    CDocument* pDoc = m_template->OpenDocumentFile(nullptr);
    ASSERT_NE(pDoc, nullptr);
    CWnd* pMain = m_app->m_pMainWnd;
    ASSERT_NE(pMain, nullptr);
    EXPECT_TRUE(pMain->IsKindOf(RUNTIME_CLASS(CFrameWnd)));
    EXPECT_TRUE(pMain->IsWindowVisible());
    EXPECT_STREQ(pDoc->GetTitle(), L"Untitled");
    CString title;
    pMain->GetWindowText(title);
    EXPECT_STREQ(title, L"Untitled");
    EXPECT_EQ(static_cast<CFrameWnd*>(pMain)->GetActiveDocument(), pDoc);

    // A second "new" reuses the document and the frame.
    EXPECT_EQ(m_template->OpenDocumentFile(nullptr), pDoc);
    EXPECT_EQ(m_app->m_pMainWnd, pMain);
    EXPECT_EQ(g_docsAlive, 1);

    // A modified document is asked about first; Cancel keeps it as it is.
    pDoc->SetModifiedFlag();
    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDCANCEL);
    EXPECT_EQ(m_template->OpenDocumentFile(nullptr), nullptr);
    EXPECT_TRUE(pDoc->IsModified());

    // Closing the main frame: No discards and everything goes.
    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDNO);
    pMain->SendMessage(WM_CLOSE);
    EXPECT_EQ(g_docsAlive, 0);
    EXPECT_EQ(m_app->m_pMainWnd, nullptr);
    // The main window gone, the application's loop is told to end.
    MSG msg;
    EXPECT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(SdiTest, FrameTitleFormsAndMessageLine)
{
    CDocument* pDoc = m_template->OpenDocumentFile(nullptr);
    ASSERT_NE(pDoc, nullptr);
    auto* pFrame = static_cast<CFrameWnd*>(m_app->m_pMainWnd);
    pFrame->m_strTitle = L"App";
    pFrame->OnUpdateFrameTitle(TRUE);
    CString title;
    pFrame->GetWindowText(title);
    EXPECT_STREQ(title, L"App - Untitled");
    pFrame->ModifyStyle(0, FWS_PREFIXTITLE);
    pDoc->SetTitle(L"Report");
    pFrame->GetWindowText(title);
    EXPECT_STREQ(title, L"Report - App");
    pFrame->ModifyStyle(FWS_ADDTOTITLE, 0);
    pFrame->SetWindowText(L"fixed");
    pFrame->OnUpdateFrameTitle(TRUE);
    pFrame->GetWindowText(title);
    EXPECT_STREQ(title, L"fixed") << "without FWS_ADDTOTITLE the title is the frame's own";

    pFrame->SetMessageText(L"Ready");
    EXPECT_STREQ(pFrame->GetMessageLine(), L"Ready");
    EXPECT_EQ(pFrame->SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(L"Busy")), 0);
    EXPECT_STREQ(pFrame->GetMessageLine(), L"Busy");
}

} // namespace
} // namespace zyn::test
