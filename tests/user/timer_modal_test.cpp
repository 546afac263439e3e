// Timers on the virtual clock, the modal loop and its script, message boxes.
#include <thread>

#include "platform/base/msgbox_hook.h"
#include "tests/user/user_test_support.h"

namespace zyn::test {
namespace {

using zyn::base::Clock;

class TimerTest : public UserTest {
protected:
    void SetUp() override
    {
        UserTest::SetUp();
        Clock::UseVirtual(10000);
    }
};

std::vector<std::pair<HWND, UINT_PTR>> g_procCalls;
void CALLBACK_TimerProc(HWND h, UINT, UINT_PTR id, DWORD) { g_procCalls.emplace_back(h, id); }

TEST_F(TimerTest, TimersFireOnlyWhenTheClockReachesThem)
{
    HWND h = Make(WS_POPUP, 0, 0, 10, 10);
    EXPECT_EQ(SetTimer(h, 7, 100, nullptr), 7u);
    Pump();
    EXPECT_TRUE(rec().For(h, {WM_TIMER}).empty());
    Clock::Advance(99);
    Pump();
    EXPECT_TRUE(rec().For(h, {WM_TIMER}).empty());
    Clock::Advance(1);
    Pump();
    ASSERT_EQ(rec().For(h, {WM_TIMER}).size(), 1u);
    EXPECT_EQ(rec().Log().back().wp, 7u);
    // A timer far overdue fires once, not once per period missed.
    rec().Clear();
    Clock::Advance(1000);
    Pump();
    EXPECT_EQ(rec().For(h, {WM_TIMER}).size(), 1u);
    // Resetting the same ID restarts it; KillTimer stops it.
    SetTimer(h, 7, 500, nullptr);
    rec().Clear();
    Clock::Advance(400);
    Pump();
    EXPECT_TRUE(rec().For(h, {WM_TIMER}).empty());
    EXPECT_TRUE(KillTimer(h, 7));
    Clock::Advance(1000);
    Pump();
    EXPECT_TRUE(rec().For(h, {WM_TIMER}).empty());
    SetLastError(0);
    EXPECT_FALSE(KillTimer(h, 7));
    // A destroyed window's timers go with it.
    SetTimer(h, 8, 10, nullptr);
    DestroyWindow(h);
    Clock::Advance(100);
    MSG m;
    EXPECT_FALSE(PeekMessageW(&m, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
}

TEST_F(TimerTest, TimerProcsRunThroughDispatchMessage)
{
    g_procCalls.clear();
    HWND h = Make(WS_POPUP, 0, 0, 10, 10);
    SetTimer(h, 3, 50, CALLBACK_TimerProc);
    const UINT_PTR threadTimer = SetTimer(nullptr, 0, 60, CALLBACK_TimerProc);
    EXPECT_NE(threadTimer, 0u);
    const UINT_PTR other = SetTimer(nullptr, 0, 60, CALLBACK_TimerProc);
    EXPECT_NE(other, threadTimer);
    Clock::Advance(60);
    Pump();
    EXPECT_EQ(g_procCalls.size(), 3u);
    EXPECT_TRUE(rec().For(h, {WM_TIMER}).empty()); // the procedure, not the window, got it
    // A forged timer message naming a procedure that no timer has is not called.
    MSG forged{h, WM_TIMER, 99, reinterpret_cast<LPARAM>(&CALLBACK_TimerProc), 0, {}};
    g_procCalls.clear();
    DispatchMessageW(&forged);
    EXPECT_TRUE(g_procCalls.empty());
    KillTimer(nullptr, threadTimer);
    KillTimer(nullptr, other);
    DestroyWindow(h);
    // Only windows of this thread take timers; the elapse is clamped.
    SetLastError(0);
    EXPECT_EQ(SetTimer(reinterpret_cast<HWND>(static_cast<uintptr_t>(0x0800ABCD)), 1, 10, nullptr), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(TimerTest, GetMessageWaitsForTheNextTimerByMovingVirtualTime)
{
    HWND h = Make(WS_POPUP, 0, 0, 10, 10);
    SetTimer(h, 1, 250, nullptr);
    const uint64_t before = Clock::NowMs();
    MSG m;
    ASSERT_EQ(GetMessageW(&m, nullptr, 0, 0), TRUE);
    EXPECT_EQ(m.message, WM_TIMER);
    EXPECT_EQ(Clock::NowMs() - before, 250u);
    KillTimer(h, 1);
    DestroyWindow(h);
}

using ModalTest = TimerTest;

TEST_F(ModalTest, ScriptedLoopEndsWhenDryButNotBeforeADueTimer)
{
    user::SetScriptedMode(true);
    HWND h = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    SetTimer(h, 1, 100, nullptr);
    // Not due yet: the loop does not wait for it.
    user::ModalLoopParams p;
    EXPECT_EQ(user::RunModalLoop(p), user::ModalEnd::Cancelled);
    EXPECT_TRUE(rec().For(h, {WM_TIMER}).empty());
    // Due: it is dispatched before the loop ends.
    Clock::Advance(100);
    rec().Clear();
    EXPECT_EQ(user::RunModalLoop(p), user::ModalEnd::Cancelled);
    EXPECT_EQ(rec().For(h, {WM_TIMER}).size(), 1u);
    // Posted messages and input are the script too.
    rec().Clear();
    PostMessageW(h, WM_USER, 0, 0);
    user::InjectClick(50, 50);
    EXPECT_EQ(user::RunModalLoop(p), user::ModalEnd::Cancelled);
    EXPECT_EQ(rec().For(h, {WM_USER, WM_LBUTTONDOWN, WM_LBUTTONUP}),
        (std::vector<UINT>{WM_USER, WM_LBUTTONDOWN, WM_LBUTTONUP}));
    EXPECT_EQ(user::PendingInputCount(), 0u);
    KillTimer(h, 1);
    DestroyWindow(h);
}

TEST_F(ModalTest, LoopEndsByPredicateOwnerQuitAndRunsIdleActions)
{
    user::SetScriptedMode(true);
    HWND h = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    bool done = false;
    int idle = 0;
    user::QueueIdleAction([&] { PostMessageW(h, WM_USER + 1, 0, 0); });
    user::QueueIdleAction([&] { done = true; });
    user::ModalLoopParams p;
    p.owner = h;
    p.done = [&] { return done; };
    p.onIdle = [&](int) {
        ++idle;
        return false;
    };
    EXPECT_EQ(user::RunModalLoop(p), user::ModalEnd::Ended);
    EXPECT_EQ(rec().For(h, {WM_USER + 1}).size(), 1u);
    EXPECT_GE(idle, 2);
    EXPECT_EQ(user::PendingIdleActions(), 0u);
    // WM_QUIT ends the loop and stays for the outer loop.
    PostQuitMessage(3);
    p.done = nullptr;
    EXPECT_EQ(user::RunModalLoop(p), user::ModalEnd::Quit);
    MSG m;
    ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_EQ(m.wParam, 3u);
    // The owner going away cancels the loop.
    user::QueueIdleAction([&] { DestroyWindow(h); });
    EXPECT_EQ(user::RunModalLoop(p), user::ModalEnd::Cancelled);
}

TEST_F(UserTest, OutsideScriptedModeTheLoopWaitsForMessages)
{
    HWND h = Make(WS_POPUP, 0, 0, 10, 10);
    bool done = false;
    rec().SetHandler([&done](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (m == WM_USER + 5) {
            done = true;
            r = 0;
            return true;
        }
        return false;
    });
    std::thread poster([h] {
        Sleep(30);
        PostMessageW(h, WM_USER + 5, 0, 0);
    });
    user::ModalLoopParams p;
    p.done = [&] { return done; };
    EXPECT_EQ(user::RunModalLoop(p), user::ModalEnd::Ended);
    poster.join();
    DestroyWindow(h);
}

TEST_F(ModalTest, MsgFilterHookSeesLoopMessagesAndCanTakeThem)
{
    user::SetScriptedMode(true);
    HWND h = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    static std::vector<int> codes;
    codes.clear();
    HHOOK hk = SetWindowsHookExW(WH_MSGFILTER, [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
        auto* m = reinterpret_cast<MSG*>(lp);
        if (m->message == WM_USER + 2) {
            codes.push_back(code);
            return 1; // taken: not dispatched
        }
        return CallNextHookEx(nullptr, code, wp, lp);
    }, nullptr, GetCurrentThreadId());
    PostMessageW(h, WM_USER + 2, 0, 0);
    PostMessageW(h, WM_USER + 3, 0, 0);
    user::ModalLoopParams p;
    p.msgFilterCode = MSGF_DIALOGBOX;
    user::RunModalLoop(p);
    EXPECT_EQ(codes, (std::vector<int>{MSGF_DIALOGBOX}));
    EXPECT_TRUE(rec().For(h, {WM_USER + 2}).empty());
    EXPECT_EQ(rec().For(h, {WM_USER + 3}).size(), 1u);
    UnhookWindowsHookEx(hk);
    DestroyWindow(h);
}

TEST_F(ModalTest, MessageBoxesAnswerFromTheScriptAndAreRecorded)
{
    // No script: the default button.
    EXPECT_EQ(MessageBoxW(nullptr, L"Save?", L"App", MB_YESNOCANCEL | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(MessageBoxW(nullptr, L"Done", nullptr, MB_OK), IDOK);
    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDCANCEL);
    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDRETRY); // not a button of the next box
    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDCANCEL);
    EXPECT_EQ(MessageBoxW(nullptr, L"Really?", L"App", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBoxW(nullptr, L"Really?", L"App", MB_YESNO), IDYES);
    // Escape on an OK-only box is OK.
    EXPECT_EQ(MessageBoxW(nullptr, L"Note", L"App", MB_OK), IDOK);
    const auto shown = user::AnswerScript::Shown();
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[0].text, L"Save?");
    EXPECT_FALSE(shown[0].scripted);
    EXPECT_EQ(shown[1].caption, L"Error");
    EXPECT_TRUE(shown[2].scripted);
    EXPECT_FALSE(shown[3].scripted);
    EXPECT_FALSE(shown[3].note.empty());
    EXPECT_EQ(shown[4].result, IDOK);
    // A bad button set is refused.
    SetLastError(0);
    EXPECT_EQ(MessageBoxW(nullptr, L"x", L"y", 0xF), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_MSGBOX_STYLE);
    // Code below the window system shows its boxes here too.
    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDNO);
    EXPECT_EQ(zyn::base::ShowMessageBox(L"from base", L"Base", MB_YESNO), IDNO);
    EXPECT_EQ(user::AnswerScript::Shown().back().text, L"from base");
    user::AnswerScript::Clear();
    EXPECT_TRUE(user::AnswerScript::Shown().empty());
}

} // namespace
} // namespace zyn::test
