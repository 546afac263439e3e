// Configuration messages to the main window and the panel-command questions.
#include <vector>

#include "app/zyn_app.h"
#include "frames/cfg_message.h"
#include "platform/afx/wnd.h"
#include "platform/base/lasterror.h"
#include "platform/suite/user/acs_user.h"
#include "platform/user/modal.h"
#include "tests/zynapp/zynapp_support.h"

using namespace zyn::test;
using zyn::user::AnswerKind;
using zyn::user::AnswerScript;

namespace {

// What the main window saw of each configuration message while it was being sent.
struct Seen {
    UINT msg;
    WPARAM wp;
    const CfgMessage* cfg;
    LONG value;
    LONG word0, word4, word10;
    uint8_t deviceChange;
};

std::vector<Seen>& SeenLog()
{
    static std::vector<Seen> log;
    return log;
}

LRESULT MainProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_ZYN_UPDATEPANELDRIVERS || m == WM_ZYN_UPDATEAPP) {
        const auto* cfg = reinterpret_cast<const CfgMessage*>(lp);
        SeenLog().push_back(Seen{m, wp, cfg, cfg->m_lValue, cfg->m_lParams[0], cfg->m_lParams[4], cfg->m_lParams[10],
            cfg->m_bDeviceChange});
        return 0;
    }
    return DefWindowProcW(h, m, wp, lp);
}

class CfgMessageTest : public ZynAppTest {
protected:
    void SetUp() override
    {
        ZynAppTest::SetUp();
        SeenLog().clear();
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = MainProc;
        wc.lpszClassName = L"ZynCfgMain";
        ASSERT_NE(RegisterClassExW(&wc), 0);
    }
    void TearDown() override
    {
        CloseMain();
        ZynAppTest::TearDown();
    }
    // The application's main window.
    HWND OpenMain(CZynApp& app)
    {
        m_hMain = CreateWindowExW(0, L"ZynCfgMain", L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
            nullptr, nullptr);
        m_main.Attach(m_hMain);
        app.m_pMainWnd = &m_main;  // the application object goes before the fixture
        return m_hMain;
    }
    void CloseMain()
    {
        if (m_main.GetSafeHwnd())
            m_main.Detach();
        if (m_hMain && IsWindow(m_hMain))
            DestroyWindow(m_hMain);
        m_hMain = nullptr;
    }

    CWnd m_main;
    HWND m_hMain = nullptr;
};

std::vector<UINT> Messages()
{
    std::vector<UINT> out;
    for (const Seen& s : SeenLog())
        out.push_back(s.msg);
    return out;
}

} // namespace

TEST(CfgMessageLayout, InitialValues)
{
    const CfgMessage msg(1, 5, 9);
    EXPECT_EQ(msg.m_lType, 1);
    EXPECT_EQ(msg.m_lValue, 5);
    EXPECT_EQ(msg.m_lValue2, 9);
    for (int32_t w : msg.m_lParams)
        EXPECT_EQ(w, 0);
    EXPECT_EQ(msg.m_lExtraID, -1);
    EXPECT_EQ(msg.m_bDeviceChange, 0);
    EXPECT_EQ(msg.m_data.size(), 272u);
    EXPECT_TRUE(msg.m_strText.IsEmpty());
}

// A receiver keeps a copy: every field comes across, by construction and by assignment.
TEST(CfgMessageLayout, CopyKeepsEveryField)
{
    CfgMessage msg(-74, 7, 11);
    msg.m_lParams[0] = 1001;
    msg.m_lParams[15] = -5;
    msg.m_lExtra[1] = 42;
    msg.m_lExtraID = 9;
    msg.m_lExtra2[4] = 77;
    msg.m_bFlag = 1;
    msg.m_lExtra3 = 123456;
    msg.m_bFlag1 = 2;
    msg.m_bDeviceChange = 1;
    msg.m_data[0] = 0xAB;
    msg.m_data[271] = 0xCD;
    msg.m_strText = L"Door 3";
    CfgMessage assigned(0, 0, 0);
    assigned = msg;
    const CfgMessage constructed(msg);
    for (const CfgMessage* c : {static_cast<const CfgMessage*>(&assigned), &constructed}) {
        EXPECT_EQ(c->m_lType, -74);
        EXPECT_EQ(c->m_lValue, 7);
        EXPECT_EQ(c->m_lValue2, 11);
        EXPECT_EQ(c->m_lParams[0], 1001);
        EXPECT_EQ(c->m_lParams[15], -5);
        EXPECT_EQ(c->m_lExtra[1], 42);
        EXPECT_EQ(c->m_lExtraID, 9);
        EXPECT_EQ(c->m_lExtra2[4], 77);
        EXPECT_EQ(c->m_bFlag, 1);
        EXPECT_EQ(c->m_lExtra3, 123456);
        EXPECT_EQ(c->m_bFlag1, 2);
        EXPECT_EQ(c->m_bDeviceChange, 1);
        EXPECT_EQ(c->m_data[0], 0xAB);
        EXPECT_EQ(c->m_data[271], 0xCD);
        EXPECT_STREQ(c->m_strText.GetString(), L"Door 3");
    }
}

