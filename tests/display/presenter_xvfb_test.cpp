// The presenter end to end: a small window tree shown in a real X window (a private Xvfb),
// driven by xdotool the way a person would drive it. At each state (a menu, a toolbar
// drop-down, a dialog) the X screen is dumped with xwd and compared pixel for pixel with
// the headless framebuffer of the same state reached by injected input. Then the real
// window's close request goes to the host, which asks about unsaved work: cancelled,
// nothing closes; answered, the host saves and ends.
#include <gtest/gtest.h>

#include <SDL_events.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "platform/base/clock.h"
#include "platform/base/utf16.h"
#include "platform/comctl/commctrl.h"
#include "platform/comctl/toolbar.h"
#include "platform/display/presenter.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/png_export.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/surface.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/button.h"
#include "platform/user/display.h"
#include "platform/user/edit.h"
#include "platform/user/driver.h"
#include "platform/user/input.h"
#include "platform/user/menu.h"
#include "platform/user/messages.h"
#include "platform/user/msgbox.h"
#include "platform/user/msgqueue.h"
#include "platform/user/popup_menu.h"
#include "platform/user/styles.h"
#include "platform/user/vkeys.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "tests/display/x_keyboard.h"
#include "tests/display/xvfb_server.h"
#include "tests/support/testenv.h"

namespace zyn::test {
namespace {

constexpr int kW = 640, kH = 480;
constexpr UINT kDialogButton = 101, kPrint = 201, kFind = 202;

// ---- the host: a frame with a menu bar, a toolbar with a drop-down and a button ---------------

struct Host {
    HWND main = nullptr, toolbar = nullptr, button = nullptr;
    HMENU bar = nullptr, drop = nullptr;
    bool saved = false;
    LPARAM displaySize = 0; // the last WM_DISPLAYCHANGE
    int wheel = 0;          // WM_MOUSEWHEEL deltas summed
    HWND edit = nullptr;
};
// Posted to the frame: add an edit box with the focus (after the pictures: its caret blinks).
constexpr UINT kMsgAddEdit = WM_APP + 1;
Host* g_host = nullptr;

LRESULT HostProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    switch (m) {
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lp);
        if (hdr->code == TBN_DROPDOWN) {
            auto* nm = reinterpret_cast<NMTOOLBARW*>(hdr);
            RECT r = nm->rcButton;
            MapWindowPoints(hdr->hwndFrom, nullptr, reinterpret_cast<POINT*>(&r), 2);
            TrackPopupMenu(g_host->drop, TPM_LEFTALIGN | TPM_TOPALIGN, r.left, r.bottom, 0, h, nullptr);
            return TBDDRET_DEFAULT;
        }
        break;
    }
    case WM_COMMAND:
        if (LOWORD(static_cast<DWORD>(wp)) == kDialogButton)
            MessageBoxW(h, L"Open the door now?", L"Door", MB_OKCANCEL | MB_ICONQUESTION);
        return 0;
    case WM_CLOSE:
        // The host's own rule: unsaved work is offered for saving; Cancel keeps the window.
        switch (MessageBoxW(h, L"Save the changes to the door list?", L"Console", MB_YESNOCANCEL)) {
        case IDCANCEL: return 0;
        case IDYES: g_host->saved = true; break;
        default: break;
        }
        DestroyWindow(h);
        return 0;
    case WM_MOUSEWHEEL:
        g_host->wheel += static_cast<short>(HIWORD(static_cast<DWORD>(wp)));
        return 0;
    case kMsgAddEdit:
        g_host->edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 20, 130,
            200, 24, h, nullptr, nullptr, nullptr);
        SetFocus(g_host->edit);
        return 0;
    case WM_DISPLAYCHANGE:
        g_host->displaySize = lp;
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default: break;
    }
    return DefWindowProcW(h, m, wp, lp);
}

