// The application object: skins and the refresh of every window, login, view commands
// and OpenView, and the error handler with and without an application.
#include <memory>

#include "app/zyn_app.h"
#include "platform/afx/cmdui.h"
#include "platform/afx/wnd.h"
#include "platform/suite/user/acs_user.h"
#include "platform/suite/user/com_error.h"
#include "platform/suite/user/exception_handler.h"
#include "platform/user/modal.h"
#include "reports/zyn_report_engine.h"
#include "resources/resource.h"
#include "tests/reports/fake_report_runtime.h"
#include "tests/zynapp/zynapp_support.h"
#include "toolkit/skins/skin.h"
#include "toolkit/skins/skin_classic.h"
#include "toolkit/skins/skin_lookup.h"

using namespace zyn::test;
using zyn::user::AnswerKind;
using zyn::user::AnswerScript;

namespace {

constexpr UINT kUsersView = 56001;
constexpr UINT kDoorsView = 56002;
constexpr LONG kPermUsers = 100;
constexpr LONG kPermDoors = 200;
constexpr int kTypeUser = 7;
constexpr int kTypeDoor = 3;

std::unique_ptr<CAcsUser> Operator(std::initializer_list<LONG> permissions)
{
    auto user = std::make_unique<CAcsUser>(42, L"operator");
    for (LONG p : permissions)
        user->AddPermission(p);
    return user;
}

// The enabled state a menu item would get for a command.
class ProbeCmdUI : public CCmdUI {
public:
    explicit ProbeCmdUI(UINT id) { m_nID = id; }
    void Enable(BOOL bOn) override
    {
        CCmdUI::Enable(bOn);
        enabled = bOn;
    }
    BOOL enabled = -1;
};

BOOL Enabled(CZynApp& app, UINT id)
{
    ProbeCmdUI ui(id);
    ui.DoUpdate(&app, TRUE);
    return ui.enabled;
}

} // namespace

class AppTest : public ZynAppTest {};

TEST_F(AppTest, WithoutApplicationAccessorsAreEmptyAndFailuresStillShow)
{
    EXPECT_EQ(CZynApp::GetApp(), nullptr);
    EXPECT_EQ(CZynApp::GetAppAcsUser(), nullptr);
    EXPECT_EQ(CZynApp::GetAppDatabase(), nullptr);
    EXPECT_EQ(OXGetCurrentSkin(), nullptr);
    CZynApp::LogTransToDB(1, 2, L"nobody");  // nothing to write to, no failure either

    const CZynExceptionHandler& handler = CZynApp::GetAppExceptionHandler();
    AnswerScript::Push(AnswerKind::MessageBox, IDOK);
    EXPECT_EQ(handler.Handle(L"The door could not be saved."), IDOK);
    const auto shown = AnswerScript::Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, L"The door could not be saved.");
    EXPECT_EQ(shown[0].type & MB_ICONMASK, MB_ICONERROR);
    EXPECT_EQ(&CZynApp::GetAppExceptionHandler(), &handler);  // one for the process
}

TEST_F(AppTest, HandlerFormsCarryTheirCause)
{
    const CZynExceptionHandler handler;
    handler.Handle(static_cast<UINT>(65000), static_cast<HRESULT>(0x80004005), FALSE);
    EXPECT_NE(handler.GetLastMessage().Find(L"65000"), -1);  // a missing text names its ID
    EXPECT_NE(handler.GetLastMessage().Find(L"0x80004005"), -1);
    handler.Handle(static_cast<UINT>(65000), _com_error(static_cast<HRESULT>(0x80070005), L"Access denied"), FALSE);
    EXPECT_NE(handler.GetLastMessage().Find(L"Access denied"), -1);
    EXPECT_NE(handler.GetLastMessage().Find(L"0x80070005"), -1);
    CInvalidArgException e;
    handler.Handle(L"Saving failed.", &e, FALSE);
    EXPECT_EQ(handler.GetLastMessage().Find(L"Saving failed."), 0);
    EXPECT_GT(handler.GetLastMessage().GetLength(), CString(L"Saving failed.").GetLength());
    EXPECT_TRUE(AnswerScript::Shown().empty());  // nothing shown when asked not to
    handler.Handle(nullptr, nullptr, FALSE);
    EXPECT_FALSE(handler.GetLastMessage().IsEmpty());
}

