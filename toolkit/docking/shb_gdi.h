#pragma once
// Drawing helpers of the shortcut bar and its lists: the off-screen bitmap that one header
// or one item is drawn into before it is copied to the screen, a class-library DC over a
// device context for the skins' CDC* interface, and selections that undo themselves. Each
// owns what it makes, so every path out of a paint leaves no GDI object behind.
#include <algorithm>

#include "platform/afx/gdi/dc.h"
#include "platform/afx/gdi/geometry.h"
#include "platform/base/wintypes.h"
#include "platform/gdi/wingdi.h"

namespace zyn::toolkit::shb {

// A CDC attached to a device context for a while (not owned).
class AttachedDc : public CDC {
public:
    explicit AttachedDc(HDC hdc) { Attach(hdc); }
    ~AttachedDc() override { Detach(); }
    AttachedDc(const AttachedDc&) = delete;
    AttachedDc& operator=(const AttachedDc&) = delete;
};

// An object selected into a device context until the end of the scope.
class Selected {
public:
    Selected(HDC hdc, HGDIOBJ object) : m_hdc(hdc), m_old(object ? ::SelectObject(hdc, object) : nullptr) {}
    ~Selected()
    {
        if (m_old)
            ::SelectObject(m_hdc, m_old);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC m_hdc;
    HGDIOBJ m_old;
};

// A GDI object deleted at the end of the scope.
class OwnedObject {
public:
    explicit OwnedObject(HGDIOBJ object = nullptr) : m_object(object) {}
    ~OwnedObject()
    {
        if (m_object)
            ::DeleteObject(m_object);
    }
    OwnedObject(const OwnedObject&) = delete;
    OwnedObject& operator=(const OwnedObject&) = delete;
    HGDIOBJ get() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }

private:
    HGDIOBJ m_object;
};

// A memory DC holding a bitmap compatible with `reference`, of the given size, with its
// logical origin at `origin` (so a rectangle of the screen can be drawn at its own
// coordinates). Valid() is false when GDI refused.
class OffscreenDc {
public:
    OffscreenDc(HDC reference, const CRect& area)
        : m_area(area)
    {
        m_dc = ::CreateCompatibleDC(reference);
        if (!m_dc)
            return;
        m_bitmap = ::CreateCompatibleBitmap(reference, std::max(1, area.Width()), std::max(1, area.Height()));
        if (!m_bitmap)
            return;
        m_old = ::SelectObject(m_dc, m_bitmap);
        ::SetViewportOrgEx(m_dc, -area.left, -area.top, nullptr);
    }
    ~OffscreenDc()
    {
        if (m_old)
            ::SelectObject(m_dc, m_old);
        if (m_bitmap)
            ::DeleteObject(m_bitmap);
        if (m_dc)
            ::DeleteDC(m_dc);
    }
    OffscreenDc(const OffscreenDc&) = delete;
    OffscreenDc& operator=(const OffscreenDc&) = delete;

    bool Valid() const { return m_dc && m_old; }
    HDC dc() const { return m_dc; }
    HBITMAP bitmap() const { return m_bitmap; }
    // Copies the picture to the same rectangle of the target.
    void CopyTo(HDC target) const
    {
        ::SetViewportOrgEx(m_dc, 0, 0, nullptr);
        ::BitBlt(target, m_area.left, m_area.top, m_area.Width(), m_area.Height(), m_dc, 0, 0, SRCCOPY);
        ::SetViewportOrgEx(m_dc, -m_area.left, -m_area.top, nullptr);
    }
    // Takes the bitmap out (the caller owns it).
    HBITMAP ReleaseBitmap()
    {
        if (m_old)
            ::SelectObject(m_dc, m_old);
        m_old = nullptr;
        HBITMAP b = m_bitmap;
        m_bitmap = nullptr;
        return b;
    }

private:
    CRect m_area;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
};

// The off-screen picture a list paints into, kept from one paint to the next while it is
// large enough, so that scrolling page by page does not pay for a new bitmap each time.
// Each paint starts from the state the picture's DC had when it was made (the DC is saved
// then and restored when the paint ends), whatever a parent drawing an item left behind.
class OffscreenCache {
public:
    OffscreenCache() = default;
    ~OffscreenCache() { Free(); }
    OffscreenCache(const OffscreenCache&) = delete;
    OffscreenCache& operator=(const OffscreenCache&) = delete;

    // A memory DC with room for `area` and its logical origin at the area's top-left;
    // null while another paint has it (a paint inside a paint) or when GDI refused
    // (nothing is kept then).
    HDC Begin(HDC reference, const CRect& area)
    {
        if (m_saved)
            return nullptr;
        const int w = std::max(1, area.Width());
        const int h = std::max(1, area.Height());
        if (!m_dc || w > m_size.cx || h > m_size.cy) {
            const CSize size(std::max<LONG>(w, m_size.cx), std::max<LONG>(h, m_size.cy));
            Free();
            m_dc = ::CreateCompatibleDC(reference);
            m_bitmap = m_dc ? ::CreateCompatibleBitmap(reference, size.cx, size.cy) : nullptr;
            m_old = m_bitmap ? ::SelectObject(m_dc, m_bitmap) : nullptr;
            if (!m_old) {
                Free();
                return nullptr;
            }
            m_size = size;
        }
        m_saved = ::SaveDC(m_dc);
        m_area = area;
        ::SetViewportOrgEx(m_dc, -area.left, -area.top, nullptr);
        return m_dc;
    }
    // Copies the area painted since Begin to the same rectangle of the target and ends
    // the paint.
    void End(HDC target)
    {
        if (!m_dc)
            return;
        ::SetViewportOrgEx(m_dc, 0, 0, nullptr);
        ::BitBlt(target, m_area.left, m_area.top, m_area.Width(), m_area.Height(), m_dc, 0, 0, SRCCOPY);
        if (m_saved)
            ::RestoreDC(m_dc, m_saved);
        m_saved = 0;
        if (m_releaseAtEnd)
            Free();
    }
    // Frees the picture (a hidden or destroyed list keeps none); asked during a paint,
    // when that paint ends.
    void Release()
    {
        if (m_saved)
            m_releaseAtEnd = true;
        else
            Free();
    }

private:
    void Free()
    {
        if (m_old)
            ::SelectObject(m_dc, m_old);
        if (m_bitmap)
            ::DeleteObject(m_bitmap);
        if (m_dc)
            ::DeleteDC(m_dc);
        m_dc = nullptr;
        m_bitmap = nullptr;
        m_old = nullptr;
        m_saved = 0;
        m_releaseAtEnd = false;
        m_size = CSize(0, 0);
    }

    CRect m_area;
    CSize m_size{0, 0};
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    int m_saved = 0;
    bool m_releaseAtEnd = false;
};

// A one-pixel frame: top and left edges in one colour, bottom and right in another.
inline void Frame3d(HDC hdc, const RECT& r, COLORREF topLeft, COLORREF bottomRight)
{
    AttachedDc dc(hdc);
    dc.Draw3dRect(&r, topLeft, bottomRight);
}

inline void FillSolid(HDC hdc, const RECT& r, COLORREF colour)
{
    AttachedDc dc(hdc);
    dc.FillSolidRect(&r, colour);
}

} // namespace zyn::toolkit::shb