bool BuildHost(Host& host)
{
    g_host = &host;
    WNDCLASSW wc{};
    wc.lpfnWndProc = HostProc;
    wc.lpszClassName = L"PresenterTestHost";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BTNFACE + 1));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    if (!RegisterClassW(&wc))
        return false;
    host.bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, 1, L"&New door\tCtrl+N");
    AppendMenuW(file, MF_STRING, 2, L"&Open...");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, 3, L"E&xit");
    HMENU view = CreatePopupMenu();
    AppendMenuW(view, MF_STRING | MF_CHECKED, 4, L"&Toolbar");
    AppendMenuW(host.bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    AppendMenuW(host.bar, MF_POPUP, reinterpret_cast<UINT_PTR>(view), L"&View");
    host.drop = CreatePopupMenu();
    AppendMenuW(host.drop, MF_STRING, 11, L"Print the &list");
    AppendMenuW(host.drop, MF_STRING, 12, L"Print the &events");
    host.main = CreateWindowExW(0, L"PresenterTestHost", L"Console", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN,
        20, 20, 420, 300, nullptr, host.bar, nullptr, nullptr);
    if (!host.main)
        return false;
    host.toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST,
        0, 0, 0, 0, host.main, nullptr, nullptr, nullptr);
    if (!host.toolbar)
        return false;
    SendMessageW(host.toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(host.toolbar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    TBBUTTON buttons[2]{};
    buttons[0].iBitmap = I_IMAGENONE;
    buttons[0].idCommand = kPrint;
    buttons[0].fsState = TBSTATE_ENABLED;
    buttons[0].fsStyle = BTNS_DROPDOWN | BTNS_AUTOSIZE;
    buttons[0].iString = reinterpret_cast<INT_PTR>(L"Print");
    buttons[1].iBitmap = I_IMAGENONE;
    buttons[1].idCommand = kFind;
    buttons[1].fsState = TBSTATE_ENABLED;
    buttons[1].fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE;
    buttons[1].iString = reinterpret_cast<INT_PTR>(L"Find");
    SendMessageW(host.toolbar, TB_ADDBUTTONSW, 2, reinterpret_cast<LPARAM>(buttons));
    SendMessageW(host.toolbar, TB_AUTOSIZE, 0, 0);
    host.button = CreateWindowExW(0, L"Button", L"Door dialog...", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 80, 140,
        28, host.main, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kDialogButton)), nullptr, nullptr);
    return host.button != nullptr;
}

