// The application object: one per process, the profile in an INI file or the registry,
// message boxes through the application, the run without a main window, documents
// without the document layer.
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/base/cstring.h"
#include "platform/base/exception.h"
#include "platform/base/registry.h"
#include "platform/gdi/icon.h"
#include "tests/afx/afx_test_support.h"
#include "tests/support/testenv.h"

namespace zyn::test {
namespace {

using WinAppTest = AfxTest;

TEST_F(WinAppTest, OneApplicationIsTheMainThreadsWinThread)
{
    EXPECT_EQ(AfxGetApp(), nullptr);
    {
        CWinApp app(L"First");
        EXPECT_EQ(AfxGetApp(), &app);
        EXPECT_EQ(AfxGetThread(), &app);
        EXPECT_STREQ(AfxGetAppName(), L"First");
        CNotSupportedException* caught = nullptr;
        try {
            CWinApp second(L"Second");
        } catch (CNotSupportedException* e) {
            caught = e;
        }
        ASSERT_NE(caught, nullptr) << "a second application object is refused";
        caught->Delete();
        EXPECT_EQ(AfxGetApp(), &app) << "the refused one changed nothing";
    }
    EXPECT_EQ(AfxGetApp(), nullptr);
    EXPECT_EQ(AfxGetThread(), nullptr);
}

TEST_F(WinAppTest, ProfileInTheIniFileBeforeARegistryKeyIsSet)
{
    CWinApp app(L"IniApp");
    AfxWinInit(nullptr, nullptr, nullptr, 1);
    ASSERT_NE(app.m_pszProfileName, nullptr);
    // Use a known file name (the executable's name decides the default).
    free(const_cast<wchar_t*>(app.m_pszProfileName));
    app.m_pszProfileName = wcsdup(L"AfxTest.INI");
    EXPECT_TRUE(app.WriteProfileInt(L"Window", L"Width", 640));
    EXPECT_TRUE(app.WriteProfileString(L"Window", L"Title", L"Main \U0001F600"));
    EXPECT_EQ(app.GetProfileInt(L"Window", L"Width", 1), 640u);
    EXPECT_EQ(app.GetProfileInt(L"Window", L"Missing", -3), static_cast<UINT>(-3));
    EXPECT_STREQ(app.GetProfileString(L"Window", L"Title").GetString(), L"Main \U0001F600");
    EXPECT_STREQ(app.GetProfileString(L"Window", L"Nope", L"dflt").GetString(), L"dflt");
    EXPECT_TRUE(std::filesystem::exists(TempRoot() + "/windows/AfxTest.INI"));
    EXPECT_EQ(app.GetAppRegistryKey(), nullptr) << "no registry without a key";
    // A null value deletes the entry.
    EXPECT_TRUE(app.WriteProfileString(L"Window", L"Title", nullptr));
    EXPECT_STREQ(app.GetProfileString(L"Window", L"Title", L"gone").GetString(), L"gone");
}

TEST_F(WinAppTest, ProfileInTheRegistryWithBinaryValues)
{
    CWinApp app(L"RegApp");
    app.SetRegistryKey(L"AfxTestCompany");
    EXPECT_STREQ(app.m_pszRegistryKey, L"AfxTestCompany");
    EXPECT_STREQ(app.m_pszProfileName, L"RegApp") << "the application name names the key";
    EXPECT_TRUE(app.WriteProfileInt(L"Bars", L"Count", 3));
    EXPECT_EQ(app.GetProfileInt(L"Bars", L"Count", 0), 3u);
    BYTE data[] = {0, 1, 2, 0xFE, 0xFF};
    EXPECT_TRUE(app.WriteProfileBinary(L"Bars", L"State", data, sizeof data));
    LPBYTE read = nullptr;
    UINT n = 0;
    ASSERT_TRUE(app.GetProfileBinary(L"Bars", L"State", &read, &n));
    ASSERT_EQ(n, sizeof data);
    EXPECT_EQ(std::memcmp(read, data, n), 0);
    delete[] read;
    // The values are where the class library keeps them.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\AfxTestCompany\\RegApp\\Bars", 0, KEY_READ, &key),
        ERROR_SUCCESS);
    DWORD type = 0, value = 0, size = sizeof value;
    EXPECT_EQ(RegQueryValueExW(key, L"Count", nullptr, &type, reinterpret_cast<LPBYTE>(&value), &size),
        ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(value, 3u);
    RegCloseKey(key);
    // Absent or mistyped entries: FALSE with nothing handed out.
    read = reinterpret_cast<LPBYTE>(&value);
    n = 9;
    EXPECT_FALSE(app.GetProfileBinary(L"Bars", L"Missing", &read, &n));
    EXPECT_EQ(read, nullptr);
    EXPECT_EQ(n, 0u);
    EXPECT_FALSE(app.GetProfileBinary(L"Bars", L"Count", &read, &n)) << "a DWORD is not binary data";
    // An empty value round-trips; bad arguments are refused.
    EXPECT_TRUE(app.WriteProfileBinary(L"Bars", L"Empty", nullptr, 0));
    ASSERT_TRUE(app.GetProfileBinary(L"Bars", L"Empty", &read, &n));
    EXPECT_EQ(n, 0u);
    delete[] read;
    EXPECT_FALSE(app.WriteProfileBinary(L"Bars", L"Bad", nullptr, 4));
    EXPECT_FALSE(app.GetProfileBinary(L"Bars", L"State", nullptr, &n));
    HKEY appKey = app.GetAppRegistryKey();
    ASSERT_NE(appKey, nullptr);
    RegCloseKey(appKey);
}

TEST_F(WinAppTest, MessageBoxesGoThroughTheApplication)
{
    user::SetScriptedMode(true);
    user::AnswerScript::Clear();
    CWinApp app(L"Boxes");
    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDYES);
    EXPECT_EQ(AfxMessageBox(L"Save changes?", MB_YESNO), IDYES);
    const auto shown = user::AnswerScript::Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, L"Boxes");
    EXPECT_EQ(shown[0].text, L"Save changes?");
    EXPECT_EQ(shown[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONQUESTION)) << "an icon for the question";
    // A string that does not exist shows nothing and says so.
    SetLastError(0);
    EXPECT_EQ(AfxMessageBox(0xFF00u), 0);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_EQ(user::AnswerScript::Shown().size(), 1u);
    user::SetScriptedMode(false);
}

