// The editor's automatic sizing: after every change of the text the edit is measured and
// placed inside its maximum rectangle.
#include <algorithm>

#include "platform/afx/gdi/dc.h"
#include "platform/afx/window_dc.h"
#include "platform/base/cstring.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/edit.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "toolkit/docking/shb_edit.h"

namespace zyn::toolkit::shb {

CRect PlaceAutoSizedEdit(const CRect& rectMax, const CRect& rectMinimum, CSize measured, DWORD dwStyle)
{
    const int maxWidth = rectMax.Width(), maxHeight = rectMax.Height();
    const int width = std::max<int>(std::min<int>(measured.cx, maxWidth), rectMinimum.Width());
    const int height = std::max<int>(std::min<int>(measured.cy, maxHeight), rectMinimum.Height());
    CRect r = rectMax;
    const int d = maxWidth - width;
    if (d > 0) {
        if (dwStyle & ES_RIGHT) {
            r.left = rectMax.left + d;
        } else if (dwStyle & ES_CENTER) {
            r.right = rectMax.right - d / 2;
            r.left = r.right - width;
        } else {
            r.right = rectMax.right - d;
        }
    }
    r.top = rectMax.top;
    if (maxHeight >= height)
        r.bottom = rectMax.bottom - (maxHeight - height);
    return r;
}

} // namespace zyn::toolkit::shb

void COXSHBEdit::OnUpdate()
{
    const _tagSHBE_DISPLAY* d = m_pDisplayInfo.get();
    if (!d || (d->nMask & (SHBEIF_AUTOSIZE | SHBEIF_RECTMAX)) != (SHBEIF_AUTOSIZE | SHBEIF_RECTMAX) || !d->bAutoSize)
        return;
    const CRect minimum = (d->nMask & SHBEIF_RECTMIN) ? CRect(d->rectMin) : CRect(d->rectDisplay);
    CString text;
    GetWindowText(text);
    if (text.IsEmpty()) {
        MoveWindow(&minimum, TRUE);
    } else {
        // The margins between the window and its formatting rectangle come back around
        // the measured text.
        CRect window;
        GetWindowRect(&window);
        CRect format;
        GetRect(&format);
        ClientToScreen(&format);
        const int left = format.left - window.left, top = format.top - window.top;
        const int right = window.right - format.right, bottom = window.bottom - format.bottom;
        const CRect rectMax(d->rectMax);
        CRect measure(0, 0, rectMax.Width() - (left + right), rectMax.Height() - (top + bottom));
        UINT format_flags = DT_CALCRECT | DT_VCENTER | DT_CENTER;
        if (GetStyle() & ES_MULTILINE)
            format_flags |= DT_EDITCONTROL | DT_WORDBREAK;
        {
            CClientDC dc(this);
            CFont* old = m_font.m_hObject ? dc.SelectObject(&m_font) : nullptr;
            dc.DrawText(text, &measure, format_flags);
            if (old)
                dc.SelectObject(old);
        }
        const CSize measured(measure.Width() + left + right, measure.Height() + top + bottom);
        const CRect placed = zyn::toolkit::shb::PlaceAutoSizedEdit(rectMax, minimum, measured, GetStyle());
        MoveWindow(&placed, TRUE);
    }
    CRect client;
    GetClientRect(&client);
    SetRect(&client);
}
