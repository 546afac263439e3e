#include "toolkit/skins/splitter_rect.h"

#include "platform/afx/gdi/dc.h"
#include "platform/gdi/wingdi.h"

IMPLEMENT_DYNAMIC(COXSplitterRect, CObject)

COXSplitterRect::COXSplitterRect(int nType, const RECT& rect)
    : m_rect(rect)
    , m_nType(nType)
{
}

COXSplitterRect::~COXSplitterRect() = default;

void COXSplitterRect::Draw(CDC* pDC) const
{
    if (!pDC || !pDC->GetSafeHdc())
        return;
    // In this order: on a strip too narrow for four lines the later colours win.
    struct Line {
        int offsetFromNear; // from left/top when >= 0, else from right/bottom
        int colour;
    };
    static constexpr Line kLines[] = {
        {1, COLOR_BTNFACE}, {2, COLOR_BTNHIGHLIGHT}, {-1, COLOR_WINDOWFRAME}, {-2, COLOR_BTNSHADOW}};
    const COLORREF bkSaved = pDC->GetBkColor(); // FillSolidRect paints through it
    for (const Line& line : kLines) {
        const COLORREF colour = ::GetSysColor(line.colour);
        if (m_nType == typeVertical) {
            const int x = line.offsetFromNear >= 0 ? m_rect.left + line.offsetFromNear
                                                   : m_rect.right + line.offsetFromNear;
            pDC->FillSolidRect(x, m_rect.top, 1, m_rect.Height(), colour);
        } else if (m_nType == typeHorizontal) {
            const int y = line.offsetFromNear >= 0 ? m_rect.top + line.offsetFromNear
                                                   : m_rect.bottom + line.offsetFromNear;
            pDC->FillSolidRect(m_rect.left, y, m_rect.Width(), 1, colour);
        }
    }
    pDC->SetBkColor(bkSaved);
}