TEST_F(CfgMessageTest, DownloadSendsPanelDriversThenApplicationWithTypeAndAddress)
{
    CZynApp app;
    OpenMain(app);
    CfgMessage msg(-12, 3, 0);
    EXPECT_EQ(ZynDownload(msg, ZynDownloadAll), TRUE);
    ASSERT_EQ(Messages(), (std::vector<UINT>{2027, 2045}));
    for (const Seen& s : SeenLog()) {
        EXPECT_EQ(static_cast<LONG>(static_cast<LONG_PTR>(s.wp)), -12);
        EXPECT_EQ(s.cfg, &msg);
    }
    SeenLog().clear();
    EXPECT_EQ(ZynDownload(msg, ZynDownloadApp), TRUE);
    EXPECT_EQ(Messages(), (std::vector<UINT>{2045}));
    SeenLog().clear();
    EXPECT_EQ(ZynDownload(msg, ZynDownloadPanelDrivers), TRUE);
    EXPECT_EQ(Messages(), (std::vector<UINT>{2027}));
}

// A type that names neither message sends nothing and still succeeds, with or without
// a main window to send to.
TEST_F(CfgMessageTest, UnknownDownloadTypeSendsNothingAndSucceeds)
{
    CfgMessage msg(1, 1, 0);
    EXPECT_EQ(ZynDownload(msg, static_cast<ZynDownloadType>(3)), TRUE) << "no application at all";
    CZynApp app;
    OpenMain(app);
    for (const int type : {3, 4, -1, 0x7FFFFFFF}) {
        SetLastError(0);
        EXPECT_EQ(ZynDownload(msg, static_cast<ZynDownloadType>(type)), TRUE) << type;
        EXPECT_EQ(GetLastError(), 0u) << type;
    }
    EXPECT_TRUE(SeenLog().empty());
    EXPECT_EQ(msg.m_lType, 1);
    EXPECT_EQ(msg.m_lValue, 1);
}

TEST_F(CfgMessageTest, WithoutMainWindowNothingIsSentAndTheCallFails)
{
    CfgMessage msg(1, 1, 0);
    EXPECT_EQ(ZynDownload(msg, ZynDownloadAll), FALSE);  // no application at all
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_EQ(ZynUpdateDeviceConfig(4, 17, 1, 2), FALSE);
    CZynApp app;  // an application without a main window
    EXPECT_EQ(ZynDownload(msg, ZynDownloadAll), FALSE);
    EXPECT_EQ(ZynUpdateDeviceConfig(4, 17, 1, 2), FALSE);
    OpenMain(app);
    DestroyWindow(m_hMain);  // a main window object whose window has gone
    EXPECT_EQ(ZynDownload(msg, ZynDownloadAll), FALSE);
    EXPECT_TRUE(SeenLog().empty());
}

TEST_F(CfgMessageTest, DeviceConfigGoesToThePanelDriversOnly)
{
    CZynApp app;
    OpenMain(app);
    EXPECT_EQ(ZynUpdateDeviceConfig(6, 1234, 10, 44), TRUE);
    ASSERT_EQ(Messages(), (std::vector<UINT>{2027}));
    const Seen& s = SeenLog()[0];
    EXPECT_EQ(static_cast<LONG>(static_cast<LONG_PTR>(s.wp)), -74);
    EXPECT_EQ(s.value, 6);
    EXPECT_EQ(s.word0, 1234);
    EXPECT_EQ(s.word10, 10);
    EXPECT_EQ(s.word4, 44);
    EXPECT_EQ(s.deviceChange, 1);
}

