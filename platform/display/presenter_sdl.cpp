// The presenter on SDL2 (see presenter.h). This file, keymap.cpp, x_connection.cpp and
// nothing else in the platform includes SDL.
#include <SDL.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/clock.h"
#include "platform/base/module.h"
#include "platform/base/threads.h"
#include "platform/base/utf16.h"
#include "platform/display/cursor_shape.h"
#include "platform/display/keymap.h"
#include "platform/display/presenter.h"
#include "platform/display/x_connection.h"
#include "platform/gdi/damage.h"
#include "platform/gdi/surface.h"
#include "platform/user/display.h"
#include "platform/user/driver.h"
#include "platform/user/input.h"
#include "platform/user/input_internal.h"
#include "platform/user/messages.h"
#include "platform/user/modal.h"
#include "platform/user/msgqueue.h"
#include "platform/user/styles.h"
#include "platform/user/vkeys.h"
#include "platform/user/window.h"
#include "platform/user/wnd_internal.h"

namespace zyn::display {

namespace {

// Posted to the presenter's own message window: the real window now has the size
// (wParam, lParam). The resize runs from the message loop, never inside the wait.
constexpr UINT kMsgDisplaySize = WM_APP + 0x3E0;
constexpr wchar_t kSinkClass[] = L"ZynPresenterSink";

SDL_SystemCursor SdlCursorOf(CursorShape shape)
{
    switch (shape) {
    case CursorShape::IBeam: return SDL_SYSTEM_CURSOR_IBEAM;
    case CursorShape::Wait: return SDL_SYSTEM_CURSOR_WAIT;
    case CursorShape::Crosshair: return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case CursorShape::WaitArrow: return SDL_SYSTEM_CURSOR_WAITARROW;
    case CursorShape::SizeNWSE: return SDL_SYSTEM_CURSOR_SIZENWSE;
    case CursorShape::SizeNESW: return SDL_SYSTEM_CURSOR_SIZENESW;
    case CursorShape::SizeWE: return SDL_SYSTEM_CURSOR_SIZEWE;
    case CursorShape::SizeNS: return SDL_SYSTEM_CURSOR_SIZENS;
    case CursorShape::SizeAll: return SDL_SYSTEM_CURSOR_SIZEALL;
    case CursorShape::No: return SDL_SYSTEM_CURSOR_NO;
    case CursorShape::Hand: return SDL_SYSTEM_CURSOR_HAND;
    case CursorShape::Hidden:
    case CursorShape::Own: // its own picture when one can be made, else the arrow
    case CursorShape::Arrow: break;
    }
    return SDL_SYSTEM_CURSOR_ARROW;
}

user::MouseButton ButtonOf(uint8_t sdl, bool& known)
{
    known = true;
    switch (sdl) {
    case SDL_BUTTON_LEFT: return user::MouseButton::Left;
    case SDL_BUTTON_RIGHT: return user::MouseButton::Right;
    case SDL_BUTTON_MIDDLE: return user::MouseButton::Middle;
    case SDL_BUTTON_X1: return user::MouseButton::X1;
    case SDL_BUTTON_X2: return user::MouseButton::X2;
    default: known = false; return user::MouseButton::Left;
    }
}

Modifiers ModifiersOf(uint16_t mod)
{
    Modifiers m;
    m.shift = (mod & KMOD_SHIFT) != 0;
    m.ctrl = (mod & KMOD_CTRL) != 0;
    m.alt = (mod & KMOD_ALT) != 0;
    m.caps = (mod & KMOD_CAPS) != 0;
    m.num = (mod & KMOD_NUM) != 0;
    return m;
}

class SdlPresenter final : public user::DisplayPump {
public:
    ~SdlPresenter() override { Close(); }

    bool Open(const PresenterOptions& options, std::string* whyNot);
    void Close();
    void Pump() override;
    void Present();
    void SetMainWindow(HWND hwnd) { m_main = hwnd; }
    DWORD Thread() const { return m_thread; }
    PresenterStats Stats()
    {
        std::lock_guard lock(m_statsMutex);
        return m_stats;
    }
    void ResizeDesktopTo(int w, int h);

private:
    void HandleEvent(const SDL_Event& e);
    void HandleKey(const SDL_KeyboardEvent& k, bool down);
    void HandleText(const char* utf8);
    void ReleaseHeldInput();
    void RequestClose();
    void LoseDisplay();
    void UpdateCursor();
    SDL_Cursor* OwnCursor(HCURSOR cursor);
    bool FitWindowTo(const gdi::Surface& desk);