TEST_F(AppTest, StringIDFormShowsTheResourceTextOwnedByTheMainWindow)
{
    CZynApp app;
    HWND main = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200);
    CWnd mainWnd;
    ASSERT_TRUE(mainWnd.Attach(main));
    app.m_pMainWnd = &mainWnd;
    AnswerScript::Push(AnswerKind::MessageBox, IDOK);
    EXPECT_EQ(CZynApp::GetAppExceptionHandler().Handle(static_cast<UINT>(IDS_ZYN_PANEL_COMMAND_NOT_SENT)), IDOK);
    const auto shown = AnswerScript::Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].owner, main);
    EXPECT_EQ(shown[0].text.rfind(L"The command could not be sent", 0), 0u);
    EXPECT_TRUE(shown[0].scripted);
    app.m_pMainWnd = nullptr;
    mainWnd.Detach();
    DestroyWindow(main);
}

TEST_F(AppTest, ApplicationHoldsThreeSkinsWithOffice2003Current)
{
    CZynApp app;
    EXPECT_EQ(CZynApp::GetApp(), &app);
    EXPECT_TRUE(AfxGetApp()->IsKindOf(CZynApp::GetThisClass()));
    EXPECT_EQ(app.GetSkinTable().GetSkinCount(), 3);
    ASSERT_NE(app.GetCurrentSkin(), nullptr);
    EXPECT_EQ(app.GetCurrentSkin()->GetName(), L"Office 2003");
    EXPECT_EQ(OXGetCurrentSkin(), app.GetCurrentSkin());  // the toolkit asks the application
    EXPECT_NE(app.GetSkin(L"Classic"), nullptr);
    EXPECT_NE(app.GetSkin(L"Office XP"), nullptr);
    EXPECT_FALSE(CZynApp::IsBadgePrintInProgress());
    EXPECT_EQ(&CZynApp::GetAppExceptionHandler(), &app.GetExceptionHandler());
    CZynReportEngine* engine = app.GetReportEngine();
    EXPECT_NE(engine, nullptr);
    EXPECT_EQ(app.GetReportEngine(), engine);
}

TEST_F(AppTest, SkinSourceEndsWithTheApplication)
{
    {
        CZynApp app;
        EXPECT_NE(OXGetCurrentSkin(), nullptr);
    }
    EXPECT_EQ(OXGetCurrentSkin(), nullptr);
}

TEST_F(AppTest, UnknownSkinLeavesNoneCurrentAndRemovingHandsBack)
{
    CZynApp app;
    EXPECT_FALSE(app.SetCurrentSkin(L"Nonexistent"));
    EXPECT_EQ(app.GetCurrentSkin(), nullptr);
    EXPECT_EQ(OXGetCurrentSkin(), nullptr);
    EXPECT_TRUE(app.SetCurrentSkin(L"Classic"));
    std::unique_ptr<COXSkin> classic(app.GetSkin(L"Classic"));
    EXPECT_TRUE(app.RemoveSkin(L"Classic"));
    EXPECT_FALSE(app.RemoveSkin(L"Classic"));
    EXPECT_EQ(app.GetCurrentSkin(), nullptr);
    EXPECT_TRUE(app.AddSkin(classic.release()));
    EXPECT_TRUE(app.SetCurrentSkin(app.GetSkin(L"Classic")));
    EXPECT_EQ(app.GetCurrentSkin()->GetName(), L"Classic");
}

TEST_F(AppTest, SetCurrentSkinRefreshesEveryWindowOnce)
{
    CZynApp app;
    HWND main = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 400);
    HWND child = Make(WS_CHILD | WS_VISIBLE, 10, 10, 200, 100, main);
    HWND grandchild = Make(WS_CHILD | WS_VISIBLE, 5, 5, 50, 40, child);
    HWND floating = Make(WS_POPUP | WS_CAPTION | WS_VISIBLE, 700, 10, 150, 120, main);  // owned by main
    HWND stranger = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 500, 200, 200);
    HWND maximised = Make(WS_CHILD | WS_VISIBLE | WS_MAXIMIZE, 0, 0, 100, 100, main);
    CWnd mainWnd;
    ASSERT_TRUE(mainWnd.Attach(main));
    app.m_pMainWnd = &mainWnd;
    ReceivedLog().clear();

    ASSERT_TRUE(app.SetCurrentSkin(L"Office XP"));
    for (HWND h : {main, child, grandchild, floating}) {
        EXPECT_EQ(CountFor(h, WM_SIZE), 1) << "window " << h;
        EXPECT_GE(CountFor(h, WM_NCCALCSIZE), 1) << "frame change of " << h;
    }
    EXPECT_EQ(CountFor(maximised, WM_SIZE), 0);
    EXPECT_GE(CountFor(maximised, WM_NCCALCSIZE), 1);
    EXPECT_EQ(CountFor(stranger, WM_SIZE), 0);
    for (const Received& r : ReceivedLog()) {
        if (r.hwnd == child && r.msg == WM_SIZE) {
            EXPECT_EQ(LOWORD(r.lp), 200);
            EXPECT_EQ(HIWORD(r.lp), 100);
        }
    }
    RECT update{};
    EXPECT_TRUE(GetUpdateRect(grandchild, &update, FALSE));

    ReceivedLog().clear();
    EXPECT_FALSE(app.SetCurrentSkin(L"No such skin"));
    EXPECT_EQ(CountFor(main, WM_SIZE), 0);  // nothing refreshed for a failed change

    app.m_pMainWnd = nullptr;
    mainWnd.Detach();
    DestroyWindow(stranger);
    DestroyWindow(main);
}

