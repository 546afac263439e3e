#pragma once
// CBrush: a brush wrapper. The constructors that create throw CResourceException when
// the drawing layer refuses.
#include "platform/afx/gdi/gdi_object.h"
#include "platform/gdi/gdi_types.h"

class CBitmap;

class CBrush : public CGdiObject {
    DECLARE_DYNAMIC(CBrush)
public:
    static CBrush* FromHandle(HBRUSH hBrush);

    CBrush() = default;
    explicit CBrush(COLORREF crColor);             // solid
    CBrush(int nIndex, COLORREF crColor);          // hatched (HS_*)
    explicit CBrush(CBitmap* pBitmap);             // pattern

    BOOL CreateSolidBrush(COLORREF crColor);
    BOOL CreateHatchBrush(int nIndex, COLORREF crColor);
    BOOL CreateBrushIndirect(const LOGBRUSH* lpLogBrush);
    // A copy of the bitmap's top-left 8x8 pixels (any bitmap of at least that size).
    BOOL CreatePatternBrush(CBitmap* pBitmap);
    // The system colour brush of a COLOR_* index: a stock object, so deleting this
    // wrapper leaves it alone.
    BOOL CreateSysColorBrush(int nIndex);

    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
    int GetLogBrush(LOGBRUSH* pLogBrush) const;
};
