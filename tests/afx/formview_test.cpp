// CFormView in a frame: creation from a child template, the initial update, the frame
// fitted to the form, the tab order through the frame's message loop, accelerators of the
// view and of the frame before the dialog keys, controls updated at idle through
// ON_UPDATE_COMMAND_UI, and the focus given back when the frame is activated again.
#include "platform/afx/doc_context.h"
#include "platform/afx/frame.h"
#include "platform/afx/mdi.h"
#include "platform/base/lasterror.h"
#include "platform/base/resource.h"
#include "platform/user/accel.h"
#include "tests/afx/afx_dialog_test_support.h"

namespace zyn::test {
namespace {

int g_liveForms = 0;

class TestForm : public CFormView {
    DECLARE_DYNCREATE(TestForm)
public:
    TestForm() : CFormView(IDD_FORM)
    {
        ++g_liveForms;
        const LPCWSTR name = MAKEINTRESOURCEW(IDR_VIEW_ACCEL);
        m_hAccel = ::LoadAcceleratorsW(AfxFindResourceHandle(name, RT_ACCELERATOR), name);
    }
    ~TestForm() override
    {
        --g_liveForms;
        if (m_hAccel)
            ::DestroyAcceleratorTable(m_hAccel);
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_NAME, m_name);
        DDX_Check(pDX, IDC_ARCHIVE, m_archive);
    }
    // The view's own table first: its keys win over the dialog keys and the frame's.
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (m_hAccel && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST &&
            ::TranslateAcceleratorW(m_hWnd, m_hAccel, pMsg))
            return TRUE;
        return CFormView::PreTranslateMessage(pMsg);
    }
    afx_msg void OnUpdateApply(CCmdUI* pCmdUI) { pCmdUI->Enable(m_canApply); }
    afx_msg void OnUpdateArchive(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_archiveShown); }
    afx_msg void OnRefresh() { Trace::Add(L"view refresh"); }
    afx_msg void OnEnter() { Trace::Add(L"view ctrl+enter"); }
    afx_msg void OnApply() { Trace::Add(L"apply"); }

    CString m_name = L"Ada";
    int m_archive = 1;
    BOOL m_canApply = FALSE;
    int m_archiveShown = 0;
    HACCEL m_hAccel = nullptr;
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(TestForm, CFormView)
BEGIN_MESSAGE_MAP(TestForm, CFormView)
    ON_UPDATE_COMMAND_UI(IDC_APPLY, &TestForm::OnUpdateApply)
    ON_UPDATE_COMMAND_UI(IDC_ARCHIVE, &TestForm::OnUpdateArchive)
    ON_COMMAND(ID_VIEW_REFRESH, &TestForm::OnRefresh)
    ON_COMMAND(ID_VIEW_ENTER, &TestForm::OnEnter)
    ON_BN_CLICKED(IDC_APPLY, &TestForm::OnApply)
END_MESSAGE_MAP()

// A form over a pop-up template, and one over a template that does not exist.
class PopupForm : public CFormView {
public:
    explicit PopupForm(UINT id) : CFormView(id) { ++g_liveForms; }
    ~PopupForm() override { --g_liveForms; }
};