    SDL_Window* m_window = nullptr;
    bool m_sdlStarted = false;
    DWORD m_thread = 0;
    HWND m_main = nullptr;
    HWND m_sink = nullptr;
    std::array<SDL_Cursor*, SDL_NUM_SYSTEM_CURSORS> m_cursors{};
    CursorShape m_shape = CursorShape::Arrow;
    HCURSOR m_ownShown = nullptr;
    std::vector<std::pair<HCURSOR, SDL_Cursor*>> m_ownCursors; // made from the host's cursors
    bool m_pumping = false;
    bool m_lost = false; // the display went away: nothing more is shown or read
    // Typing: the character the window system makes itself of the last key press.
    char32_t m_skipChar = 0;
    // Keys and buttons held, with what was injected for them, to let go when focus goes.
    std::vector<std::pair<SDL_Keycode, int>> m_heldKeys;
    std::vector<user::MouseButton> m_heldButtons;
    POINT m_lastMouse{-1, -1};
    SIZE m_deskSize{0, 0}; // the desktop's size when last shown
    std::mutex m_statsMutex;
    PresenterStats m_stats;
};

std::mutex g_mutex;
// A display went away under an earlier presenter: SDL's video is left on the dead
// connection, so no presenter can open again.
std::atomic<bool> g_abandoned{false};
// Guarded by g_mutex; used by its own thread only. A plain owner on purpose: a presenter a
// host forgot to stop goes with the process, never from a static destructor that would
// talk to the display after the window system is gone.
SdlPresenter* g_presenter = nullptr;

LRESULT SinkProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == kMsgDisplaySize) {
        SdlPresenter* p = nullptr;
        {
            std::lock_guard lock(g_mutex);
            p = g_presenter;
        }
        if (p && p->Thread() == GetCurrentThreadId())
            p->ResizeDesktopTo(static_cast<int>(wp), static_cast<int>(lp));
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

bool SdlPresenter::Open(const PresenterOptions& options, std::string* whyNot)
{
    auto fail = [&](const std::string& why) {
        if (whyNot)
            *whyNot = why;
        Close();
        return false;
    };
    // The host owns its signals and decides when it ends; the framebuffer is copied by
    // the CPU, rectangle by rectangle, so no accelerated renderer is wanted.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return fail(std::string("no display: ") + SDL_GetError());
    m_sdlStarted = true;
    // Without a display SDL falls back to drivers that show nothing; a window there would
    // leave the host waiting for input nobody can give, so it is no display.
    if (const char* driver = SDL_GetCurrentVideoDriver();
        driver && (std::string(driver) == "offscreen" || std::string(driver) == "dummy"))
        return fail(std::string("no display: only SDL's ") + driver + " driver is available");
    auto desk = gdi::TakeScreenDamage().surface;
    // The window is the desktop's size, and the desktop no larger than the screen has room
    // for: a window running off the screen would hide windows the host places in it.
    SDL_Rect room{};
    if (SDL_GetDisplayUsableBounds(0, &room) != 0 || room.w <= 0 || room.h <= 0)
        room = SDL_Rect{0, 0, desk->Width(), desk->Height()};
    const int w = std::min(desk->Width(), room.w), h = std::min(desk->Height(), room.h);
    const int x = options.x == PresenterOptions::kCentred ? static_cast<int>(SDL_WINDOWPOS_CENTERED) : options.x;
    const int y = options.y == PresenterOptions::kCentred ? static_cast<int>(SDL_WINDOWPOS_CENTERED) : options.y;
    m_window = SDL_CreateWindow(base::ToUtf8(options.title).c_str(), x, y, w, h, SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE);
    if (!m_window)
        return fail(std::string("cannot open a window: ") + SDL_GetError());
    // A window manager's frame takes room too, when it tells its size.
    int top = 0, left = 0, bottom = 0, right = 0;
    if (SDL_GetWindowBordersSize(m_window, &top, &left, &bottom, &right) == 0 &&
        (w + left + right > room.w || h + top + bottom > room.h))
        SDL_SetWindowSize(m_window, std::min(w, room.w - left - right), std::min(h, room.h - top - bottom));
    int shownW = 0, shownH = 0;
    SDL_GetWindowSize(m_window, &shownW, &shownH);
    if (shownW > 0 && shownH > 0 && (shownW != desk->Width() || shownH != desk->Height()) &&
        !user::ChangeDisplaySize(shownW, shownH))
        return fail("the desktop cannot take the window's size");
    if (!SDL_GetWindowSurface(m_window))
        return fail(std::string("the window has no framebuffer: ") + SDL_GetError());
    WatchXConnection(m_window);
    for (int i = 0; i < SDL_NUM_SYSTEM_CURSORS; ++i)
        m_cursors[static_cast<size_t>(i)] = SDL_CreateSystemCursor(static_cast<SDL_SystemCursor>(i));
    SDL_StartTextInput();

    m_thread = GetCurrentThreadId();
    m_main = options.mainWindow;
    WNDCLASSW wc{};
    wc.lpfnWndProc = SinkProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kSinkClass;
    RegisterClassW(&wc); // already registered by an earlier presenter: fine
    m_sink = CreateWindowExW(0, kSinkClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    if (!m_sink)
        return fail("cannot create the presenter's message window");
    base::Clock::UseReal();
    gdi::SetDamageRecording(true);
    return true;
}

void SdlPresenter::LoseDisplay()
{
    if (m_lost)
        return;
    m_lost = true;
    std::fprintf(stderr, "The display went away (%s): going on without a window, and asking the main window to close\n",
        XConnectionLost() ? "the connection to it broke" : "the window was destroyed from outside");
    {
        std::lock_guard lock(m_statsMutex);
        m_stats.displayLost = true;
    }
    ReleaseHeldInput();
    gdi::SetDamageRecording(false);
    // Nobody can answer anything now: no longer attached, a question takes its default
    // answer, and in scripted mode a dialog or menu already waiting for the person ends
    // when nothing is left to do, so the close below can run.
    user::SetDisplayPump(nullptr);
    user::SetScriptedMode(true);
    RequestClose();
}

void SdlPresenter::Close()
{
    gdi::SetDamageRecording(false);
    if (m_sink && IsWindow(m_sink))
        DestroyWindow(m_sink);
    m_sink = nullptr;
    if (XConnectionLost()) {
        // SDL cannot take down what it made on a dead connection (it would wait for
        // the server's answers for ever): it is left as it is, still SDL's, and no
        // presenter opens again in this process (g_abandoned). A window destroyed
        // from outside on a working connection is taken down as usual: the errors for
        // it are noted and ignored.
        m_cursors.fill(nullptr);
        m_ownCursors.clear();
        m_window = nullptr;
        m_sdlStarted = false;
        g_abandoned = true;
        return;
    }
    for (SDL_Cursor*& c : m_cursors) {
        if (c)
            SDL_FreeCursor(c);
        c = nullptr;
    }
    for (auto& [h, c] : m_ownCursors)
        if (c)
            SDL_FreeCursor(c);
    m_ownCursors.clear();
    if (m_window)
        SDL_DestroyWindow(m_window);
    m_window = nullptr;
    // The errors of a window destroyed from outside reach our handler, not the one SDL
    // puts back as it closes.
    SyncXConnection();
    if (m_sdlStarted)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    m_sdlStarted = false;
    // After the display's connection is closed: a late error on it is still ours.
    UnwatchXConnection();
}

// Makes the real window the desktop's size when the desktop changed size under us (a host
// or test that resized it itself). Only a change of the desktop counts: a window the user
// is resizing is larger or smaller than the desktop until its resize message has run, and
// must not be pulled back. True when the desktop's size is new.
bool SdlPresenter::FitWindowTo(const gdi::Surface& desk)
{
    if (desk.Width() == m_deskSize.cx && desk.Height() == m_deskSize.cy)
        return false;
    m_deskSize = SIZE{desk.Width(), desk.Height()};
    int w = 0, h = 0;
    SDL_GetWindowSize(m_window, &w, &h);
    if (w != desk.Width() || h != desk.Height())
        SDL_SetWindowSize(m_window, desk.Width(), desk.Height());
    return true;
}

void SdlPresenter::Present()
{
    if (!m_window || m_lost || XConnectionLost() || XWindowGone())
        return;
    gdi::ScreenDamage damage = gdi::TakeScreenDamage();
    const gdi::Surface& desk = *damage.surface;
    if (FitWindowTo(desk))
        damage.whole = true;
    SDL_Surface* ws = SDL_GetWindowSurface(m_window);
    if (!ws)
        return;
    if (damage.whole)
        damage.rects.assign(1, RECT{0, 0, desk.Width(), desk.Height()});
    std::vector<SDL_Rect> shown;
    shown.reserve(damage.rects.size());
    uint64_t pixels = 0;
    const bool direct = ws->format->format == SDL_PIXELFORMAT_RGB888 || ws->format->format == SDL_PIXELFORMAT_ARGB8888;
    if (SDL_MUSTLOCK(ws))
        SDL_LockSurface(ws);
    for (const RECT& r0 : damage.rects) {
        const RECT r{std::max<LONG>(r0.left, 0), std::max<LONG>(r0.top, 0),
            std::min<LONG>({r0.right, desk.Width(), ws->w}), std::min<LONG>({r0.bottom, desk.Height(), ws->h})};
        if (r.left >= r.right || r.top >= r.bottom)
            continue;
        const int w = r.right - r.left, h = r.bottom - r.top;
        auto* dst = static_cast<uint8_t*>(ws->pixels) + static_cast<ptrdiff_t>(r.top) * ws->pitch +
            static_cast<ptrdiff_t>(r.left) * ws->format->BytesPerPixel;
        if (direct) {
            // Our pixels are 0x00RRGGBB words, the display's XRGB8888 layout.
            for (int y = 0; y < h; ++y)
                std::memcpy(dst + static_cast<ptrdiff_t>(y) * ws->pitch, desk.Row32(r.top + y) + r.left,
                    static_cast<size_t>(w) * 4);
        } else {
            SDL_ConvertPixels(w, h, SDL_PIXELFORMAT_RGB888, desk.Row32(r.top) + r.left, static_cast<int>(desk.Stride()),
                ws->format->format, dst, ws->pitch);
        }
        shown.push_back(SDL_Rect{r.left, r.top, w, h});
        pixels += static_cast<uint64_t>(w) * static_cast<uint64_t>(h);
    }
    if (SDL_MUSTLOCK(ws))
        SDL_UnlockSurface(ws);
    if (shown.empty())
        return;
    SDL_UpdateWindowSurfaceRects(m_window, shown.data(), static_cast<int>(shown.size()));
    std::lock_guard lock(m_statsMutex);
    ++m_stats.frames;
    m_stats.rects += shown.size();
    m_stats.pixels += pixels;
    if (damage.whole)
        ++m_stats.wholeFrames;
}

void SdlPresenter::Pump()
{
    if (!m_window || m_pumping || m_lost)
        return;
    m_pumping = true;
    Present();
    SDL_Event e;
    while (!XConnectionLost() && !XWindowGone() && SDL_PollEvent(&e))
        HandleEvent(e);
    if (XConnectionLost() || XWindowGone())
        LoseDisplay();
    else
        UpdateCursor();
    m_pumping = false;
    std::lock_guard lock(m_statsMutex);
    ++m_stats.pumps;
}

void SdlPresenter::UpdateCursor()
{
    HCURSOR cursor;
    bool shown;
    {
        auto lock = user::LockUser();
        cursor = user::Input().cursorHandle;
        shown = user::Input().showCount >= 0;
    }
    const CursorShape shape = ShapeOfCursor(cursor, shown);
    if (shape == m_shape && (shape != CursorShape::Own || cursor == m_ownShown))
        return;
    m_shape = shape;
    m_ownShown = shape == CursorShape::Own ? cursor : nullptr;
    if (shape == CursorShape::Hidden) {
        SDL_ShowCursor(SDL_DISABLE);
        return;
    }
    SDL_Cursor* c = shape == CursorShape::Own ? OwnCursor(cursor) : nullptr;
    if (!c)
        c = m_cursors[static_cast<size_t>(SdlCursorOf(shape))];
    if (c)
        SDL_SetCursor(c);
    SDL_ShowCursor(SDL_ENABLE);
}

SDL_Cursor* SdlPresenter::OwnCursor(HCURSOR cursor)
{
    for (const auto& [h, c] : m_ownCursors)
        if (h == cursor)
            return c;
    SDL_Cursor* made = nullptr;
    CursorPicture pic;
    if (PictureOfCursor(cursor, pic)) {
        if (SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(pic.argb.data(), pic.width, pic.height, 32,
                pic.width * 4, SDL_PIXELFORMAT_ARGB8888)) {
            made = SDL_CreateColorCursor(s, pic.hotspot.x, pic.hotspot.y);
            SDL_FreeSurface(s);
        }
    }
    // Remembered even when it failed (null: the arrow), so a bad cursor is not retried
    // on every pump.
    m_ownCursors.emplace_back(cursor, made);
    return made;
}

void SdlPresenter::HandleEvent(const SDL_Event& e)
{
    switch (e.type) {
    case SDL_MOUSEMOTION:
        m_lastMouse = POINT{e.motion.x, e.motion.y};
        user::InjectMouseMove(e.motion.x, e.motion.y);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        bool known = false;
        const user::MouseButton b = ButtonOf(e.button.button, known);
        if (!known)
            break;
        if (m_lastMouse.x != e.button.x || m_lastMouse.y != e.button.y) {
            m_lastMouse = POINT{e.button.x, e.button.y};
            user::InjectMouseMove(e.button.x, e.button.y);
        }
        const bool down = e.type == SDL_MOUSEBUTTONDOWN;
        auto held = std::find(m_heldButtons.begin(), m_heldButtons.end(), b);
        if (down && held == m_heldButtons.end())
            m_heldButtons.push_back(b);
        else if (!down && held != m_heldButtons.end())
            m_heldButtons.erase(held);
        user::InjectMouseButton(b, down);
        break;
    }
    case SDL_MOUSEWHEEL: {
        // A notch is WHEEL_DELTA; smooth wheels and touchpads send parts of notches, which
        // the window system takes as smaller deltas.
        const float sign = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1.0f : 1.0f;
        const int dy = static_cast<int>(std::lround(sign * e.wheel.preciseY * WHEEL_DELTA));
        const int dx = static_cast<int>(std::lround(sign * e.wheel.preciseX * WHEEL_DELTA));
        if (dy)
            user::InjectMouseWheel(dy);
        if (dx)
            user::InjectMouseWheel(dx, true);
        break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        HandleKey(e.key, e.type == SDL_KEYDOWN);
        break;
    case SDL_TEXTINPUT:
        HandleText(e.text.text);
        break;
    case SDL_WINDOWEVENT:
        switch (e.window.event) {
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            if (m_sink)
                PostMessageW(m_sink, kMsgDisplaySize, static_cast<WPARAM>(e.window.data1),
                    static_cast<LPARAM>(e.window.data2));
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            // The display lost what we showed (uncovered, restored): show it all again.
            gdi::NoteNewDesktop(gdi::TakeScreenDamage().surface);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            ReleaseHeldInput();
            break;
        case SDL_WINDOWEVENT_CLOSE:
            RequestClose();
            break;
        default: break;
        }
        break;
    case SDL_QUIT: // the session ends: the same question as the close box
        RequestClose();
        break;
    default: break;
    }
}

void SdlPresenter::HandleKey(const SDL_KeyboardEvent& k, bool down)
{
    if (!down) {
        // The key goes up as what it went down as.
        auto it = std::find_if(m_heldKeys.begin(), m_heldKeys.end(),
            [&](const auto& h) { return h.first == k.keysym.sym; });
        if (it == m_heldKeys.end())
            return;
        const int vk = it->second;
        m_heldKeys.erase(it);
        user::InjectKey(vk, false);
        return;
    }
    int vk = VirtualKeyFor(k.keysym.sym, k.keysym.scancode);
    if (!vk)
        return;
    const Modifiers mods = ModifiersOf(k.keysym.mod);
    // The text event of this press, when the display made one, is already queued.
    char32_t text = 0;
    SDL_Event next;
    if (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_TEXTINPUT, SDL_TEXTINPUT) == 1) {
        const std::wstring t = base::FromUtf8(next.text.text);
        if (!t.empty())
            text = static_cast<char32_t>(t[0]);
    }
    vk = KeyToInject(vk, mods, text);
    const wchar_t own = TranslatedCharFor(vk, mods);
    m_skipChar = own ? static_cast<char32_t>(own) : 0;
    auto it = std::find_if(m_heldKeys.begin(), m_heldKeys.end(), [&](const auto& h) { return h.first == k.keysym.sym; });
    if (it == m_heldKeys.end())
        m_heldKeys.emplace_back(k.keysym.sym, vk);
    user::InjectKey(vk, true); // a repeat is the same key down again
}

void SdlPresenter::HandleText(const char* utf8)
{
    const std::wstring text = base::FromUtf8(utf8);
    for (size_t i = 0; i < text.size(); ++i) {
        // The key press already makes its own character through TranslateMessage.
        if (i == 0 && m_skipChar && static_cast<char32_t>(text[0]) == m_skipChar)
            continue;
        user::InjectChar(text[i]);
    }
    m_skipChar = 0;
}

void SdlPresenter::ReleaseHeldInput()
{
    // The up events go to whoever has the focus now: keys and buttons must not stay down
    // in the window system's state.
    for (const auto& [sym, vk] : m_heldKeys)
        user::InjectKey(vk, false);
    m_heldKeys.clear();
    for (user::MouseButton b : m_heldButtons)
        user::InjectMouseButton(b, false);
    m_heldButtons.clear();
    m_skipChar = 0;
}

void SdlPresenter::RequestClose()
{
    {
        std::lock_guard lock(m_statsMutex);
        ++m_stats.closeRequests;
    }
    HWND target = m_main && IsWindow(m_main) ? m_main : nullptr;
    if (!target) {
        // The first unowned visible top-level window of our thread.
        for (HWND h = GetWindow(GetDesktopWindow(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
            if (h != m_sink && IsWindowVisible(h) && !GetWindow(h, GW_OWNER) &&
                GetWindowThreadProcessId(h, nullptr) == m_thread) {
                target = h;
                break;
            }
        }
    }
    // Posted, as the close box's command is: the window decides (and may ask about unsaved
    // work, or refuse). With no window left to ask, the loop is told to end.
    if (target)
        PostMessageW(target, WM_CLOSE, 0, 0);
    else
        PostQuitMessage(0);
}

void SdlPresenter::ResizeDesktopTo(int w, int h)
{
    auto desk = gdi::TakeScreenDamage().surface;
    // Damage taken above is shown again in full after the resize anyway.
    if (desk->Width() == w && desk->Height() == h) {
        gdi::NoteNewDesktop(desk);
        return;
    }
    if (!user::ChangeDisplaySize(w, h))
        return;
    std::lock_guard lock(m_statsMutex);
    ++m_stats.resizes;
}

} // namespace

bool StartPresenter(const PresenterOptions& options, std::string* whyNot)
{
    {
        std::lock_guard lock(g_mutex);
        if (g_presenter) {
            if (whyNot)
                *whyNot = "a presenter is already running";
            return false;
        }
    }
    if (g_abandoned) {
        if (whyNot)
            *whyNot = "the display went away under an earlier window of this process";
        return false;
    }
    auto p = std::make_unique<SdlPresenter>();
    if (!p->Open(options, whyNot))
        return false;
    SdlPresenter* raw = p.release();
    {
        std::lock_guard lock(g_mutex);
        g_presenter = raw;
    }
    user::SetDisplayPump(raw);
    raw->Present();
    return true;
}

void StopPresenter()
{
    std::unique_ptr<SdlPresenter> p;
    {
        std::lock_guard lock(g_mutex);
        if (!g_presenter || g_presenter->Thread() != GetCurrentThreadId())
            return;
        p.reset(std::exchange(g_presenter, nullptr));
    }
    user::SetDisplayPump(nullptr);
    p->Close();
}

bool PresenterRunning()
{
    std::lock_guard lock(g_mutex);
    return g_presenter != nullptr;
}

void SetPresenterMainWindow(HWND hwnd)
{
    std::lock_guard lock(g_mutex);
    if (g_presenter)
        g_presenter->SetMainWindow(hwnd);
}

void PresentNow()
{
    SdlPresenter* p = nullptr;
    {
        std::lock_guard lock(g_mutex);
        if (g_presenter && g_presenter->Thread() == GetCurrentThreadId())
            p = g_presenter;
    }
    if (p)
        p->Present();
}

PresenterStats GetPresenterStats()
{
    std::lock_guard lock(g_mutex);
    return g_presenter ? g_presenter->Stats() : PresenterStats{};
}

} // namespace zyn::display
