#pragma once
// Helpers the standard controls (Edit, ListBox, ComboBox, ScrollBar) share: where a
// control's state lives, how it tells its parent (WM_COMMAND notifications, WM_CTLCOLOR*
// brushes), the font it draws with, scoped DCs and the WM_PAINT of a control drawn in
// its font.
//
// A control keeps its state in a StateMap keyed by its window handle: created at
// WM_NCCREATE, dropped at WM_NCDESTROY. Handlers hold a shared_ptr to the state for the
// whole message, so a parent that destroys the control from inside a notification
// leaves the handler with valid (if orphaned) state; handlers check IsWindow after each
// notification before they touch the window again.
#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/base/wintypes.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/paint.h"
#include "platform/user/winpos.h"

namespace zyn::user::ctl {

template <class T>
class StateMap {
public:
    std::shared_ptr<T> Create(HWND hwnd)
    {
        auto s = std::make_shared<T>();
        std::lock_guard lock(m_mutex);
        m_map[hwnd] = s; // a stale entry of a window freed without messages is replaced
        return s;
    }
    std::shared_ptr<T> Get(HWND hwnd) const
    {
        std::lock_guard lock(m_mutex);
        auto it = m_map.find(hwnd);
        return it == m_map.end() ? nullptr : it->second;
    }
    void Remove(HWND hwnd)
    {
        std::shared_ptr<T> keep; // freed outside the lock
        std::lock_guard lock(m_mutex);
        auto it = m_map.find(hwnd);
        if (it != m_map.end()) {
            keep = std::move(it->second);
            m_map.erase(it);
        }
    }

private:
    mutable std::mutex m_mutex;
    std::unordered_map<HWND, std::shared_ptr<T>> m_map;
};

// The window a control reports to: the parent of a child, the owner of a popup.
HWND NotifyTarget(HWND ctl);
// WM_COMMAND(MAKEWPARAM(id, code), ctl) to `to` (NotifyTarget(ctl) when null).
void Notify(HWND ctl, WORD code, HWND to = nullptr);
// Asks `to` (NotifyTarget when null) for the brush and colours of `msg`
// (WM_CTLCOLOREDIT...); an answer that is no brush gets the default colours.
HBRUSH CtlColor(HWND ctl, HDC dc, UINT msg, HWND to = nullptr);
// The control's font, or the system font when none was set.
HFONT FontOrSystem(HFONT font);

struct FontInfo {
    int height = 0;     // tmHeight
    int ascent = 0;
    int aveWidth = 0;   // tmAveCharWidth
    int baseUnitX = 0;  // the dialog base unit: average width of the 52 Latin letters
    bool scalable = false; // a TrueType or vector font (not a raster one)
};
FontInfo MeasureFont(HFONT font);

bool KeyIsDown(int vk);
void Beep();

// A client DC of a window with a font selected, released at scope end.
class ClientDc {
public:
    ClientDc(HWND hwnd, HFONT font);
    ~ClientDc();
    ClientDc(const ClientDc&) = delete;
    ClientDc& operator=(const ClientDc&) = delete;
    HDC get() const { return m_dc; }
    explicit operator bool() const { return m_dc != nullptr; }

private:
    HWND m_hwnd;
    HDC m_dc;
    HGDIOBJ m_oldFont = nullptr;
};

// BeginPaint/EndPaint, with a font selected.
class PaintScope {
public:
    PaintScope(HWND hwnd, HFONT font);
    ~PaintScope();
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC get() const { return m_ps.hdc; }
    const RECT& area() const { return m_ps.rcPaint; }
    explicit operator bool() const { return m_ps.hdc != nullptr; }

private:
    HWND m_hwnd;
    PAINTSTRUCT m_ps{};
    HGDIOBJ m_oldFont = nullptr;
};

// WM_PAINT of a control that draws in its font: a DC in wParam (as WM_PRINTCLIENT hands
// one) gets the whole client area, otherwise BeginPaint's DC the update rectangle;
// paint(dc, area) runs with the font selected either way.
template <class Paint>
void PaintInFont(HWND hwnd, WPARAM wp, HFONT font, Paint&& paint)
{
    if (wp) {
        RECT client{};
        GetClientRect(hwnd, &client);
        const HDC dc = reinterpret_cast<HDC>(wp);
        const HGDIOBJ old = SelectObject(dc, FontOrSystem(font));
        paint(dc, client);
        SelectObject(dc, old);
        return;
    }
    PaintScope ps(hwnd, font);
    if (ps)
        paint(ps.get(), ps.area());
}

} // namespace zyn::user::ctl