class TestFrame : public CFrameWnd {
public:
    void SetAccelerators(HACCEL h) { m_hAccelTable = h; }
    afx_msg void OnFrameCommand() { Trace::Add(L"frame command"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(TestFrame, CFrameWnd)
    ON_COMMAND(ID_FRAME_COMMAND, &TestFrame::OnFrameCommand)
END_MESSAGE_MAP()

class FormViewTest : public AfxDialogTest {
protected:
    void SetUp() override
    {
        AfxDialogTest::SetUp();
        g_liveForms = 0;
        CCreateContext ctx;
        ctx.m_pNewViewClass = RUNTIME_CLASS(TestForm);
        m_frame = new TestFrame; // deletes itself with its window
        ASSERT_TRUE(m_frame->Create(nullptr, L"Form", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(10, 10, 410, 310), nullptr,
            nullptr, 0, &ctx));
        const LPCWSTR name = MAKEINTRESOURCEW(IDR_FRAME_ACCEL);
        m_frame->SetAccelerators(::LoadAcceleratorsW(AfxFindResourceHandle(name, RT_ACCELERATOR), name));
        m_frame->InitialUpdateFrame(nullptr, TRUE);
        m_frame->SetActiveWindow();
        m_view = DYNAMIC_DOWNCAST(TestForm, m_frame->GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE));
        ASSERT_NE(m_view, nullptr);
        Pump();
    }
    void TearDown() override
    {
        if (m_frame && ::IsWindow(m_frame->m_hWnd))
            m_frame->DestroyWindow();
        EXPECT_EQ(g_liveForms, 0) << "the views deleted themselves";
        AfxDialogTest::TearDown();
    }
    HWND Item(int id) const { return ::GetDlgItem(m_view->m_hWnd, id); }
    static int FocusId() { return ::GetDlgCtrlID(::GetFocus()); }
    void FocusOn(int id) { ::SendMessageW(m_view->m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), 1); }

    TestFrame* m_frame = nullptr;
    TestForm* m_view = nullptr;
};

TEST_F(FormViewTest, TheFormIsAChildOfTheTemplatesSizeFilledByTheInitialUpdate)
{
    EXPECT_TRUE(m_view->GetStyle() & WS_CHILD);
    EXPECT_EQ(m_view->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
    EXPECT_EQ(m_frame->GetActiveView(), m_view);
    RECT page{0, 0, 300, 200};
    ::MapDialogRect(m_view->m_hWnd, &page);
    EXPECT_EQ(m_view->GetTotalSize(), CSize(page.right, page.bottom)) << "the scroll sizes are the template's";
    EXPECT_EQ(TextOf(Item(IDC_NAME)), L"Ada");
    EXPECT_EQ(m_view->IsDlgButtonChecked(IDC_ARCHIVE), 1u);

    // The frame made to fit the form: no scroll bars, the whole page in view.
    m_view->ResizeParentToFit(FALSE);
    CRect client;
    m_view->GetClientRect(&client);
    EXPECT_EQ(client.Size(), CSize(page.right, page.bottom));
}

TEST_F(FormViewTest, TabWalksTheControlsThroughTheFramesLoop)
{
    m_view->SetFocus();
    EXPECT_EQ(FocusId(), IDC_NAME) << "the first tab stop";
    const int order[] = {IDC_CITY, IDC_ARCHIVE, IDC_APPLY, IDC_NAME};
    for (const int id : order) {
        Press(VK_TAB);
        EXPECT_EQ(FocusId(), id);
    }
    // Alt+A is the mnemonic of the Apply button: it is clicked.
    Trace::Clear();
    user::InjectKey(VK_MENU, true);
    user::InjectKeyPress('A');
    user::InjectKey(VK_MENU, false);
    PumpTranslated();
    EXPECT_EQ(Trace::Log(), std::vector<std::wstring>{L"apply"});
}

TEST_F(FormViewTest, AcceleratorsComeBeforeTheDialogKeys)
{
    struct Row {
        const char* name;
        int vk;
        bool ctrl;
        std::vector<std::wstring> trace;
        int focusAfter;
    } rows[] = {
        {"the view's F5", VK_F5, false, {L"view refresh"}, IDC_NAME},
        {"the view's Ctrl+Enter, not the dialog's Enter", VK_RETURN, true, {L"view ctrl+enter"}, IDC_NAME},
        {"the frame's F6", VK_F6, false, {L"frame command"}, IDC_NAME},
        {"the frame's Ctrl+Tab, not the dialog's Tab", VK_TAB, true, {L"frame command"}, IDC_NAME},
        {"a plain Tab is the dialog's", VK_TAB, false, {}, IDC_CITY},
    };
    for (const Row& row : rows) {
        FocusOn(IDC_NAME);
        Trace::Clear();
        Press(row.vk, row.ctrl);
        EXPECT_EQ(Trace::Log(), row.trace) << row.name;
        EXPECT_EQ(FocusId(), row.focusAfter) << row.name;
    }
}

TEST_F(FormViewTest, TheIdlePassUpdatesControlsThatHaveHandlers)
{
    const auto idle = [&] { m_frame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE); };
    idle();
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_APPLY)));
    EXPECT_EQ(m_view->IsDlgButtonChecked(IDC_ARCHIVE), 0u) << "SetCheck through the handler";
    EXPECT_TRUE(::IsWindowEnabled(Item(IDC_CITY))) << "no handler: left as it is";
    m_view->m_canApply = TRUE;
    m_view->m_archiveShown = 1;
    idle();
    EXPECT_TRUE(::IsWindowEnabled(Item(IDC_APPLY)));
    EXPECT_EQ(m_view->IsDlgButtonChecked(IDC_ARCHIVE), 1u);
}

TEST_F(FormViewTest, TheFocusComesBackWhenTheFrameIsActivatedAgain)
{
    FocusOn(IDC_CITY);
    ASSERT_EQ(FocusId(), IDC_CITY);
    const HWND other = MakePlain(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ::SetActiveWindow(other);
    Pump();
    EXPECT_NE(::GetFocus(), Item(IDC_CITY));
    m_frame->SetActiveWindow();
    Pump();
    EXPECT_EQ(FocusId(), IDC_CITY);
    ::DestroyWindow(other);
}

TEST_F(FormViewTest, TemplatesThatCannotBeAFormAreRefusedAndTheViewGoes)
{
    struct Row {
        const char* name;
        UINT id;
        DWORD error;
    } rows[] = {
        {"a pop-up template", IDD_FORM_POPUP, ERROR_INVALID_PARAMETER},
        {"no such template", 4711, ERROR_RESOURCE_NAME_NOT_FOUND},
    };
    for (const Row& row : rows) {
        const int before = g_liveForms;
        auto* view = new PopupForm(row.id);
        EXPECT_FALSE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 100), m_frame, 1234, nullptr))
            << row.name;
        EXPECT_EQ(GetLastError(), row.error) << row.name;
        EXPECT_EQ(g_liveForms, before) << row.name << ": the view deleted itself";
        EXPECT_EQ(::GetDlgItem(m_frame->m_hWnd, 1234), nullptr) << row.name;
    }
}

TEST_F(FormViewTest, AFormInAnMdiChildTakesItsKeys)
{
    auto* main = new CMDIFrameWnd;
    ASSERT_TRUE(main->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 640, 480)));
    CCreateContext ctx;
    ctx.m_pNewViewClass = RUNTIME_CLASS(TestForm);
    auto* child = new CMDIChildWnd;
    ASSERT_TRUE(child->Create(nullptr, L"Child", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300),
        main, &ctx));
    child->InitialUpdateFrame(nullptr, TRUE);
    Pump();
    auto* view = DYNAMIC_DOWNCAST(TestForm, child->GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE));
    ASSERT_NE(view, nullptr);
    view->SetFocus();
    EXPECT_EQ(FocusId(), IDC_NAME);
    Press(VK_TAB);
    EXPECT_EQ(FocusId(), IDC_CITY);
    Trace::Clear();
    Press(VK_F5);
    EXPECT_EQ(Trace::Log(), std::vector<std::wstring>{L"view refresh"});
    main->DestroyWindow();
}

} // namespace
} // namespace zyn::test
