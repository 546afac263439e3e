#pragma once
// CSize, CPoint and CRect: the class library's value types over SIZE, POINT and RECT.
// They derive from the Win32 structures, so a CRect* passes wherever an LPRECT is
// expected and an array of CPoint wherever an array of POINT is. Rectangles are
// half-open (right and bottom excluded) and their set operations follow the Win32
// rectangle functions (an empty result becomes (0,0,0,0)).
//
// Included nearly everywhere: keep it free of anything but the basic types.
#include "platform/base/wintypes.h"
#include "platform/gdi/rect.h"

class CPoint;
class CRect;
int MulDiv(int nNumber, int nNumerator, int nDenominator); // platform/base/tchar.h

class CSize : public SIZE {
public:
    constexpr CSize() noexcept : SIZE{0, 0} {}
    constexpr CSize(int initCX, int initCY) noexcept : SIZE{initCX, initCY} {}
    constexpr CSize(SIZE initSize) noexcept : SIZE(initSize) {}
    constexpr CSize(POINT initPt) noexcept : SIZE{initPt.x, initPt.y} {}
    // cx from the low word, cy from the high word, both signed.
    constexpr explicit CSize(DWORD dwSize) noexcept
        : SIZE{static_cast<SHORT>(LOWORD(dwSize)), static_cast<SHORT>(HIWORD(dwSize))}
    {
    }

    // The CSize forms keep CSize == CSize exact both ways round, so C++20's reversed
    // candidates never compete with the SIZE forms.
    constexpr bool operator==(SIZE size) const noexcept { return cx == size.cx && cy == size.cy; }
    constexpr bool operator!=(SIZE size) const noexcept { return !(*this == size); }
    constexpr bool operator==(const CSize& size) const noexcept { return *this == static_cast<const SIZE&>(size); }
    constexpr bool operator!=(const CSize& size) const noexcept { return !(*this == size); }
    constexpr void operator+=(SIZE size) noexcept { cx += size.cx, cy += size.cy; }
    constexpr void operator-=(SIZE size) noexcept { cx -= size.cx, cy -= size.cy; }
    constexpr void SetSize(int CX, int CY) noexcept { cx = CX, cy = CY; }

    constexpr CSize operator+(SIZE size) const noexcept { return CSize(cx + size.cx, cy + size.cy); }
    constexpr CSize operator-(SIZE size) const noexcept { return CSize(cx - size.cx, cy - size.cy); }
    constexpr CSize operator-() const noexcept { return CSize(-cx, -cy); }
    constexpr CPoint operator+(POINT point) const noexcept;
    constexpr CPoint operator-(POINT point) const noexcept;
    CRect operator+(const RECT* lpRect) const noexcept;
    CRect operator-(const RECT* lpRect) const noexcept;
};

// may_alias: CRect::TopLeft()/BottomRight() hand out CPoint references into a RECT, as
// the class library always has; this keeps the optimiser from assuming they cannot
// overlap the rectangle's members.
class [[gnu::may_alias]] CPoint : public POINT {
public:
    constexpr CPoint() noexcept : POINT{0, 0} {}
    constexpr CPoint(int initX, int initY) noexcept : POINT{initX, initY} {}
    constexpr CPoint(POINT initPt) noexcept : POINT(initPt) {}
    constexpr CPoint(SIZE initSize) noexcept : POINT{initSize.cx, initSize.cy} {}
    // A point packed in a message parameter: x in the low word, y in the high word, signed.
    constexpr explicit CPoint(LPARAM dwPoint) noexcept
        : POINT{static_cast<SHORT>(LOWORD(static_cast<uintptr_t>(dwPoint))),
              static_cast<SHORT>(HIWORD(static_cast<uintptr_t>(dwPoint)))}
    {
    }

    constexpr void Offset(int xOffset, int yOffset) noexcept { x += xOffset, y += yOffset; }
    constexpr void Offset(POINT point) noexcept { Offset(point.x, point.y); }
    constexpr void Offset(SIZE size) noexcept { Offset(size.cx, size.cy); }
    constexpr void SetPoint(int X, int Y) noexcept { x = X, y = Y; }

    constexpr bool operator==(POINT point) const noexcept { return x == point.x && y == point.y; }
    constexpr bool operator!=(POINT point) const noexcept { return !(*this == point); }
    constexpr bool operator==(const CPoint& point) const noexcept { return *this == static_cast<const POINT&>(point); }
    constexpr bool operator!=(const CPoint& point) const noexcept { return !(*this == point); }
    constexpr void operator+=(SIZE size) noexcept { Offset(size); }
    constexpr void operator-=(SIZE size) noexcept { Offset(-size.cx, -size.cy); }
    constexpr void operator+=(POINT point) noexcept { Offset(point); }
    constexpr void operator-=(POINT point) noexcept { Offset(-point.x, -point.y); }

