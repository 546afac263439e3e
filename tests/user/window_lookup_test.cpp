// Finding a window by its handle: the queries and sends that read a window without holding
// a reference to it fail cleanly for a window destroyed in its own message and for handles
// that were never windows, stay safe while another thread destroys its windows, and the
// default procedure answers the application's own messages with 0.
#include <atomic>
#include <cwchar>
#include <string>
#include <thread>
#include <vector>

#include "tests/user/user_test_support.h"

namespace zyn::test {
namespace {

using WindowLookupTest = UserTest;

constexpr UINT kDestroyYourself = WM_USER + 7;

TEST_F(WindowLookupTest, ADeadOrForeignHandleFailsEveryQueryWithTheHandleError)
{
    // A window that destroys itself while answering: the send still returns its answer.
    HWND dying = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 80, nullptr, 0, 0, L"going");
    rec().SetHandler([](HWND h, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (m != kDestroyYourself)
            return false;
        DestroyWindow(h);
        r = 42;
        return true;
    });
    EXPECT_EQ(SendMessageW(dying, kDestroyYourself, 0, 0), 42);
    rec().SetHandler(nullptr);
    HBRUSH brush = CreateSolidBrush(0);

    struct Query {
        const char* name;
        LONG_PTR (*call)(HWND);
    };
    const Query queries[] = {
        {"SendMessage", [](HWND h) { return static_cast<LONG_PTR>(SendMessageW(h, WM_USER, 0, 0)); }},
        {"GetWindowText",
            [](HWND h) {
                wchar_t buf[8] = L"unset";
                const int n = GetWindowTextW(h, buf, 8);
                return static_cast<LONG_PTR>(n != 0 || buf[0] != L'\0' ? 1 : 0); // cleared, nothing read
            }},
        {"GetWindowTextLength", [](HWND h) { return static_cast<LONG_PTR>(GetWindowTextLengthW(h)); }},
        {"GetWindowLong style", [](HWND h) { return static_cast<LONG_PTR>(GetWindowLongW(h, GWL_STYLE)); }},
        {"GetWindowLong extra", [](HWND h) { return static_cast<LONG_PTR>(GetWindowLongW(h, 0)); }},
        {"GetWindowLongPtr proc", [](HWND h) { return GetWindowLongPtrW(h, GWLP_WNDPROC); }},
        {"GetParent", [](HWND h) { return reinterpret_cast<LONG_PTR>(GetParent(h)); }},
        {"GetWindow next", [](HWND h) { return reinterpret_cast<LONG_PTR>(GetWindow(h, GW_HWNDNEXT)); }},
        {"GetWindow first", [](HWND h) { return reinterpret_cast<LONG_PTR>(GetWindow(h, GW_HWNDFIRST)); }},
        {"GetClassName",
            [](HWND h) {
                wchar_t buf[32] = L"";
                return static_cast<LONG_PTR>(GetClassNameW(h, buf, 32));
            }},
    };
    const std::pair<const char*, HWND> handles[] = {
        {"destroyed in its own message", dying},
        {"a brush", reinterpret_cast<HWND>(brush)},
        {"never a window", reinterpret_cast<HWND>(static_cast<uintptr_t>(0x12345))},
        {"null", nullptr},
    };
    for (const auto& [what, h] : handles) {
        EXPECT_FALSE(IsWindow(h)) << what;
        EXPECT_FALSE(IsWindowVisible(h)) << what;
        EXPECT_FALSE(IsWindowEnabled(h)) << what;
        for (const Query& q : queries) {
            SetLastError(0);
            EXPECT_EQ(q.call(h), 0) << q.name << " on " << what;
            EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE) << q.name << " on " << what;
        }
    }
    DeleteObject(brush);
}

TEST_F(WindowLookupTest, QueriesStaySafeWhileAnotherThreadDestroysItsWindows)
{
    // The worker makes windows and destroys them, round after round; this thread reads
    // them meanwhile. Each read finds the window whole or finds no window (the sanitizers
    // catch a read of a freed one).
    constexpr int kWindows = 32;
    constexpr int kRounds = 40;
    std::vector<std::atomic<HWND>> handles(kWindows);
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int round = 0; round < kRounds; ++round) {
            for (auto& h : handles)
                h = CreateWindowExW(0, kRecClass, L"worker's", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                    nullptr, nullptr);
            for (auto& h : handles)
                DestroyWindow(h.exchange(nullptr));
        }
        done = true;
    });
    std::vector<HWND> gone;
    while (!done) {
        for (auto& slot : handles) {
            const HWND h = slot.load();
            if (!h)
                continue;
            const LONG style = GetWindowLongW(h, GWL_STYLE);
            wchar_t cls[32] = L"";
            const int n = GetClassNameW(h, cls, 32);
            wchar_t text[32] = L"";
            InternalGetWindowText(h, text, 32);
            if (n > 0) {
                EXPECT_STREQ(cls, kRecClass);
            }
            if (style) {
                EXPECT_EQ(style & WS_POPUP, WS_POPUP);
            }
            if (text[0]) {
                EXPECT_STREQ(text, L"worker's");
            }
            (void)GetParent(h);
            (void)GetWindow(h, GW_HWNDNEXT);
            (void)IsWindowVisible(h);
            if (gone.size() < 64)
                gone.push_back(h);
        }
    }
    worker.join();
    for (const HWND h : gone) {
        EXPECT_FALSE(IsWindow(h));
        EXPECT_EQ(GetWindowLongW(h, GWL_STYLE), 0);
    }
}

TEST_F(WindowLookupTest, TheDefaultProcedureAnswersTheApplicationsMessagesWithZero)
{
    HWND h = Make(WS_POPUP, 0, 0, 10, 10, nullptr, 0, 0, L"Hello");
    for (const UINT msg : {0x0400u, 0x0401u, 0x80A0u, 0xBFFFu, 0xC000u, 0xFFFFu}) {
        SetLastError(0);
        EXPECT_EQ(DefWindowProcW(h, msg, 1, 2), 0) << std::hex << msg;
        EXPECT_EQ(DefWindowProcW(nullptr, msg, 1, 2), 0) << std::hex << msg;
        EXPECT_EQ(GetLastError(), 0u) << std::hex << msg;
    }
    EXPECT_EQ(DefWindowProcW(h, WM_GETTEXTLENGTH, 0, 0), 5);
    DestroyWindow(h);
    wchar_t buf[8] = L"?";
    EXPECT_EQ(DefWindowProcW(h, WM_GETTEXT, 8, reinterpret_cast<LPARAM>(buf)), 0);
    EXPECT_STREQ(buf, L"?") << "a dead window's text is not read";
    EXPECT_EQ(DefWindowProcW(h, WM_GETTEXTLENGTH, 0, 0), 0);
}

} // namespace
} // namespace zyn::test