TEST_F(WinAppTest, MessageBoxesAreOwnedByTheMainWindow)
{
    user::SetScriptedMode(true);
    user::AnswerScript::Clear();
    CWinApp app(L"Owner");
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(0), L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100,
        nullptr, nullptr));
    app.m_pMainWnd = &main;
    AfxMessageBox(L"Note", MB_OK);
    const auto shown = user::AnswerScript::Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].owner, main.m_hWnd);
    EXPECT_EQ(shown[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_TRUE(main.IsWindowEnabled()) << "enabled again afterwards";
    app.m_pMainWnd = nullptr;
    main.DestroyWindow();
    user::SetScriptedMode(false);
}

TEST_F(WinAppTest, RunWithoutAMainWindowEndsAtOnce)
{
    CWinApp app(L"Empty");
    EXPECT_EQ(app.Run(), 0);
    // OnAppExit without a main window ends the loop too.
    app.OnAppExit();
    MSG m;
    ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, static_cast<UINT>(WM_QUIT));
}

TEST_F(WinAppTest, ExitClosesTheMainWindowAndItsDestructionEndsTheLoop)
{
    CWinApp app(L"Exit");
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(0), L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    app.m_pMainWnd = &main;
    // ID_APP_EXIT through the application's own map: WM_CLOSE, DefWindowProc destroys.
    EXPECT_TRUE(app.OnCmdMsg(0xE141 /* ID_APP_EXIT */, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(main.m_hWnd, nullptr);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    MSG m;
    ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, static_cast<UINT>(WM_QUIT));
}

TEST_F(WinAppTest, DocumentCallsWithoutTheDocumentLayer)
{
    CWinApp app(L"Docs");
    EXPECT_TRUE(app.SaveAllModified());
    app.CloseAllDocuments(FALSE);
    EXPECT_EQ(app.GetOpenDocumentCount(), 0);
    EXPECT_EQ(app.GetFirstDocTemplatePosition(), nullptr);
    EXPECT_EQ(app.OpenDocumentFile(L"x.doc"), nullptr);
    CNotSupportedException* caught = nullptr;
    try {
        app.AddDocTemplate(reinterpret_cast<CDocTemplate*>(&app));
    } catch (CNotSupportedException* e) {
        caught = e;
    }
    ASSERT_NE(caught, nullptr);
    caught->Delete();
}

TEST_F(WinAppTest, StartUpFillsTheNamesAndRunsTheSteps)
{
    class CStartApp : public CWinApp {
    public:
        CStartApp() : CWinApp(nullptr) {}
        std::vector<std::wstring> steps;
        BOOL InitApplication() override
        {
            steps.push_back(L"app");
            return TRUE;
        }
        BOOL InitInstance() override
        {
            steps.push_back(L"instance");
            return FALSE;
        }
        int ExitInstance() override
        {
            steps.push_back(L"exit");
            return 9;
        }
    };
    CStartApp app;
    wchar_t cmdLine[] = L"/x";
    EXPECT_EQ(AfxWinMain(nullptr, nullptr, cmdLine, 1), 9) << "InitInstance failed: ExitInstance's code";
    EXPECT_EQ(app.steps, (std::vector<std::wstring>{L"app", L"instance", L"exit"}));
    ASSERT_NE(app.m_pszExeName, nullptr);
    ASSERT_NE(app.m_pszAppName, nullptr);
    EXPECT_STREQ(app.m_pszAppName, app.m_pszExeName) << "no title string: the executable's name";
    EXPECT_EQ(std::wstring(app.m_pszProfileName), std::wstring(app.m_pszExeName) + L".INI");
    EXPECT_EQ(app.m_lpCmdLine, cmdLine);
    EXPECT_EQ(app.m_hInstance, AfxGetInstanceHandle());
}

TEST_F(WinAppTest, WaitCursorNestsAndRestores)
{
    CWinApp app(L"Cursor");
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    SetCursor(arrow);
    app.BeginWaitCursor();
    app.BeginWaitCursor();
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
    app.EndWaitCursor();
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT)) << "still one level deep";
    app.EndWaitCursor();
    EXPECT_EQ(GetCursor(), arrow);
    app.EndWaitCursor(); // unbalanced: stays at zero
    app.BeginWaitCursor();
    app.EndWaitCursor();
    EXPECT_EQ(GetCursor(), arrow);
}

} // namespace
} // namespace zyn::test
