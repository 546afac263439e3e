#pragma once
// CPen: a pen wrapper. The constructors that create throw CResourceException when the
// drawing layer refuses.
#include "platform/afx/gdi/gdi_object.h"
#include "platform/gdi/gdi_types.h"

class CPen : public CGdiObject {
    DECLARE_DYNAMIC(CPen)
public:
    static CPen* FromHandle(HPEN hPen);

    CPen() = default;
    CPen(int nPenStyle, int nWidth, COLORREF crColor);
    CPen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount = 0, const DWORD* lpStyle = nullptr);

    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
    // A geometric or cosmetic pen (ExtCreatePen); nStyleCount/lpStyle give PS_USERSTYLE dashes.
    BOOL CreatePen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount = 0,
        const DWORD* lpStyle = nullptr);
    BOOL CreatePenIndirect(const LOGPEN* lpLogPen);

    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
    int GetLogPen(LOGPEN* pLogPen) const;
    // Fills an EXTLOGPEN with room for one style entry (as GetObject does).
    int GetExtLogPen(EXTLOGPEN* pLogPen) const;
};