void RunLoop()
{
    MSG m{};
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// Screen points of what the script clicks, from the window tree itself.
struct Targets {
    POINT file, dropArrow, button;
};
Targets TargetsOf(const Host& host)
{
    Targets t{};
    RECT r{};
    GetMenuItemRect(host.main, host.bar, 0, &r);
    t.file = Centre(r);
    SendMessageW(host.toolbar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(host.toolbar, nullptr, reinterpret_cast<POINT*>(&r), 2);
    t.dropArrow = POINT{r.right - 5, (r.top + r.bottom) / 2};
    GetWindowRect(host.button, &r);
    t.button = Centre(r);
    return t;
}

// ---- the person: xdotool on the X display, or injected input headless ------------------------

class Person {
public:
    virtual ~Person() = default;
    virtual void Move(POINT p) = 0;
    virtual void Click(POINT p) = 0;
    virtual void Key(const char* xName, int vk) = 0;
};

// Runs xdotool and reports it when it fails: a lost action would otherwise show up only
// as a state that never came.
void XDoTool(const std::vector<std::string>& args)
{
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    std::string line;
    for (const auto& a : argv)
        line += (line.empty() ? "" : " ") + a;
    EXPECT_EQ(RunTool(argv), 0) << "failed: " << line;
}

class XPerson final : public Person {
public:
    void Move(POINT p) override { XDoTool({"mousemove", std::to_string(p.x), std::to_string(p.y)}); }
    void Click(POINT p) override
    {
        XDoTool({"mousemove", std::to_string(p.x), std::to_string(p.y), "click", "1"});
    }
    void Key(const char* xName, int) override { XDoTool({"key", xName}); }
};

// Counts the UI thread's idle waits headless, as the presenter's pump counts them live, and
// injects the headless person's input from there: on the UI thread, as the presenter does
// (input over no window belongs to the injecting thread).
class CountingPump final : public user::DisplayPump {
public:
    void Pump() override
    {
        std::vector<std::function<void()>> now;
        {
            std::lock_guard lock(m_mutex);
            now.swap(m_pending);
        }
        for (auto& f : now)
            f();
        ++count;
    }
    void Later(std::function<void()> f)
    {
        std::lock_guard lock(m_mutex);
        m_pending.push_back(std::move(f));
    }
    std::atomic<uint64_t> count{0};

private:
    std::mutex m_mutex;
    std::vector<std::function<void()>> m_pending;
};

class InjectingPerson final : public Person {
public:
    explicit InjectingPerson(CountingPump& pump) : m_pump(pump) {}
    void Move(POINT p) override
    {
        m_pump.Later([p] { user::InjectMouseMove(p.x, p.y); });
    }
    void Click(POINT p) override
    {
        m_pump.Later([p] {
            user::InjectMouseMove(p.x, p.y);
            user::InjectMouseButton(user::MouseButton::Left, true);
            user::InjectMouseButton(user::MouseButton::Left, false);
        });
    }
    void Key(const char*, int vk) override
    {
        m_pump.Later([vk] { user::InjectKeyPress(vk); });
    }

private:
    CountingPump& m_pump;
};

// How long any awaited state may take. Generous: a loaded machine (the whole suite on two
// cores) can leave the UI thread, the X server or xdotool unscheduled for seconds, and a
// state that does come ends the wait at once.
constexpr auto kPatience = std::chrono::seconds(30);

// Waits until `state` holds, with no regard to the UI thread (which may have ended).
bool WaitFor(const std::function<bool()>& state)
{
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!state()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Waits until the input is taken, `state` holds and the UI thread has been idle (all
// painted, and shown when live) a few times since. False when that did not come within
// kPatience.
bool Settle(const std::function<bool()>& state, const std::function<uint64_t()>& idle)
{
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < deadline) {
        if (user::PendingInputCount() == 0 && state()) {
            const uint64_t seen = idle();
            while (idle() < seen + 3 && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            if (user::PendingInputCount() == 0 && state())
                return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

bool PopupShown() { return IsWindowVisible(FindWindowW(L"#32768", nullptr)) != FALSE; }
bool BoxShown(const wchar_t* caption) { return IsWindowVisible(FindWindowW(L"#32770", caption)) != FALSE; }

struct Shot {
    std::string name;
    std::vector<uint32_t> pixels; // 0x00RRGGBB, kW x kH
};

// Walks the script; `capture` takes a picture of each state. Failures are reported as
// they happen; the script then backs out (Escape) so the loop can end.
void Script(Person& person, const Host& host, const std::function<uint64_t()>& idle,
    const std::function<std::vector<uint32_t>(const char*)>& capture, std::vector<Shot>& shots)
{
    const Targets t = TargetsOf(host);
    auto step = [&](const char* name, const std::function<void()>& act, const std::function<bool()>& state,
                    const std::function<void()>& back, const std::function<bool()>& closed) {
        act();
        if (Settle(state, idle))
            shots.push_back(Shot{name, capture(name)});
        else
            ADD_FAILURE() << name << ": the state never came (awaited: it shown, all input taken and the UI "
                          << "thread idle since)";
        back();
        EXPECT_TRUE(Settle(closed, idle)) << name << ": did not close (awaited: it gone, all input taken and "
                                          << "the UI thread idle since)";
    };
    const POINT rest{5, kH - 5};
    person.Move(rest);
    EXPECT_TRUE(Settle([&] {
        POINT p{};
        GetCursorPos(&p);
        return p.x == rest.x && p.y == rest.y;
    }, idle)) << "the pointer never reached its resting place";
    step("menu", [&] { person.Click(t.file); }, PopupShown,
        [&] {
            person.Key("Escape", VK_ESCAPE);
            person.Key("Escape", VK_ESCAPE);
        },
        [] { return !PopupShown(); });
    step("dropdown", [&] { person.Click(t.dropArrow); }, PopupShown, [&] { person.Key("Escape", VK_ESCAPE); },
        [] { return !PopupShown(); });
    step("dialog", [&] { person.Click(t.button); }, [] { return BoxShown(L"Door"); },
        [&] { person.Key("Escape", VK_ESCAPE); }, [] { return !BoxShown(L"Door"); });
}

std::vector<uint32_t> Framebuffer()
{
    auto s = gdi::DesktopSurface();
    std::vector<uint32_t> out;
    for (int y = 0; y < s->Height(); ++y)
        for (int x = 0; x < s->Width(); ++x)
            out.push_back(s->Row32(y)[x] & 0xFFFFFFu);
    return out;
}

// The pixels of the X screen's top left corner, where the real window is, that differ from
// the framebuffer (which is smaller than the screen once the window was made smaller).
size_t DifferFromFramebuffer(const XwdImage& img)
{
    auto s = gdi::DesktopSurface();
    if (s->Width() > img.width || s->Height() > img.height)
        return size_t(s->Width()) * size_t(s->Height());
    size_t differ = 0;
    for (int y = 0; y < s->Height(); ++y)
        for (int x = 0; x < s->Width(); ++x)
            differ += (s->Row32(y)[x] & 0xFFFFFFu) != img.pixels[size_t(y) * size_t(img.width) + size_t(x)];
    return differ;
}

void SavePng(const std::vector<uint32_t>& px, int w, int h, const std::string& path)
{
    auto s = gdi::Surface::Create(w, h, gdi::PixelFormat::Bgrx32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            s->Row32(y)[x] = px[size_t(y) * w + x];
    gdi::SaveSurfacePng(*s, nullptr, path);
}

// Where the pictures go: beside the test program, so a person can open them.
std::filesystem::path ShotFolder()
{
    std::error_code ec;
    auto dir = std::filesystem::current_path(ec) / "presenter_shots";
    std::filesystem::create_directories(dir, ec);
    return dir;
}

TEST(PresenterXvfb, RealWindowShowsWhatTheHeadlessDesktopShowsAndCloseAsksFirst)
{
    for (const char* tool : {"xdotool", "xwd"})
        if (!HaveTool(tool))
            GTEST_SKIP() << tool << " is not installed (scripts/deps installs it)";
    XvfbServer x;
    std::string why;
    if (!x.Start(kW, kH, why))
        GTEST_SKIP() << "no X server for the presenter: " << why;
    // The letter typed outside the layout (a with diaeresis) keeps a key of the X server's
    // for the whole run, so no client reads its key press after xdotool took the key back.
    ASSERT_TRUE(BindKeysymToSpareKey(0xE4, why)) << why;

    // ---- live: the presenter on the X display, xdotool as the person ----
    std::vector<Shot> live;
    {
        user::ResetWindowSystemForTests(kW, kH);
        Host host;
        ASSERT_TRUE(BuildHost(host));
        display::PresenterOptions opt;
        opt.title = L"Console";
        opt.x = 0;
        opt.y = 0;
        opt.mainWindow = host.main;
        base::Clock::UseVirtual(1000);
        ASSERT_TRUE(display::StartPresenter(opt, &why)) << why;
        EXPECT_FALSE(base::Clock::IsVirtual()) << "a person at the display lives in real time";
        auto idle = [] { return display::GetPresenterStats().pumps; };
        int dump = 0;
        // The X screen of a settled state: dumped until it shows the framebuffer, since the
        // server draws what the presenter sent in its own time; the last dump when it never
        // does, to be compared (and saved) below.
        auto capture = [&](const char* state) -> std::vector<uint32_t> {
            // Named by process too: two runs of the suite in one build share the folder.
            const std::string path =
                (ShotFolder() / ("dump" + std::to_string(getpid()) + "-" + std::to_string(dump++) + ".xwd")).string();
            const auto deadline = std::chrono::steady_clock::now() + kPatience;
            XwdImage img;
            for (;;) {
                if (RunTool({"xwd", "-root", "-silent", "-out", path}) != 0) {
                    ADD_FAILURE() << state << ": xwd could not dump the X screen";
                    return {};
                }
                std::string bad;
                if (!ReadXwd(path, img, bad)) {
                    ADD_FAILURE() << state << ": " << bad;
                    return {};
                }
                std::filesystem::remove(path);
                if (img.width != kW || img.height != kH) {
                    ADD_FAILURE() << state << ": the X screen is " << img.width << "x" << img.height << ", not " << kW
                                  << "x" << kH;
                    return {};
                }
                const size_t differ = DifferFromFramebuffer(img);
                if (differ == 0)
                    return img.pixels;
                if (std::chrono::steady_clock::now() >= deadline) {
                    ADD_FAILURE() << state << ": the X screen never showed the framebuffer (" << differ
                                  << " pixels differ after " << kPatience.count() << " s)";
                    return img.pixels;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        };
        std::thread person([&] {
            XPerson p;
            Script(p, host, idle, capture, live);
            // The real window resized: the desktop follows.
            XDoTool({"search", "--name", "^Console$", "windowsize", "600", "400"});
            EXPECT_TRUE(Settle([] { return GetSystemMetrics(SM_CXSCREEN) == 600 && GetSystemMetrics(SM_CYSCREEN) == 400; },
                idle)) << "the desktop did not follow the window's new size (awaited: a 600x400 screen)";
            // The wheel, one notch up.
            XDoTool({"mousemove", "300", "200", "click", "4"});
            EXPECT_TRUE(Settle([&] { return host.wheel != 0; }, idle)) << "no wheel message (awaited: WM_MOUSEWHEEL)";
            EXPECT_EQ(host.wheel, 120) << "a notch is WHEEL_DELTA";
            // Typing: each character once, whatever path it takes (US punctuation through
            // the key, a letter outside the layout through the text event).
            PostMessageW(host.main, kMsgAddEdit, 0, 0);
            EXPECT_TRUE(Settle([&] { return host.edit && IsWindowVisible(host.edit); }, idle))
                << "awaited: the edit box shown";
            XDoTool({"type", "--delay", "20", "Door 7/B\u00e4"});
            const std::wstring typed = L"Door 7/B\u00e4";
            std::wstring got;
            EXPECT_TRUE(Settle([&] {
                wchar_t text[64] = {};
                GetWindowTextW(host.edit, text, 64);
                got = text;
                return typed == got;
            }, idle)) << "the edit box did not get exactly what was typed: " << base::ToUtf8(got);
            // The real window's close box: the host asks; Escape cancels, nothing closes.
            auto requestClose = [] {
                SDL_Event e{};
                e.type = SDL_WINDOWEVENT;
                e.window.event = SDL_WINDOWEVENT_CLOSE;
                SDL_PushEvent(&e);
            };
            const HWND main = host.main;
            requestClose();
            if (Settle([] { return BoxShown(L"Console"); }, idle)) {
                live.push_back(Shot{"close", capture("close")});
                p.Key("Escape", VK_ESCAPE);
            } else {
                ADD_FAILURE() << "closing the real window did not ask the host (awaited: its question shown)";
            }
            EXPECT_TRUE(Settle([] { return !BoxShown(L"Console"); }, idle)) << "awaited: the question gone";
            EXPECT_TRUE(IsWindow(main)) << "a cancelled close must keep the window and its work";
            // Again, answered Yes (the default button): the host saves, then ends.
            requestClose();
            if (Settle([] { return BoxShown(L"Console"); }, idle))
                p.Key("Return", VK_RETURN);
            else
                ADD_FAILURE() << "closing the real window again did not ask the host (awaited: its question shown)";
            // Its loop ends with the window: no idle pumps (nor the key's release) follow.
            if (!WaitFor([&] { return !IsWindow(main); })) {
                ADD_FAILURE() << "the host did not end (awaited: its main window destroyed)";
                PostMessageW(main, WM_DESTROY, 0, 0);
            }
        });
        RunLoop();
        person.join();
        EXPECT_TRUE(host.saved) << "the close answered Yes saves the work first";
        const display::PresenterStats stats = display::GetPresenterStats();
        EXPECT_GE(stats.closeRequests, 2u);
        EXPECT_GE(stats.resizes, 1u);
        EXPECT_EQ(host.displaySize, LPARAM(600 | (400 << 16))) << "the frame heard WM_DISPLAYCHANGE with the new size";
        EXPECT_GT(stats.frames, stats.wholeFrames) << "frames after the first copy only what changed";
        std::printf("presenter: %llu frames (%llu whole), %llu rectangles, %llu pixels, %llu pumps\n",
            static_cast<unsigned long long>(stats.frames), static_cast<unsigned long long>(stats.wholeFrames),
            static_cast<unsigned long long>(stats.rects), static_cast<unsigned long long>(stats.pixels),
            static_cast<unsigned long long>(stats.pumps));
        const uint64_t partial = stats.pixels - std::min(stats.pixels, stats.wholeFrames * uint64_t(kW) * kH);
        EXPECT_LT(partial, (stats.frames - stats.wholeFrames) * uint64_t(kW) * kH / 4)
            << "frames after a whole one copy what changed, a small part of the screen on average";
        display::StopPresenter();
    }

    // ---- headless: the same states by injected input ----
    std::vector<Shot> headless;
    {
        user::ResetWindowSystemForTests(kW, kH);
        Host host;
        ASSERT_TRUE(BuildHost(host));
        CountingPump pump;
        user::SetDisplayPump(&pump); // counts idle waits; a person would answer boxes
        auto idle = [&] { return pump.count.load(); };
        std::thread person([&] {
            InjectingPerson p(pump);
            Script(p, host, idle, [](const char*) { return Framebuffer(); }, headless);
            PostMessageW(host.main, WM_DESTROY, 0, 0);
        });
        RunLoop();
        person.join();
        user::SetDisplayPump(nullptr);
    }

    ASSERT_EQ(live.size(), headless.size() + 1) << "each state once in each run, and the close question live";
    const auto dir = ShotFolder();
    for (size_t i = 0; i < headless.size(); ++i) {
        const Shot& a = live[i];
        const Shot& b = headless[i];
        ASSERT_EQ(a.name, b.name);
        ASSERT_EQ(a.pixels.size(), b.pixels.size()) << a.name;
        SavePng(a.pixels, kW, kH, (dir / (a.name + "_x11.png")).string());
        size_t differ = 0, first = 0;
        for (size_t k = 0; k < a.pixels.size(); ++k)
            if (a.pixels[k] != b.pixels[k] && differ++ == 0)
                first = k;
        if (differ) {
            SavePng(b.pixels, kW, kH, (dir / (a.name + "_headless.png")).string());
            ADD_FAILURE() << a.name << ": " << differ << " pixels differ, first at (" << first % kW << ","
                          << first / kW << "): X " << std::hex << a.pixels[first] << ", headless " << b.pixels[first]
                          << std::dec << "; pictures in " << dir;
        }
    }
    if (live.back().pixels.size() == size_t(kW) * kH)
        SavePng(live.back().pixels, kW, kH, (dir / "close_x11.png").string());
}

// A desktop larger than the X screen would put what the host places near its right or
// bottom edge off the screen: the presenter shrinks it to the screen, and a maximised
// window is measured again against it.
TEST(PresenterXvfb, ADesktopLargerThanTheScreenTakesTheScreensSize)
{
    XvfbServer x;
    std::string why;
    if (!x.Start(kW, kH, why))
        GTEST_SKIP() << "no X server for the presenter: " << why;
    user::ResetWindowSystemForTests(kW + 160, kH + 120);
    Host host;
    ASSERT_TRUE(BuildHost(host));
    ShowWindow(host.main, SW_SHOWMAXIMIZED);
    display::PresenterOptions opt;
    opt.mainWindow = host.main;
    ASSERT_TRUE(display::StartPresenter(opt, &why)) << why;
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), kW);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), kH);
    RECT client{};
    GetClientRect(host.main, &client);
    MapWindowPoints(host.main, nullptr, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_LE(client.right, kW) << "the maximised window's client area stays on the screen";
    EXPECT_LE(client.bottom, kH);
    EXPECT_EQ(HIWORD(host.displaySize), kH) << "the host heard of the new size";
    display::StopPresenter();
    DestroyWindow(host.main);
}

// The display goes away while a message box waits for the person (last in this file: no
// presenter opens again in the process). Nothing ends the process: the box takes its
// default answer, the host hears WM_CLOSE as from its close box, its own question takes
// the default (save) since nobody is left to answer, and its loop ends.
TEST(PresenterXvfb, ADisplayThatGoesAwayClosesTheHostInOrder)
{
    if (!HaveTool("xdotool"))
        GTEST_SKIP() << "xdotool is not installed (scripts/deps installs it)";
    XvfbServer x;
    std::string why;
    if (!x.Start(kW, kH, why))
        GTEST_SKIP() << "no X server for the presenter: " << why;
    user::ResetWindowSystemForTests(kW, kH);
    Host host;
    ASSERT_TRUE(BuildHost(host));
    display::PresenterOptions opt;
    opt.x = 0;
    opt.y = 0;
    opt.mainWindow = host.main;
    ASSERT_TRUE(display::StartPresenter(opt, &why)) << why;
    const HWND main = host.main;
    std::thread person([&] {
        auto idle = [] { return display::GetPresenterStats().pumps; };
        XPerson p;
        p.Click(TargetsOf(host).button);
        EXPECT_TRUE(Settle([] { return BoxShown(L"Door"); }, idle)) << "awaited: the box shown";
        x.Stop();
        if (!WaitFor([&] { return !IsWindow(main); })) {
            ADD_FAILURE() << "the host did not close after its display went away";
            PostMessageW(main, WM_DESTROY, 0, 0);
        }
    });
    RunLoop();
    person.join();
    EXPECT_TRUE(host.saved) << "the close's question takes its default answer: save";
    EXPECT_TRUE(display::GetPresenterStats().displayLost);
    display::StopPresenter();
    EXPECT_FALSE(display::PresenterRunning());
    std::string again;
    EXPECT_FALSE(display::StartPresenter(opt, &again)) << "SDL is left on the dead connection";
    EXPECT_NE(again.find("went away"), std::string::npos) << again;
}

} // namespace
} // namespace zyn::test
