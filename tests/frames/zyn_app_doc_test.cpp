// The configuration document and child frame: a document exists only while an operator
// with a database is logged in (opened with or without a file, directly or through the
// application's view registry); closing asks the configuration views, all of them when
// the document closes and the active one when one frame closes, nobody during an
// automatic logout; File Open and File Save stop at the document.
#include <memory>
#include <string>
#include <vector>

#include "app/zyn_app.h"
#include "frames/config_view_seam.h"
#include "frames/zyn_app_doc.h"
#include "frames/zyn_child_frame.h"
#include "platform/afx/afxres.h"
#include "platform/afx/doc_context.h"
#include "platform/afx/doctempl.h"
#include "platform/afx/mdi.h"
#include "platform/afx/view.h"
#include "platform/base/lasterror.h"
#include "platform/suite/database/zyn_database.h"
#include "platform/suite/user/acs_user.h"
#include "tests/frames/frames_test_support.h"
#include "tests/support/odbc_fixture.h"

namespace zyn::test {
namespace {

// A configuration view as the document sees it: it answers the close question as told
// and counts the times it was asked.
class CfgTestView : public CView {
    DECLARE_DYNCREATE(CfgTestView)
public:
    void OnDraw(CDC*) override {}
    ZynConfigViewAnswer answer = ZynConfigViewAnswer::MayClose;
    int asked = 0;
};
IMPLEMENT_DYNCREATE(CfgTestView, CView)

// Any other view of the document.
class OtherTestView : public CView {
    DECLARE_DYNCREATE(OtherTestView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(OtherTestView, CView)

ZynConfigViewAnswer AskTestView(CView* view)
{
    auto* cfg = DYNAMIC_DOWNCAST(CfgTestView, view);
    if (!cfg)
        return ZynConfigViewAnswer::NotConfigView;
    ++cfg->asked;
    return cfg->answer;
}

// The host application: its File Open is the class library's (a file dialog).
class HostApp : public CZynApp {
public:
    HostApp() : CZynApp(L"Host") {}
    void OnOpen() { FrameTrace::Add(L"app open"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(HostApp, CZynApp)
    ON_COMMAND(ID_FILE_OPEN, &HostApp::OnOpen)
END_MESSAGE_MAP()

class ZynAppDocTest : public FramesTest {
protected:
    void SetUp() override
    {
        FramesTest::SetUp();
        m_previousQuery = ZynSetConfigViewCloseQuery(&AskTestView);
        m_app = std::make_unique<HostApp>();
        m_template = new CMultiDocTemplate(0, RUNTIME_CLASS(CZynAppDoc), RUNTIME_CLASS(CZynChildFrame),
            RUNTIME_CLASS(CfgTestView));
        m_app->AddDocTemplate(m_template); // the application deletes it
        m_main = new CMDIFrameWnd;         // deletes itself with its window
        ASSERT_TRUE(m_main->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 640, 480)));
        m_app->m_pMainWnd = m_main;
    }
    void TearDown() override
    {
        if (m_main && ::IsWindow(m_main->m_hWnd)) {
            m_app->SetDoingAutoLogout(true); // closes without questions
            m_app->CloseAllDocuments(TRUE);
            m_main->DestroyWindow();
        }
        m_app->LogoutOperator();
        m_app.reset();
        m_database.reset();
        ZynSetConfigViewCloseQuery(m_previousQuery);
        FramesTest::TearDown();
    }

    // A fresh SQLite database of the tests, open.
    bool OpenDatabase()
    {
        if (!OdbcSetup::Instance().HaveSqlite())
            return false;
        try {
            OdbcSetup::Instance().ResetDatabase(DbEngineKind::sqlite);
            m_database = std::make_unique<CZynDatabase>();
            m_database->OpenEx(OdbcSetup::Instance().ConnectString(DbEngineKind::sqlite).c_str(), CDatabase::noOdbcDialog);
        } catch (CException* e) {
            ADD_FAILURE() << "cannot open the test database: " << DescribeDbException(e);
            e->Delete();
            return false;
        }
        return true;
    }
    // Logs an operator in, with the open database or without one.
    void LogIn(bool withDatabase)
    {
        auto user = std::make_unique<CAcsUser>(42, L"operator");
        if (withDatabase)
            user->SetDatabase(m_database.get());
        m_app->LoginOperator(std::move(user));
    }
    int OpenDocuments() const { return static_cast<int>(m_app->GetOpenDocumentCount()); }
    int ChildFrames() const
    {
        int n = 0;
        for (HWND h = ::GetWindow(m_main->m_hWndMDIClient, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
            ++n;
        return n;
    }
    // One more frame on the document, showing a view of the class.
    CFrameWnd* AddFrame(CDocument* doc, CRuntimeClass* viewClass)
    {
        CCreateContext ctx;
        ctx.m_pCurrentDoc = doc;
        ctx.m_pNewViewClass = viewClass;
        auto* frame = new CZynChildFrame; // deletes itself with its window
        if (!frame->Create(nullptr, L"Extra", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, m_main,
                &ctx))
            return nullptr;
        frame->InitialUpdateFrame(doc, TRUE);
        return frame;
    }
    static std::vector<CView*> Views(CDocument* doc)
    {
        std::vector<CView*> views;
        for (POSITION pos = doc->GetFirstViewPosition(); pos;)
            views.push_back(doc->GetNextView(pos));
        return views;
    }

    std::unique_ptr<HostApp> m_app;
    std::unique_ptr<CZynDatabase> m_database;
    CMultiDocTemplate* m_template = nullptr;
    CMDIFrameWnd* m_main = nullptr;
    ZynConfigViewCloseQuery m_previousQuery = nullptr;
};

TEST_F(ZynAppDocTest, ADocumentNeedsAnOperatorWithADatabase)
{
    if (!OpenDatabase())
        GTEST_SKIP() << "no SQLite ODBC driver";
    struct Row {
        const char* who;
        bool logIn;
        bool withDatabase;
        bool opens;
    };
    const Row rows[] = {
        {"nobody logged in", false, false, false},
        {"an operator without a database", true, false, false},
        {"an operator with the database", true, true, true},
    };
    ASSERT_TRUE(m_app->AddView(56001, 0, RUNTIME_CLASS(CfgTestView), m_template, {1}, {7}));
    for (const Row& row : rows) {
        if (row.logIn)
            LogIn(row.withDatabase);
        else
            m_app->LogoutOperator();
        // A view opened without a file (the template's new document), a file opened by
        // name (never read), and a view opened through the registry.
        for (const wchar_t* path : {static_cast<const wchar_t*>(nullptr), L"/no/such/folder/plan.cfg"}) {
            const std::string what = std::string(row.who) + (path ? ", opening a file" : ", a new document");
            ::SetLastError(0);
            CDocument* doc = m_template->OpenDocumentFile(path);
            EXPECT_EQ(doc != nullptr, row.opens) << what;
            if (!row.opens) {
                EXPECT_EQ(::GetLastError(), CZynAppDoc::kErrorNotLoggedOn) << what;
            }
            EXPECT_EQ(OpenDocuments(), row.opens ? 1 : 0) << what;
            EXPECT_EQ(ChildFrames(), row.opens ? 1 : 0) << what << ": a refused document leaves no frame";
            if (doc)
                doc->OnCloseDocument();
        }
        CFrameWnd* frame = m_app->OpenView(7);
        EXPECT_EQ(frame != nullptr, row.opens) << row.who << ", through the view registry";
        EXPECT_TRUE(!frame || frame->IsKindOf(RUNTIME_CLASS(CZynChildFrame))) << row.who;
        EXPECT_EQ(ChildFrames(), row.opens ? 1 : 0) << row.who;
        if (frame)
            frame->DestroyWindow();
        EXPECT_EQ(OpenDocuments(), 0) << row.who;
    }
}

TEST_F(ZynAppDocTest, ClosingTheDocumentAsksEveryConfigViewUntilOneRefuses)
{
    if (!OpenDatabase())
        GTEST_SKIP() << "no SQLite ODBC driver";
    LogIn(true);
    CDocument* doc = m_template->OpenDocumentFile(nullptr);
    ASSERT_NE(doc, nullptr);
    ASSERT_NE(AddFrame(doc, RUNTIME_CLASS(OtherTestView)), nullptr);
    ASSERT_NE(AddFrame(doc, RUNTIME_CLASS(CfgTestView)), nullptr);
    ASSERT_NE(AddFrame(doc, RUNTIME_CLASS(CfgTestView)), nullptr);
    const auto views = Views(doc);
    ASSERT_EQ(views.size(), 4u);
    auto* first = static_cast<CfgTestView*>(views[0]);
    auto* refusing = static_cast<CfgTestView*>(views[2]);
    auto* last = static_cast<CfgTestView*>(views[3]);
    refusing->answer = ZynConfigViewAnswer::Refuses;

    // The walk stops at the refusal; the flag stays.
    doc->SetModifiedFlag(TRUE);
    EXPECT_FALSE(doc->SaveModified());
    EXPECT_EQ(first->asked, 1);
    EXPECT_EQ(refusing->asked, 1);
    EXPECT_EQ(last->asked, 0);
    EXPECT_TRUE(doc->IsModified());
    // The application's question before closing everything gets the same answer.
    EXPECT_FALSE(m_app->SaveAllModified());

    // All agree: the flag is cleared, no message box is asked for.
    refusing->answer = ZynConfigViewAnswer::MayClose;
    first->asked = refusing->asked = last->asked = 0;
    EXPECT_TRUE(doc->SaveModified());
    EXPECT_EQ(first->asked + refusing->asked + last->asked, 3);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(zyn::user::AnswerScript::Shown().empty());
}

TEST_F(ZynAppDocTest, ClosingOneFrameAsksOnlyItsActiveView)
{
    if (!OpenDatabase())
        GTEST_SKIP() << "no SQLite ODBC driver";
    LogIn(true);
    CDocument* doc = m_template->OpenDocumentFile(nullptr);
    ASSERT_NE(doc, nullptr);
    CFrameWnd* otherFrame = AddFrame(doc, RUNTIME_CLASS(OtherTestView));
    ASSERT_NE(otherFrame, nullptr);
    auto* cfg = static_cast<CfgTestView*>(Views(doc)[0]);
    CFrameWnd* cfgFrame = cfg->GetParentFrame();
    ASSERT_EQ(cfgFrame->GetActiveView(), cfg);
    cfg->answer = ZynConfigViewAnswer::Refuses;
    doc->SetModifiedFlag(TRUE);

    // The configuration view's frame stays: its view refused.
    cfgFrame->SendMessage(WM_CLOSE);
    EXPECT_TRUE(::IsWindow(cfgFrame->m_hWnd));
    EXPECT_EQ(cfg->asked, 1);
    EXPECT_TRUE(doc->IsModified());
    // The other view's frame closes without asking anybody (and clears the flag).
    cfg->asked = 0;
    EXPECT_TRUE(doc->CanCloseFrame(otherFrame));
    EXPECT_EQ(cfg->asked, 0);
    EXPECT_FALSE(doc->IsModified());
    const HWND other = otherFrame->m_hWnd;
    otherFrame->SendMessage(WM_CLOSE); // the frame deletes itself
    EXPECT_FALSE(::IsWindow(other));
    EXPECT_EQ(OpenDocuments(), 1);
}

TEST_F(ZynAppDocTest, AnAutomaticLogoutClosesEverythingWithoutAsking)
{
    if (!OpenDatabase())
        GTEST_SKIP() << "no SQLite ODBC driver";
    LogIn(true);
    std::vector<CfgTestView*> views;
    std::vector<CDocument*> docs;
    for (int i = 0; i < 2; ++i) {
        CDocument* doc = m_template->OpenDocumentFile(nullptr);
        ASSERT_NE(doc, nullptr);
        docs.push_back(doc);
        views.push_back(static_cast<CfgTestView*>(Views(doc)[0]));
        views.back()->answer = ZynConfigViewAnswer::Refuses;
        doc->SetModifiedFlag(TRUE); // a form in an edit state
    }
    EXPECT_FALSE(m_app->SaveAllModified()) << "the forms refuse while the operator is there";
    m_app->SetDoingAutoLogout(true);
    for (CfgTestView* view : views)
        view->asked = 0;
    EXPECT_TRUE(m_app->SaveAllModified());
    for (size_t i = 0; i < docs.size(); ++i) {
        EXPECT_EQ(views[i]->asked, 0) << "document " << i;
        EXPECT_FALSE(docs[i]->IsModified()) << "document " << i;
        EXPECT_TRUE(docs[i]->CanCloseFrame(views[i]->GetParentFrame())) << "document " << i;
    }
    m_app->CloseAllDocuments(FALSE);
    EXPECT_EQ(OpenDocuments(), 0);
    EXPECT_EQ(ChildFrames(), 0);
    EXPECT_TRUE(zyn::user::AnswerScript::Shown().empty());
}

TEST_F(ZynAppDocTest, FileOpenAndSaveStopAtAConfigurationDocument)
{
    if (!OpenDatabase())
        GTEST_SKIP() << "no SQLite ODBC driver";
    LogIn(true);
    CDocument* doc = m_template->OpenDocumentFile(nullptr);
    ASSERT_NE(doc, nullptr);
    doc->SetModifiedFlag(TRUE);
    m_main->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    m_main->SendMessage(WM_COMMAND, ID_FILE_SAVE);
    EXPECT_TRUE(FrameTrace::Log().empty()) << "the application heard File Open";
    EXPECT_TRUE(zyn::user::AnswerScript::Shown().empty()) << "a file dialog was asked for";
    EXPECT_EQ(doc->GetPathName(), CString());

    // Without a configuration document the command reaches the application.
    doc->SetModifiedFlag(FALSE);
    m_app->CloseAllDocuments(FALSE);
    m_main->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    EXPECT_EQ(FrameTrace::Log(), std::vector<std::wstring>{L"app open"});
}

} // namespace
} // namespace zyn::test