TEST_F(CfgMessageTest, PromptsByCommandDeviceAndPanel)
{
    CZynApp app;
    EXPECT_EQ(ZynGetTransactionConfirmPrompt(5, ZynAcDeviceDoor, 1), L"Lock this door now?");
    EXPECT_EQ(ZynGetTransactionConfirmPrompt(7, ZynAcDeviceOutput, 1), L"Return this output to its normal schedule?");
    EXPECT_EQ(ZynGetTransactionConfirmPrompt(8, ZynAcDeviceDoor, 1), L"Unlock this door for one passage?");
    EXPECT_EQ(ZynGetTransactionConfirmPrompt(8, ZynAcDeviceOutput, 1), L"Switch this output on for its set time?");
    EXPECT_EQ(ZynGetTransactionConfirmPrompt(8, ZynAcDeviceDoor, 75).Find(L"one passage through this door"), 6);
    EXPECT_EQ(ZynGetTransactionConfirmPrompt(8, ZynAcDeviceLock, 76),
        L"Switch this lock on for the time set on the panel?");
    // Device types without a word of their own, below 2 and above 41, say "door".
    EXPECT_EQ(ZynGetTransactionConfirmPrompt(5, static_cast<ZynAcDeviceType>(3), 1), L"Lock this door now?");
    EXPECT_EQ(ZynGetTransactionConfirmPrompt(5, static_cast<ZynAcDeviceType>(-1), 1), L"Lock this door now?");
    EXPECT_EQ(ZynGetTransactionConfirmPrompt(5, static_cast<ZynAcDeviceType>(42), 1), L"Lock this door now?");
    EXPECT_EQ(ZynGetTransactionConfirmPrompt(5, ZynAcDeviceAlarmZone, 1), L"Lock this alarm zone now?");
    EXPECT_TRUE(ZynGetTransactionConfirmPrompt(9, ZynAcDeviceDoor, 1).IsEmpty());
    EXPECT_TRUE(ZynGetTransactionConfirmPrompt(0, ZynAcDeviceDoor, 1).IsEmpty());
}

TEST_F(CfgMessageTest, ConfirmedCommandIsSentWithTheObjectID)
{
    CZynApp app;
    OpenMain(app);
    AnswerScript::Push(AnswerKind::MessageBox, IDOK);
    ZynSendPanelTransaction(5, 17, L"Front door", TRUE, ZynAcDeviceDoor, 1);
    const auto shown = AnswerScript::Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, L"(Front door):  Lock this door now?");
    EXPECT_EQ(shown[0].type & (MB_TYPEMASK | MB_ICONMASK), 0x21u);
    ASSERT_EQ(Messages(), (std::vector<UINT>{2027}));
    EXPECT_EQ(SeenLog()[0].wp, 1u);
    EXPECT_EQ(SeenLog()[0].value, 5);
    EXPECT_EQ(SeenLog()[0].word0, 17);
}

TEST_F(CfgMessageTest, CancelledConfirmationSendsNothing)
{
    CZynApp app;
    OpenMain(app);
    AnswerScript::Push(AnswerKind::MessageBox, IDCANCEL);
    ZynSendPanelTransaction(6, 17, nullptr, TRUE, ZynAcDeviceOutput, 1);
    const auto shown = AnswerScript::Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text.rfind(L"Unlock this output now?", 0), 0u);  // no name: no prefix
    EXPECT_TRUE(SeenLog().empty());
}

TEST_F(CfgMessageTest, NonPositiveIDsSendNothingAndUnknownCommandsStillGo)
{
    CZynApp app;
    OpenMain(app);
    ZynSendPanelTransaction(5, 0, L"x", FALSE, ZynAcDeviceDoor, 1);
    ZynSendPanelTransaction(5, -3, L"x", FALSE, ZynAcDeviceDoor, 1);
    EXPECT_TRUE(SeenLog().empty());
    ZynSendPanelTransaction(99, 8, nullptr, FALSE, static_cast<ZynAcDeviceType>(77), 1);
    ASSERT_EQ(Messages(), (std::vector<UINT>{2027}));
    EXPECT_EQ(SeenLog()[0].value, 99);
    EXPECT_TRUE(AnswerScript::Shown().empty());
}

TEST_F(CfgMessageTest, PanelCommandWithoutMainWindowIsReportedNotSent)
{
    CZynApp app;
    AnswerScript::Push(AnswerKind::MessageBox, IDOK);
    ZynSendPanelTransaction(5, 17, L"Front door", FALSE, ZynAcDeviceDoor, 1);
    const auto shown = AnswerScript::Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].text.find(L"could not be sent"), std::wstring::npos);
    EXPECT_TRUE(SeenLog().empty());
}