    constexpr CPoint operator+(SIZE size) const noexcept { return CPoint(x + size.cx, y + size.cy); }
    constexpr CPoint operator-(SIZE size) const noexcept { return CPoint(x - size.cx, y - size.cy); }
    constexpr CPoint operator-() const noexcept { return CPoint(-x, -y); }
    constexpr CPoint operator+(POINT point) const noexcept { return CPoint(x + point.x, y + point.y); }
    // The distance between two points.
    constexpr CSize operator-(POINT point) const noexcept { return CSize(x - point.x, y - point.y); }
    CRect operator+(const RECT* lpRect) const noexcept;
    CRect operator-(const RECT* lpRect) const noexcept;
};

constexpr CPoint CSize::operator+(POINT point) const noexcept { return CPoint(cx + point.x, cy + point.y); }
constexpr CPoint CSize::operator-(POINT point) const noexcept { return CPoint(cx - point.x, cy - point.y); }

class CRect : public RECT {
public:
    constexpr CRect() noexcept : RECT{0, 0, 0, 0} {}
    constexpr CRect(int l, int t, int r, int b) noexcept : RECT{l, t, r, b} {}
    constexpr CRect(const RECT& srcRect) noexcept : RECT(srcRect) {}
    // A null pointer gives the empty rectangle.
    constexpr CRect(const RECT* lpSrcRect) noexcept : RECT(lpSrcRect ? *lpSrcRect : RECT{0, 0, 0, 0}) {}
    constexpr CRect(POINT point, SIZE size) noexcept
        : RECT{point.x, point.y, point.x + size.cx, point.y + size.cy}
    {
    }
    constexpr CRect(POINT topLeft, POINT bottomRight) noexcept
        : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y}
    {
    }

    constexpr int Width() const noexcept { return right - left; }
    constexpr int Height() const noexcept { return bottom - top; }
    constexpr CSize Size() const noexcept { return CSize(Width(), Height()); }
    CPoint& TopLeft() noexcept { return *reinterpret_cast<CPoint*>(&left); }
    CPoint& BottomRight() noexcept { return *reinterpret_cast<CPoint*>(&right); }
    const CPoint& TopLeft() const noexcept { return *reinterpret_cast<const CPoint*>(&left); }
    const CPoint& BottomRight() const noexcept { return *reinterpret_cast<const CPoint*>(&right); }
    // The midpoint, rounded towards zero as integer division does.
    constexpr CPoint CenterPoint() const noexcept { return CPoint((left + right) / 2, (top + bottom) / 2); }
    // Mirrors the rectangle horizontally (for right-to-left layouts).
    constexpr void SwapLeftRight() noexcept { SwapLeftRight(this); }
    static constexpr void SwapLeftRight(LPRECT lpRect) noexcept
    {
        const LONG t = lpRect->left;
        lpRect->left = lpRect->right;
        lpRect->right = t;
    }

    operator LPRECT() noexcept { return this; }
    operator LPCRECT() const noexcept { return this; }

    // Empty: no area (width or height zero or negative). Null: all four members zero.
    constexpr BOOL IsRectEmpty() const noexcept { return left >= right || top >= bottom; }
    constexpr BOOL IsRectNull() const noexcept { return left == 0 && right == 0 && top == 0 && bottom == 0; }
    constexpr BOOL PtInRect(POINT point) const noexcept
    {
        return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
    }

    constexpr void SetRect(int x1, int y1, int x2, int y2) noexcept { left = x1, top = y1, right = x2, bottom = y2; }
    constexpr void SetRect(POINT topLeft, POINT bottomRight) noexcept
    {
        SetRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
    }
    constexpr void SetRectEmpty() noexcept { SetRect(0, 0, 0, 0); }
    void CopyRect(const RECT* lpSrcRect) noexcept
    {
        if (lpSrcRect)
            *static_cast<RECT*>(this) = *lpSrcRect;
    }
    constexpr BOOL EqualRect(const RECT* lpRect) const noexcept
    {
        return lpRect && left == lpRect->left && top == lpRect->top && right == lpRect->right &&
            bottom == lpRect->bottom;
    }

    constexpr void InflateRect(int x, int y) noexcept { left -= x, top -= y, right += x, bottom += y; }
    constexpr void InflateRect(SIZE size) noexcept { InflateRect(size.cx, size.cy); }
    // The rectangle overloads move each side by the matching member of *lpRect.
    constexpr void InflateRect(const RECT* lpRect) noexcept
    {
        if (lpRect)
            InflateRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    }
    constexpr void InflateRect(int l, int t, int r, int b) noexcept { left -= l, top -= t, right += r, bottom += b; }
    constexpr void DeflateRect(int x, int y) noexcept { InflateRect(-x, -y); }
    constexpr void DeflateRect(SIZE size) noexcept { InflateRect(-size.cx, -size.cy); }
    constexpr void DeflateRect(const RECT* lpRect) noexcept
    {
        if (lpRect)
            DeflateRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    }
    constexpr void DeflateRect(int l, int t, int r, int b) noexcept { left += l, top += t, right -= r, bottom -= b; }

    // Swaps left/right and top/bottom where they are inverted.
    constexpr void NormalizeRect() noexcept
    {
        if (left > right) {
            const LONG t = left;
            left = right;
            right = t;
        }
        if (top > bottom) {
            const LONG t = top;
            top = bottom;
            bottom = t;
        }
    }

    constexpr void OffsetRect(int x, int y) noexcept { left += x, top += y, right += x, bottom += y; }
    constexpr void OffsetRect(POINT point) noexcept { OffsetRect(point.x, point.y); }
    constexpr void OffsetRect(SIZE size) noexcept { OffsetRect(size.cx, size.cy); }
    constexpr void MoveToY(int y) noexcept { bottom = Height() + y, top = y; }
    constexpr void MoveToX(int x) noexcept { right = Width() + x, left = x; }
    constexpr void MoveToXY(int x, int y) noexcept { MoveToX(x), MoveToY(y); }
    constexpr void MoveToXY(POINT point) noexcept { MoveToXY(point.x, point.y); }

    // Set operations through the Win32 rectangle functions: empty inputs and results
    // follow their rules (an empty intersection is (0,0,0,0) and FALSE; a union ignores
    // empty operands; a difference is taken only when it leaves a rectangle).
    BOOL IntersectRect(const RECT* lpRect1, const RECT* lpRect2) noexcept
    {
        return ::IntersectRect(this, lpRect1, lpRect2);
    }
    BOOL UnionRect(const RECT* lpRect1, const RECT* lpRect2) noexcept { return ::UnionRect(this, lpRect1, lpRect2); }
    BOOL SubtractRect(const RECT* lpRectSrc1, const RECT* lpRectSrc2) noexcept
    {
        return ::SubtractRect(this, lpRectSrc1, lpRectSrc2);
    }

    CRect& operator=(const RECT& srcRect) noexcept
    {
        *static_cast<RECT*>(this) = srcRect;
        return *this;
    }
    constexpr bool operator==(const RECT& rect) const noexcept { return EqualRect(&rect) != FALSE; }
    constexpr bool operator!=(const RECT& rect) const noexcept { return !(*this == rect); }
    constexpr bool operator==(const CRect& rect) const noexcept { return *this == static_cast<const RECT&>(rect); }
    constexpr bool operator!=(const CRect& rect) const noexcept { return !(*this == rect); }
    constexpr void operator+=(POINT point) noexcept { OffsetRect(point); }
    constexpr void operator+=(SIZE size) noexcept { OffsetRect(size); }
    constexpr void operator+=(const RECT* lpRect) noexcept { InflateRect(lpRect); }
    constexpr void operator-=(POINT point) noexcept { OffsetRect(-point.x, -point.y); }
    constexpr void operator-=(SIZE size) noexcept { OffsetRect(-size.cx, -size.cy); }
    constexpr void operator-=(const RECT* lpRect) noexcept { DeflateRect(lpRect); }
    void operator&=(const RECT& rect) noexcept { IntersectRect(this, &rect); }
    void operator|=(const RECT& rect) noexcept { UnionRect(this, &rect); }

    constexpr CRect operator+(POINT pt) const noexcept
    {
        CRect r(*this);
        r.OffsetRect(pt);
        return r;
    }
    constexpr CRect operator-(POINT pt) const noexcept
    {
        CRect r(*this);
        r.OffsetRect(-pt.x, -pt.y);
        return r;
    }
    constexpr CRect operator+(SIZE size) const noexcept
    {
        CRect r(*this);
        r.OffsetRect(size);
        return r;
    }
    constexpr CRect operator-(SIZE size) const noexcept
    {
        CRect r(*this);
        r.OffsetRect(-size.cx, -size.cy);
        return r;
    }
    constexpr CRect operator+(const RECT* lpRect) const noexcept
    {
        CRect r(*this);
        r.InflateRect(lpRect);
        return r;
    }
    constexpr CRect operator-(const RECT* lpRect) const noexcept
    {
        CRect r(*this);
        r.DeflateRect(lpRect);
        return r;
    }
    CRect operator&(const RECT& rect2) const noexcept
    {
        CRect r;
        r.IntersectRect(this, &rect2);
        return r;
    }
    CRect operator|(const RECT& rect2) const noexcept
    {
        CRect r;
        r.UnionRect(this, &rect2);
        return r;
    }
    // Each member scaled by nMultiplier / nDivisor, rounded (MulDiv's rules).
    CRect MulDiv(int nMultiplier, int nDivisor) const noexcept
    {
        return CRect(::MulDiv(left, nMultiplier, nDivisor), ::MulDiv(top, nMultiplier, nDivisor),
            ::MulDiv(right, nMultiplier, nDivisor), ::MulDiv(bottom, nMultiplier, nDivisor));
    }
};

inline CRect CSize::operator+(const RECT* lpRect) const noexcept { return CRect(lpRect) + *this; }
inline CRect CSize::operator-(const RECT* lpRect) const noexcept { return CRect(lpRect) - *this; }
inline CRect CPoint::operator+(const RECT* lpRect) const noexcept { return CRect(lpRect) + *this; }
inline CRect CPoint::operator-(const RECT* lpRect) const noexcept { return CRect(lpRect) - *this; }
