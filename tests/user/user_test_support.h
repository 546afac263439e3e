#pragma once
// Fixture and helpers for window-system tests: a fresh desktop and window system per case,
// leak checks on windows, hooks, GDI objects and DCs, and a recording window class.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/base/clock.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/driver.h"
#include "platform/user/modal.h"
#include "platform/base/threads.h"
#include "platform/user/thread_state.h"
#include "platform/user/user_hooks.h"
#include "platform/user/winuser.h"
#include "tests/support/testenv.h"

namespace zyn::test {

// One recorded message.
struct Rec {
    HWND hwnd;
    UINT msg;
    WPARAM wp;
    LPARAM lp;
};

// Records messages of windows of the "Rec" class (and any window subclassed with
// RecordProc) and lets a case answer particular messages.
class Recorder {
public:
    static Recorder& Get();
    void Clear() { m_log.clear(); }
    const std::vector<Rec>& Log() const { return m_log; }
    // Messages (names) recorded for a window, filtered to those in `only` when not empty.
    std::vector<UINT> For(HWND h, const std::vector<UINT>& only = {}) const;
    std::vector<UINT> All(const std::vector<UINT>& only = {}) const;
    // Overrides the answer to a message for every recorded window: the function gets the
    // message and returns true with `result` set to answer it instead of DefWindowProc.
    using Handler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT& result)>;
    void SetHandler(Handler h) { m_handler = std::move(h); }
    void Record(HWND h, UINT m, WPARAM wp, LPARAM lp) { m_log.push_back(Rec{h, m, wp, lp}); }
    bool Handle(HWND h, UINT m, WPARAM wp, LPARAM lp, LRESULT& r) { return m_handler && m_handler(h, m, wp, lp, r); }
    void Reset()
    {
        m_log.clear();
        m_handler = nullptr;
    }

private:
    std::vector<Rec> m_log;
    Handler m_handler;
};

LRESULT RecordProc(HWND h, UINT m, WPARAM wp, LPARAM lp);

// Index of the first occurrence of `msg` in `seq` (or -1).
int IndexOf(const std::vector<UINT>& seq, UINT msg, size_t from = 0);

class UserTest : public ::testing::Test {
public:
    // The recording class, and a class painting its client area in the colour held in
    // GWLP_USERDATA (for pixel tests).
    static const wchar_t* kRecClass;
    static const wchar_t* kSolidClass;

protected:
    void SetUp() override;
    void TearDown() override;

    // A window of the recording class.
    HWND Make(DWORD style, int x, int y, int cx, int cy, HWND parent = nullptr, DWORD exStyle = 0,
        UINT_PTR id = 0, const wchar_t* text = L"");
    // Runs the message loop until the queue has nothing left (sends, posts, input, paint,
    // due timers).
    void Pump();
    COLORREF Pixel(int x, int y);
    Recorder& rec() { return Recorder::Get(); }

private:
    size_t m_objects = 0;
    size_t m_dcs = 0;
    size_t m_hooks = 0;
};

} // namespace zyn::test
