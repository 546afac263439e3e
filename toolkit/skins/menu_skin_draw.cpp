#include "toolkit/skins/menu_skin_draw.h"

#include "platform/afx/gdi/dc.h"
#include "platform/afx/gdi/image_list.h"
#include "platform/base/cstring.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/winuser.h"
#include "toolkit/menus/bitmap_menu.h"
#include "toolkit/skins/menu_skin.h"

namespace zyn::menuskin {

void DistributeColumns(const OXDIMENSIONCONSTANTS& dims, COXBitmapMenu* menu, COXImageInfo* imageInfo,
    const RECT& itemRect, bool xpButton, CRect& button, CRect& image, CRect& text, CRect& accel)
{
    const CRect item(itemRect);
    const int imageColumn = menu ? menu->GetImageColumnWidth() : 0;
    const int textHeight = menu ? menu->GetTextHeight() : 0;
    const int textColumn = menu ? menu->GetTextColumnWidth() : 0;
    const int accelColumn = menu ? menu->GetAcceleratorColumnWidth() : 0;

    if (imageInfo && imageInfo->HasImage()) {
        const SIZE size = imageInfo->GetImageSize();
        image = CRect(CPoint(item.left + dims.nImageLeftGap, item.top + (item.Height() - size.cy) / 2), CSize(size));
        if (xpButton) {
            button = CRect(item.left + 1, item.top + 1, item.left + 1 + 4 + imageColumn, item.bottom - 1);
            if (imageInfo->IsDefaultImgList())
                image.OffsetRect((button.Width() - image.Width()) / 2 - 1, 0);
        } else {
            button = image;
            button.InflateRect(2, 2);
        }
    }
    const int shrink = (item.Height() - textHeight) / 2;
    text = item;
    text.left = dims.nImageLeftGap + imageColumn + dims.nImageTextGap;
    text.right = text.left + textColumn;
    text.top = item.top + shrink;
    text.bottom = item.bottom - shrink;
    accel.right = item.right - dims.nAccelRightGap;
    accel.left = accel.right - accelColumn;
    accel.OffsetRect(-(accel.left - text.right) / 2, 0);
    accel.top = text.top;
    accel.bottom = text.bottom;
}

namespace {

SIZE PrefixTextSize(HDC hdc, const CString& text)
{
    RECT r{0, 0, 0, 0};
    if (!text.IsEmpty())
        ::DrawTextW(hdc, text.GetString(), text.GetLength(), &r, DT_CALCRECT | DT_SINGLELINE);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void DrawPrefixText(HDC hdc, const CString& text, int x, int y, SIZE size, UINT dssFlags)
{
    if (text.IsEmpty() || size.cx <= 0)
        return;
    ::DrawStateW(hdc, nullptr, nullptr, reinterpret_cast<LPARAM>(text.GetString()),
        static_cast<WPARAM>(text.GetLength()), x, y, size.cx, size.cy, DST_PREFIXTEXT | dssFlags);
}

} // namespace

void DrawItemText(CDC* dc, const wchar_t* text, const RECT& textRect, const RECT& accelRect, COLORREF colour,
    UINT dssFlags)
{
    if (!dc || !text)
        return;
    const HDC hdc = dc->GetSafeHdc();
    const CString whole(text);
    const int tab = whole.Find(L'\t');
    const CString label = tab < 0 ? whole : whole.Left(tab);
    const CString accel = tab < 0 ? CString() : whole.Mid(tab + 1);
    const COLORREF oldColour = ::SetTextColor(hdc, colour);
    const int oldMode = ::SetBkMode(hdc, TRANSPARENT);
    if (dssFlags == 0) {
        // Plain text draws in one layout pass: the label from the text rectangle's top
        // left, the accelerator right-aligned to the accelerator rectangle, neither clipped.
        if (!label.IsEmpty()) {
            RECT r{textRect.left, textRect.top, textRect.left, textRect.top};
            ::DrawTextW(hdc, label.GetString(), label.GetLength(), &r, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP);
        }
        if (!accel.IsEmpty()) {
            RECT r{accelRect.right, accelRect.top, accelRect.right, accelRect.top};
            ::DrawTextW(hdc, accel.GetString(), accel.GetLength(), &r, DT_RIGHT | DT_TOP | DT_SINGLELINE | DT_NOCLIP);
        }
    } else {
        DrawPrefixText(hdc, label, textRect.left, textRect.top, PrefixTextSize(hdc, label), dssFlags);
        const SIZE accelSize = PrefixTextSize(hdc, accel);
        DrawPrefixText(hdc, accel, accelRect.right - accelSize.cx, accelRect.top, accelSize, dssFlags);
    }
    ::SetBkMode(hdc, oldMode);
    ::SetTextColor(hdc, oldColour);
}

void DrawMarlettGlyph(CDC* dc, wchar_t glyph, const RECT& rect, COLORREF colour, UINT format)
{
    if (!dc)
        return;
    const HDC hdc = dc->GetSafeHdc();
    LOGFONTW lf{};
    lf.lfHeight = ::GetSystemMetrics(SM_CYMENUCHECK);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = SYMBOL_CHARSET;
    ::wcscpy(lf.lfFaceName, L"Marlett");
    const HFONT font = ::CreateFontIndirectW(&lf);
    if (!font)
        return;
    const HGDIOBJ oldFont = ::SelectObject(hdc, font);
    const COLORREF oldColour = ::SetTextColor(hdc, colour);
    const int oldMode = ::SetBkMode(hdc, TRANSPARENT);
    RECT r = rect;
    ::DrawTextW(hdc, &glyph, 1, &r, format);
    ::SetBkMode(hdc, oldMode);
    ::SetTextColor(hdc, oldColour);
    ::SelectObject(hdc, oldFont);
    ::DeleteObject(font);
}

void DrawInsertMarkOutline(CDC* dc, const RECT& item, BOOL before)
{
    if (!dc)
        return;
    CRect r(item);
    r.DeflateRect(2, 2);
    if (before) {
        r.top -= 2;
        r.bottom = r.top + 3;
    } else {
        r.bottom += 1;
        r.top = r.bottom - 3;
    }
    const POINT outline[] = {{r.left, r.top}, {r.left + 1, r.top + 1}, {r.right - 1, r.top + 1}, {r.right, r.top},
        {r.right, r.bottom}, {r.right - 1, r.bottom - 1}, {r.left + 1, r.bottom - 1}, {r.left, r.bottom},
        {r.left, r.top}};
    dc->Polyline(outline, static_cast<int>(sizeof outline / sizeof outline[0]));
}

int ImageIndexFor(const COXImageInfo& imageInfo, UINT state)
{
    return (state & ODS_SELECTED) && imageInfo.GetHotIndex() != -1 ? imageInfo.GetHotIndex() : imageInfo.GetIndex();
}

void DrawImageTransparent(CDC* dc, const COXImageInfo& imageInfo, int index, POINT at)
{
    if (dc && imageInfo.GetImageList())
        imageInfo.GetImageList()->Draw(dc, index, at, ILD_TRANSPARENT);
}

void DrawImageState(CDC* dc, const COXImageInfo& imageInfo, int index, POINT at, UINT dss, COLORREF brushColour)
{
    CImageList* list = imageInfo.GetImageList();
    if (!dc || !list)
        return;
    const HICON icon = list->ExtractIcon(index);
    if (!icon)
        return;
    const HBRUSH brush = brushColour != CLR_INVALID ? ::CreateSolidBrush(brushColour) : nullptr;
    ::DrawStateW(dc->GetSafeHdc(), brush, nullptr, reinterpret_cast<LPARAM>(icon), 0, at.x, at.y, 0, 0,
        DST_ICON | dss);
    if (brush)
        ::DeleteObject(brush);
    ::DestroyIcon(icon);
}

void DrawImageSilhouette(CDC* dc, const COXImageInfo& imageInfo, int index, POINT at, COLORREF colour)
{
    CImageList* list = imageInfo.GetImageList();
    const SIZE size = imageInfo.GetImageSize();
    if (!dc || !list || size.cx <= 0 || size.cy <= 0)
        return;
    const HDC hdc = dc->GetSafeHdc();
    const HDC maskDC = ::CreateCompatibleDC(hdc);
    const HBITMAP mask = ::CreateBitmap(size.cx, size.cy, 1, 1, nullptr);
    const HBRUSH brush = ::CreateSolidBrush(colour);
    if (maskDC && mask && brush) {
        const HGDIOBJ oldMask = ::SelectObject(maskDC, mask);
        // Opaque pixels black, transparent ones white.
        ::ImageList_Draw(list->GetSafeHandle(), index, maskDC, 0, 0, ILD_MASK);
        // Where the mask is black the brush, elsewhere the destination (P ^ (S & (D ^ P))).
        const COLORREF oldText = ::SetTextColor(hdc, RGB(0, 0, 0));
        const COLORREF oldBack = ::SetBkColor(hdc, RGB(255, 255, 255));
        const HGDIOBJ oldBrush = ::SelectObject(hdc, brush);
        ::BitBlt(hdc, at.x, at.y, size.cx, size.cy, maskDC, 0, 0, 0xB8074A);
        ::SelectObject(hdc, oldBrush);
        ::SetBkColor(hdc, oldBack);
        ::SetTextColor(hdc, oldText);
        ::SelectObject(maskDC, oldMask);
    }
    if (brush)
        ::DeleteObject(brush);
    if (mask)
        ::DeleteObject(mask);
    if (maskDC)
        ::DeleteDC(maskDC);
}

void FramedFill(CDC* dc, const RECT& rect, COLORREF frame, COLORREF fill)
{
    if (!dc)
        return;
    const HDC hdc = dc->GetSafeHdc();
    const HPEN pen = ::CreatePen(PS_SOLID, 1, frame);
    const HBRUSH brush = ::CreateSolidBrush(fill);
    const HGDIOBJ oldPen = ::SelectObject(hdc, pen);
    const HGDIOBJ oldBrush = ::SelectObject(hdc, brush);
    ::Rectangle(hdc, rect.left, rect.top, rect.right, rect.bottom);
    ::SelectObject(hdc, oldBrush);
    ::SelectObject(hdc, oldPen);
    ::DeleteObject(brush);
    ::DeleteObject(pen);
}

} // namespace zyn::menuskin
