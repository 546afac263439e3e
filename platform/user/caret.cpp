// The caret: one per thread, drawn by inversion, blinking on a WM_SYSTIMER of its owner.
#include "platform/user/caret.h"

#include <atomic>

#include "platform/base/lasterror.h"
#include "platform/base/threads.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/caret_internal.h"
#include "platform/user/queue_internal.h"
#include "platform/user/window.h"
#include "platform/user/wnd_internal.h"

namespace zyn::user {
namespace {

constexpr UINT_PTR kBlinkTimer = 0xFFFE;
constexpr UINT kDefaultBlinkTime = 530;
constexpr UINT kNoBlink = 0xFFFFFFFFu; // INFINITE

std::atomic<UINT> g_blinkTime{kDefaultBlinkTime};

const HBITMAP kGrayCaret = reinterpret_cast<HBITMAP>(static_cast<uintptr_t>(1));

struct Caret {
    HWND hwnd = nullptr;
    HBITMAP bitmap = nullptr; // null: solid; kGrayCaret: gray; else the application's bitmap
    int cx = 0, cy = 0;
    POINT pos{0, 0};
    int hidden = 1;           // HideCaret count; a new caret starts hidden
    bool drawn = false;       // its inversion is on the screen now
    int paintHides = 0;       // hides taken by BeginPaint, given back by EndPaint
};

thread_local Caret t_caret;

// Inverts the caret's rectangle in its owner's client area.
void Invert(const Caret& c)
{
    if (!IsWindow(c.hwnd))
        return;
    HDC dc = GetDC(c.hwnd);
    if (!dc)
        return;
    if (!c.bitmap) {
        PatBlt(dc, c.pos.x, c.pos.y, c.cx, c.cy, DSTINVERT);
    } else if (c.bitmap == kGrayCaret) {
        // A half-tone: every other pixel inverted, in a checkerboard tied to the window.
        static const WORD kBits[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
        HBITMAP pattern = CreateBitmap(8, 8, 1, 1, kBits);
        HBRUSH brush = pattern ? CreatePatternBrush(pattern) : nullptr;
        if (brush) {
            SetTextColor(dc, RGB(0, 0, 0));
            SetBkColor(dc, RGB(255, 255, 255));
            HGDIOBJ old = SelectObject(dc, brush);
            PatBlt(dc, c.pos.x, c.pos.y, c.cx, c.cy, PATINVERT);
            SelectObject(dc, old);
            DeleteObject(brush);
        }
        if (pattern)
            DeleteObject(pattern);
    } else {
        HDC mem = CreateCompatibleDC(dc);
        if (mem) {
            HGDIOBJ old = SelectObject(mem, c.bitmap);
            if (old)
                BitBlt(dc, c.pos.x, c.pos.y, c.cx, c.cy, mem, 0, 0, SRCINVERT);
            if (old)
                SelectObject(mem, old);
            DeleteDC(mem);
        }
    }
    ReleaseDC(c.hwnd, dc);
}

void Erase(Caret& c)
{
    if (c.drawn) {
        Invert(c);
        c.drawn = false;
    }
}

void Draw(Caret& c)
{
    if (!c.drawn && c.hidden == 0) {
        Invert(c);
        c.drawn = true;
    }
}

// Restarts the blink period: a caret that just moved or appeared stays on for a full period.
void RestartBlink(const Caret& c)
{
    const UINT t = g_blinkTime.load();
    if (t == kNoBlink || t == 0)
        KillSystemTimer(c.hwnd, kBlinkTimer);
    else
        SetSystemTimer(c.hwnd, kBlinkTimer, t);
}

bool OwnsCaret(HWND hwnd)
{
    if (!t_caret.hwnd)
        return false;
    if (!IsWindow(t_caret.hwnd)) {
        // Its owner went away without telling us (freed without messages).
        t_caret = Caret{};
        return false;
    }
    return !hwnd || hwnd == t_caret.hwnd;
}

} // namespace

void CaretBeginPaint(HWND hwnd)
{
    if (t_caret.hwnd != hwnd || !OwnsCaret(hwnd))
        return;
    Erase(t_caret);
    ++t_caret.hidden;
    ++t_caret.paintHides;
}

void CaretEndPaint(HWND hwnd)
{
    if (t_caret.hwnd != hwnd || t_caret.paintHides == 0 || !OwnsCaret(hwnd))
        return;
    --t_caret.paintHides;
    if (--t_caret.hidden == 0)
        Draw(t_caret);
}

void CaretWindowGoingAway(HWND hwnd)
{
    if (t_caret.hwnd == hwnd)
        DestroyCaret();
}

void CaretOnSysTimer(HWND hwnd, UINT_PTR id)
{
    if (id != kBlinkTimer)
        return;
    if (!OwnsCaret(hwnd)) {
        KillSystemTimer(hwnd, kBlinkTimer);
        return;
    }
    if (t_caret.hidden > 0)
        return;
    if (t_caret.drawn)
        Erase(t_caret);
    else
        Draw(t_caret);
}

bool CaretInfo(HWND* owner, RECT* rect, bool* blinking)
{
    if (!OwnsCaret(nullptr))
        return false;
    *owner = t_caret.hwnd;
    *rect = RECT{t_caret.pos.x, t_caret.pos.y, t_caret.pos.x + t_caret.cx, t_caret.pos.y + t_caret.cy};
    *blinking = t_caret.hidden == 0;
    return true;
}

void ResetCarets()
{
    t_caret = Caret{};
    g_blinkTime.store(kDefaultBlinkTime);
}

} // namespace zyn::user

using namespace zyn::user;

BOOL CreateCaret(HWND hWnd, HBITMAP hBitmap, int nWidth, int nHeight)
{
    auto w = GetWnd(hWnd);
    if (!w)
        return FALSE;
    if (w->thread != GetCurrentThreadId()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    int cx = nWidth, cy = nHeight;
    if (hBitmap && hBitmap != kGrayCaret) {
        BITMAP bm{};
        if (!GetObjectW(hBitmap, sizeof bm, &bm)) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        cx = bm.bmWidth;
        cy = bm.bmHeight;
    }
    if (cx <= 0)
        cx = GetSystemMetrics(SM_CXBORDER);
    if (cy <= 0)
        cy = GetSystemMetrics(SM_CYBORDER);
    if (t_caret.hwnd)
        DestroyCaret();
    t_caret = Caret{};
    t_caret.hwnd = hWnd;
    t_caret.bitmap = hBitmap;
    t_caret.cx = cx;
    t_caret.cy = cy;
    RestartBlink(t_caret);
    return TRUE;
}

BOOL DestroyCaret()
{
    if (!t_caret.hwnd) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    Erase(t_caret);
    KillSystemTimer(t_caret.hwnd, kBlinkTimer);
    t_caret = Caret{};
    return TRUE;
}

BOOL ShowCaret(HWND hWnd)
{
    if (!OwnsCaret(hWnd)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (t_caret.hidden > 0 && --t_caret.hidden == 0) {
        Draw(t_caret);
        RestartBlink(t_caret);
    }
    return TRUE;
}

BOOL HideCaret(HWND hWnd)
{
    if (!OwnsCaret(hWnd)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    Erase(t_caret);
    ++t_caret.hidden;
    return TRUE;
}

BOOL SetCaretPos(int X, int Y)
{
    if (!OwnsCaret(nullptr)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (t_caret.pos.x == X && t_caret.pos.y == Y)
        return TRUE;
    Erase(t_caret);
    t_caret.pos = POINT{X, Y};
    if (t_caret.hidden == 0) {
        Draw(t_caret);
        RestartBlink(t_caret);
    }
    return TRUE;
}

BOOL GetCaretPos(LPPOINT lpPoint)
{
    if (!lpPoint) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!OwnsCaret(nullptr)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    *lpPoint = t_caret.pos;
    return TRUE;
}

UINT GetCaretBlinkTime() { return g_blinkTime.load(); }

BOOL SetCaretBlinkTime(UINT uMSeconds)
{
    g_blinkTime.store(uMSeconds);
    if (OwnsCaret(nullptr) && t_caret.hidden == 0)
        RestartBlink(t_caret);
    return TRUE;
}