TEST_F(AppTest, WithoutMainWindowTheSkinStillChanges)
{
    CZynApp app;
    EXPECT_TRUE(app.SetCurrentSkin(L"Classic"));
    EXPECT_EQ(app.GetCurrentSkin()->GetName(), L"Classic");
}

TEST_F(AppTest, LoginLogoutAndAutoLogoutFlag)
{
    CZynApp app;
    EXPECT_FALSE(app.IsLoggedIn());
    app.SetDoingAutoLogout(true);
    EXPECT_TRUE(app.DoingAutoLogout());
    app.LoginOperator(Operator({kPermUsers}));
    EXPECT_TRUE(app.IsLoggedIn());
    EXPECT_FALSE(app.DoingAutoLogout());  // cleared at each login
    ASSERT_NE(CZynApp::GetAppAcsUser(), nullptr);
    EXPECT_EQ(CZynApp::GetAppAcsUser()->GetUserID(), 42);
    EXPECT_EQ(CZynApp::GetAppDatabase(), nullptr);
    EXPECT_TRUE(CZynApp::HasAppPermission(kPermUsers));
    EXPECT_FALSE(CZynApp::HasAppPermission(kPermDoors));
    auto user = app.LogoutOperator();
    EXPECT_FALSE(CZynApp::HasAppPermission(kPermUsers));
    EXPECT_NE(user, nullptr);
    EXPECT_FALSE(app.IsLoggedIn());
    EXPECT_EQ(app.LogoutOperator(), nullptr);
}

TEST_F(AppTest, SingleInstanceIsDecidedOnce)
{
    CZynApp app;
    EXPECT_FALSE(app.SingleInstance());
    app.SetSingleInstance(L"ZynHostMain", 0xC100, CZynApp::InstanceCheckWindowClass);
    EXPECT_TRUE(app.SingleInstance());
    app.SetSingleInstance(L"OtherClass", 0xC101, CZynApp::InstanceCheckNone);
    EXPECT_TRUE(app.SingleInstance());
    EXPECT_EQ(app.GetSingleInstanceClassName(), L"OtherClass");
}

TEST_F(AppTest, ViewCommandsNeedAnOperatorWithOneOfThePermissions)
{
    CZynApp app;
    EXPECT_FALSE(app.AddView(55999, 1, nullptr, nullptr, {kPermUsers}, {kTypeUser}));
    EXPECT_FALSE(app.AddView(57001, 1, nullptr, nullptr, {kPermUsers}, {kTypeUser}));
    ASSERT_TRUE(app.AddView(kUsersView, 1, nullptr, nullptr, {kPermUsers, 101}, {kTypeUser}));
    ASSERT_TRUE(app.AddView(kDoorsView, 2, nullptr, nullptr, {kPermDoors}, {kTypeDoor}));

    EXPECT_FALSE(Enabled(app, kUsersView));  // nobody logged in
    app.LoginOperator(Operator({101}));
    EXPECT_TRUE(Enabled(app, kUsersView));   // one of the two permissions is enough
    EXPECT_FALSE(Enabled(app, kDoorsView));
    EXPECT_FALSE(Enabled(app, 56500));       // in the range but not registered
    app.LogoutOperator();
    EXPECT_FALSE(Enabled(app, kUsersView));
}

TEST_F(AppTest, OpenViewActivatesTheOpenFrameOrOpensANewOne)
{
    CZynApp app;
    ASSERT_TRUE(app.AddView(kUsersView, 1, nullptr, nullptr, {kPermUsers}, {kTypeUser}));
    ASSERT_TRUE(app.AddView(kDoorsView, 2, nullptr, nullptr, {kPermDoors}, {kTypeDoor, kTypeUser}));
    HWND other = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100);

    // Stand-in frame objects: the registry only hands back what the opener recorded.
    alignas(16) static char frameTokens[2][16];
    int opened = 0;
    std::vector<HWND> frames;
    app.SetViewOpener([&](CViewInfo& info) {
        HWND h = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200);
        if (!h)
            return FALSE;
        frames.push_back(h);
        info.SetOpenFrame(reinterpret_cast<CFrameWnd*>(frameTokens[opened % 2]), h);
        ++opened;
        return TRUE;
    });

    CFrameWnd* first = app.OpenView(kTypeUser);  // the first view (by command) showing users
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(app.GetViewInfo(kUsersView)->GetOpenFrame(), first);
    SetActiveWindow(other);
    EXPECT_EQ(app.OpenView(kTypeUser), first);  // activated, not opened again
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(GetActiveWindow(), frames[0]);

    EXPECT_EQ(app.OpenView(99), nullptr);  // no view shows this type
    DestroyWindow(frames[0]);
    EXPECT_EQ(app.GetViewInfo(kUsersView)->GetOpenFrame(), nullptr);
    EXPECT_NE(app.OpenView(kTypeUser), nullptr);  // closed: a new one opens
    EXPECT_EQ(opened, 2);

    app.SetViewOpener([](CViewInfo&) { return FALSE; });
    EXPECT_EQ(app.OpenView(kTypeDoor), nullptr);  // opening failed

    for (HWND h : frames)
        DestroyWindow(h);
    DestroyWindow(other);
}

TEST_F(AppTest, ViewCommandOpensOnlyForAPermittedOperator)
{
    CZynApp app;
    ASSERT_TRUE(app.AddView(kUsersView, 1, nullptr, nullptr, {kPermUsers}, {kTypeUser}));
    int opened = 0;
    app.SetViewOpener([&](CViewInfo&) {
        ++opened;
        return FALSE;
    });
    app.OnCmdMsg(kUsersView, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(opened, 0);
    app.LoginOperator(Operator({kPermUsers}));
    app.OnCmdMsg(kUsersView, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(opened, 1);
}

TEST(AcsUserTest, PermissionsAndSegments)
{
    CAcsUser user(5, nullptr);
    EXPECT_TRUE(user.GetUserName().IsEmpty());
    EXPECT_FALSE(user.HasAnyPermission({}));
    user.AddPermission(3);
    EXPECT_TRUE(user.HasAnyPermission({1, 3}));
    user.RemovePermission(3);
    EXPECT_FALSE(user.HasPermission(3));
    EXPECT_FALSE(user.CanAccessMultipleSegments());
    user.AddSegment(1, L"North");
    EXPECT_FALSE(user.CanAccessMultipleSegments());
    user.AddSegment(2, nullptr);
    EXPECT_TRUE(user.CanAccessMultipleSegments());
    EXPECT_EQ(user.SegmentName(1), L"North");
    EXPECT_TRUE(user.SegmentName(9).IsEmpty());
    EXPECT_FALSE(user.IsAllSegmentsUser());
    user.SystemOptions().SetServerType(3);
    EXPECT_EQ(user.GetSystemOptions().ServerType(), 3);
    EXPECT_EQ(user.GetDatabase(), nullptr);
}

TEST_F(AppTest, ReportEngineIsTheApplicationsAndGoesWithIt)
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    // Without a runtime: the application's handler tells the operator once.
    AnswerScript::Clear();
    {
        CZynApp app;
        CZynReportEngine* engine = app.GetReportEngine();
        ASSERT_NE(engine, nullptr);
        EXPECT_FALSE(engine->HasRuntime());
        EXPECT_EQ(app.GetReportEngine(), engine);
        std::vector<std::wstring> boxes;
        for (const auto& r : AnswerScript::Shown())
            if (r.kind == AnswerKind::MessageBox)
                boxes.push_back(r.text);
        ASSERT_EQ(boxes.size(), 1u);
        CString expected;
        expected.LoadString(IDS_REPORT_RUNTIME_NOT_CREATED);
        EXPECT_EQ(boxes[0].rfind(expected.GetString(), 0), 0u);
    }
    // With one: made on first use, asked and released when the application goes.
    const DWORD cookie = RegisterFakeRuntime();
    RuntimeTrace().clear();
    Behaviour() = RuntimeBehaviour{};
    {
        CZynApp app;
        EXPECT_TRUE(RuntimeTrace().empty()) << "nothing before the first use";
        EXPECT_TRUE(app.GetReportEngine()->HasRuntime());
        EXPECT_TRUE(RuntimeTrace().empty());
    }
    EXPECT_EQ(RuntimeTrace(), (std::vector<std::string>{"CanClose", "Release"}));
    EXPECT_EQ(CoRevokeClassObject(cookie), S_OK);
    zyn::com::UnregisterProgID(kReportRuntimeProgID);
    CoUninitialize();
}
