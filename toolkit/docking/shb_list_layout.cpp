// COXSHBListCtrl's layout: measuring items, stacking them, the scroll buttons, the view and
// scrollable rectangles, hit testing, finding by position, scrolling and the placeholder.
//
// Coordinates: the layout is in view coordinates, where the first item's top is 2; the
// client area shows the view from the origin (m_ptOrigin, only y moves), so a client
// point is the view point minus the origin.
#include <algorithm>
#include <cstring>
#include <cwchar>

#include "platform/gdi/imagelist.h"
#include "platform/user/winuser.h"
#include "toolkit/docking/shb_bar.h"
#include "toolkit/docking/shb_gdi.h"
#include "toolkit/docking/shb_list.h"

namespace shb = zyn::toolkit::shb;

namespace {

constexpr int kItemGap = 6;          // between two items
constexpr int kImageMargin = 3;      // around an image
constexpr int kTextMargin = 4;       // added to a measured text
constexpr UINT kMeasureLarge = 0x2415; // DT_CALCRECT | DT_EDITCONTROL | DT_WORDBREAK | DT_VCENTER | DT_CENTER
constexpr UINT kMeasureSmall = 0x0404; // DT_CALCRECT | DT_VCENTER: one line

} // namespace

CRect COXSHBListCtrl::WorkingRect() const
{
    CRect client;
    if (m_hWnd)
        ::GetClientRect(m_hWnd, &client);
    client.top += 2;
    client.bottom -= 2;
    return client;
}

HIMAGELIST COXSHBListCtrl::ViewImageList() const
{
    const int which = GetView() == SHB_SMALLICON ? LVSIL_SMALL : LVSIL_NORMAL;
    return reinterpret_cast<HIMAGELIST>(BaseMessage(LVM_GETIMAGELIST, static_cast<WPARAM>(which)));
}

int COXSHBListCtrl::GetItemImage(int nItem)
{
    if (!ValidItem(nItem))
        return -1;
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = nItem;
    if (!BaseMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return -1;
    const HIMAGELIST list = ViewImageList();
    if (!list || item.iImage < 0 || item.iImage >= ::ImageList_GetImageCount(list))
        return -1;
    return item.iImage;
}

HFONT COXSHBListCtrl::TextFont()
{
    LOGFONT lf{};
    bool have = false;
    if (m_pShortcutBar) {
        if (const LOGFONT* group = m_pShortcutBar->GetGroupTextFont(m_hGroup)) {
            lf = *group;
            have = true;
        }
    }
    if (!have) {
        const auto own = reinterpret_cast<HFONT>(BaseMessage(WM_GETFONT));
        if (!own || ::GetObjectW(own, sizeof lf, &lf) != sizeof lf)
            ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    }
    if (!m_bTextFontMade || std::memcmp(&lf, &m_lfText, sizeof lf) != 0) {
        m_textFont.DeleteObject();
        m_hotFont.DeleteObject();
        m_textFont.CreateFontIndirect(&lf);
        m_lfText = lf;
        m_bTextFontMade = true;
        // Measures taken in another font are worth nothing.
        for (ItemGeometry& g : m_geometry)
            g.measured = false;
        m_nTopsValid = 0;
    }
    return static_cast<HFONT>(m_textFont.GetSafeHandle());
}

void COXSHBListCtrl::InvalidateLayout()
{
    const auto count = static_cast<size_t>(std::max(0, ItemCount()));
    m_geometry.assign(count, ItemGeometry{});
    m_tops.assign(count, 0);
    m_nTopsValid = 0;
    m_nLayoutWidth = -1;
}

void COXSHBListCtrl::InvalidateLayoutFrom(int nItem, bool bRemeasure)
{
    if (bRemeasure && nItem >= 0 && static_cast<size_t>(nItem) < m_geometry.size())
        m_geometry[static_cast<size_t>(nItem)].measured = false;
    m_nTopsValid = std::max(0, std::min(m_nTopsValid, nItem));
}

void COXSHBListCtrl::MeasureItem(MeasureContext& context, int nItem)
{
    ItemGeometry& g = m_geometry[static_cast<size_t>(nItem)];
    g = ItemGeometry{};
    g.measured = true;
    // The image and the text in one question to the list view.
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = nItem;
    item.pszText = context.text.data();
    item.cchTextMax = static_cast<int>(context.text.size());
    context.text[0] = 0;
    BaseMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    int length = static_cast<int>(::wcsnlen(context.text.data(), context.text.size()));
    if (length + 1 >= static_cast<int>(context.text.size())) {
        // A text that filled the buffer may be longer: asked again in full.
        const CString whole = ItemText(nItem);
        context.text.assign(whole.GetString(), whole.GetString() + whole.GetLength() + 1);
        length = whole.GetLength();
        context.text.resize(std::max<size_t>(context.text.size(), 256));
    }
    const wchar_t* text = context.text.data();
    const int width = context.width;
    if (item.iImage >= 0 && item.iImage < context.imageCount)
        g.rectImage = CRect(0, 0, context.imageSize.cx + 2 * kImageMargin, context.imageSize.cy + 2 * kImageMargin);
    if (context.large) {
        if (length > 0 && width > 0) {
            CRect r(0, 0, std::max(0, width - kTextMargin), 0);
            ::DrawTextW(context.hdc, text, length, &r, kMeasureLarge);
            const int w = r.Width() + kTextMargin;
            const int h = r.Height() + kTextMargin;
            const int left = w < width ? (width - w) / 2 : 0;
            g.rectText = CRect(left, g.rectImage.bottom, left + std::min(w, width), g.rectImage.bottom + h);
        }
        g.rectImage.OffsetRect((width - g.rectImage.Width()) / 2, 0);
        g.nHeight = g.rectImage.Height() + g.rectText.Height();
        return;
    }
    if (length > 0 && g.rectImage.Width() < width) {
        CRect r(0, 0, 0, 0);
        ::DrawTextW(context.hdc, text, length, &r, kMeasureSmall);
        const int w = r.Width() + kTextMargin;
        const int h = r.Height() + kTextMargin;
        const int left = g.rectImage.IsRectEmpty() ? 2 : g.rectImage.right;
        g.rectText = CRect(left, 0, std::min(left + w, width), h);
        const int hi = g.rectImage.Height();
        if (h > hi)
            g.rectImage.OffsetRect(0, (h - hi) / 2);
        else
            g.rectText.OffsetRect(0, (hi - h) / 2);
    }
    g.nHeight = std::max(g.rectImage.Height(), g.rectText.Height());
}

void COXSHBListCtrl::EnsureLayout(int nUpTo)
{
    const int count = ItemCount();
    if (m_geometry.size() != static_cast<size_t>(count))
        InvalidateLayout();
    const CRect working = WorkingRect();
    const int width = working.Width();
    const HFONT font = TextFont();
    if (width != m_nLayoutWidth) {
        for (ItemGeometry& g : m_geometry)
            g.measured = false;
        m_nTopsValid = 0;
        m_nLayoutWidth = width;
    }
    nUpTo = std::min(nUpTo, count);
    if (m_nTopsValid >= nUpTo)
        return;
    CRect client;
    ::GetClientRect(m_hWnd, &client);
    if (client.IsRectEmpty()) {
        // No room: every item is the empty client rectangle.
        for (int i = m_nTopsValid; i < nUpTo; ++i) {
            m_geometry[static_cast<size_t>(i)] = ItemGeometry{CRect(), CRect(), 0, true};
            m_tops[static_cast<size_t>(i)] = 0;
        }
        m_nTopsValid = nUpTo;
        return;
    }
    MeasureContext context;
    context.width = width;
    context.large = GetView() != SHB_SMALLICON;
    if (const HIMAGELIST images = ViewImageList()) {
        int cx = 0, cy = 0;
        ::ImageList_GetIconSize(images, &cx, &cy);
        context.imageSize = CSize(cx, cy);
        context.imageCount = ::ImageList_GetImageCount(images);
    }
    HDC hdc = nullptr;
    HGDIOBJ oldFont = nullptr;
    int top = working.top;
    if (m_nTopsValid > 0) {
        const auto last = static_cast<size_t>(m_nTopsValid - 1);
        top = m_tops[last] + m_geometry[last].nHeight + kItemGap;
    }
    for (int i = m_nTopsValid; i < nUpTo; ++i) {
        if (!m_geometry[static_cast<size_t>(i)].measured) {
            if (!hdc) {
                hdc = ::GetDC(m_hWnd);
                oldFont = ::SelectObject(hdc, font);
                context.hdc = hdc;
                context.text.assign(256, 0);
            }
            MeasureItem(context, i);
        }
        m_tops[static_cast<size_t>(i)] = top;
        top += m_geometry[static_cast<size_t>(i)].nHeight + kItemGap;
    }
    if (hdc) {
        ::SelectObject(hdc, oldFont);
        ::ReleaseDC(m_hWnd, hdc);
    }
    m_nTopsValid = nUpTo;
}

CRect COXSHBListCtrl::ItemRectView(int nItem) const
{
    const CRect working = WorkingRect();
    const auto i = static_cast<size_t>(nItem);
    return CRect(working.left, m_tops[i], working.right, m_tops[i] + m_geometry[i].nHeight);
}

CRect COXSHBListCtrl::ImageRectView(int nItem) const
{
    CRect r = m_geometry[static_cast<size_t>(nItem)].rectImage;
    r.OffsetRect(WorkingRect().left, m_tops[static_cast<size_t>(nItem)]);
    return r;
}

CRect COXSHBListCtrl::TextRectView(int nItem) const
{
    CRect r = m_geometry[static_cast<size_t>(nItem)].rectText;
    r.OffsetRect(WorkingRect().left, m_tops[static_cast<size_t>(nItem)]);
    return r;
}

int COXSHBListCtrl::LowestBottom()
{
    const int count = ItemCount();
    if (count == 0)
        return 0;
    EnsureLayout(count);
    const auto last = static_cast<size_t>(count - 1);
    return m_tops[last] + m_geometry[last].nHeight;
}

void COXSHBListCtrl::CalculateBoundRects()
{
    InvalidateLayout();
    EnsureLayout(ItemCount());
    CalculateScrollRects();
}

void COXSHBListCtrl::CalculateScrollRects()
{
    m_rectScrollUp.SetRectEmpty();
    m_rectScrollDown.SetRectEmpty();
    const CRect working = WorkingRect();
    if (working.IsRectEmpty() || (GetBarStyle() & SHBS_NOSCROLL))
        return;
    const CSize size = GetScrollButtonSize();
    if (m_ptOrigin.y != 0)
        m_rectScrollUp = CRect(working.right - size.cx, working.top, working.right, working.top + size.cy);
    CRect scrollable;
    GetScrollableRect(scrollable, -1);
    if (scrollable.bottom > m_ptOrigin.y + working.bottom)
        m_rectScrollDown = CRect(working.right - size.cx, working.bottom - size.cy, working.right, working.bottom);
}

BOOL COXSHBListCtrl::GetViewRect(LPRECT lpRect, BOOL bVisibleOnly)
{
    if (!lpRect)
        return FALSE;
    CRect client;
    ::GetClientRect(m_hWnd, &client);
    CRect view(client.left, client.top + 2, client.right, LowestBottom());
    if (bVisibleOnly) {
        view.top += m_ptOrigin.y;
        view.bottom = std::min<LONG>(view.bottom, client.bottom - 2 + m_ptOrigin.y);
    }
    *lpRect = view;
    return TRUE;
}

BOOL COXSHBListCtrl::GetOrigin(LPPOINT lpPoint) const
{
    if (!lpPoint)
        return FALSE;
    *lpPoint = m_ptOrigin;
    return TRUE;
}

void COXSHBListCtrl::GetScrollableRect(CRect& rect, int nTopItem)
{
    GetViewRect(&rect, FALSE);
    const int count = ItemCount();
    const CRect working = WorkingRect();
    const int visibleHeight = working.Height();
    if (count == 0 || rect.Height() <= visibleHeight)
        return;
    // Wherever the list is now stays reachable, and from the top item on there is room
    // for a whole visible height.
    const int visibleTop = m_ptOrigin.y + working.top;
    rect.bottom = std::max<LONG>(rect.bottom, m_ptOrigin.y + working.bottom);
    int top = nTopItem;
    if (top < 0) {
        top = GetTopIndex();
        if (top >= 0 && m_tops[static_cast<size_t>(top)] < visibleTop)
            ++top;
    }
    top = std::min(top, count - 1);
    if (top >= 0)
        rect.bottom = std::max<LONG>(rect.bottom, m_tops[static_cast<size_t>(top)] + visibleHeight);
}

int COXSHBListCtrl::GetTopIndex()
{
    // The item whose span holds the view point (0, 2), else the first one below it: the
    // items are stacked in order, so that is the first whose bottom lies below the point.
    const int count = ItemCount();
    if (count == 0)
        return -1;
    EnsureLayout(count);
    const int y = 2 + m_ptOrigin.y;
    int lo = 0, hi = count;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (m_tops[static_cast<size_t>(mid)] + m_geometry[static_cast<size_t>(mid)].nHeight > y)
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo < count ? lo : -1;
}

int COXSHBListCtrl::GetCountPerPage()
{
    CRect visible;
    GetViewRect(&visible, TRUE);
    const int count = ItemCount();
    int n = 0;
    for (int i = std::max(0, GetTopIndex()); i < count; ++i) {
        const CRect item = ItemRectView(i);
        if (item.top >= visible.bottom)
            break;
        CRect meet;
        if (meet.IntersectRect(&item, &visible))
            ++n;
    }
    return n;
}

int COXSHBListCtrl::FindItem(LVFINDINFO* pFindInfo, int nStart)
{
    const int count = ItemCount();
    if (!pFindInfo || count == 0)
        return -1;
    if (!(pFindInfo->flags & LVFI_NEARESTXY))
        return static_cast<int>(BaseMessage(LVM_FINDITEMW, static_cast<WPARAM>(nStart),
            reinterpret_cast<LPARAM>(pFindInfo)));
    EnsureLayout(count);
    const CPoint pt(pFindInfo->pt.x + m_ptOrigin.x, pFindInfo->pt.y + m_ptOrigin.y);
    int best = -1;
    int bestDistance = 0;
    // An item whose span holds the point's y is taken at once; otherwise the nearest in
    // the direction asked (the first on ties).
    const auto examine = [&](int i) {
        const CRect item = ItemRectView(i);
        if (pt.y >= item.top && pt.y < item.bottom)
            return true;
        int distance = 0;
        if (pFindInfo->vkDirection == VK_UP)
            distance = pt.y - item.bottom;
        else if (pFindInfo->vkDirection == VK_DOWN)
            distance = item.top - pt.y;
        if (distance > 0 && (best < 0 || distance < bestDistance)) {
            best = i;
            bestDistance = distance;
        }
        return false;
    };
    for (int i = std::max(0, nStart + 1); i < count; ++i) {
        if (examine(i))
            return i;
    }
    if (pFindInfo->flags & LVFI_WRAP) {
        for (int i = 0; i <= std::min(nStart, count - 1); ++i) {
            if (examine(i))
                return i;
        }
    }
    return best;
}

BOOL COXSHBListCtrl::GetItemRect(int nItem, LPRECT lpRect, UINT nCode)
{
    if (!lpRect || !ValidItem(nItem))
        return FALSE;
    EnsureLayout(nItem + 1);
    CRect r;
    switch (nCode) {
    case LVIR_BOUNDS: {
        const CRect image = ImageRectView(nItem), text = TextRectView(nItem);
        if (image.IsRectEmpty())
            r = text;
        else if (text.IsRectEmpty())
            r = image;
        else
            r.UnionRect(&image, &text);
        break;
    }
    case LVIR_ICON: r = ImageRectView(nItem); break;
    case LVIR_LABEL: r = TextRectView(nItem); break;
    case SHBLC_ENTIREITEM: r = ItemRectView(nItem); break;
    default: return FALSE;
    }
    r.OffsetRect(-m_ptOrigin.x, -m_ptOrigin.y);
    *lpRect = r;
    return TRUE;
}

BOOL COXSHBListCtrl::GetItemPosition(int nItem, LPPOINT lpPoint)
{
    CRect r;
    if (!lpPoint || !GetItemRect(nItem, &r, SHBLC_ENTIREITEM))
        return FALSE;
    *lpPoint = r.TopLeft();
    return TRUE;
}

int COXSHBListCtrl::HitTest(CPoint pt, UINT* pFlags, BOOL bIgnoreScrollButtons)
{
    LVHITTESTINFO info{};
    info.pt = pt;
    const int item = HitTest(&info, bIgnoreScrollButtons);
    if (pFlags)
        *pFlags = info.flags;
    return item;
}

int COXSHBListCtrl::HitTest(LVHITTESTINFO* pHitTestInfo, BOOL bIgnoreScrollButtons)
{
    if (!pHitTestInfo)
        return -1;
    pHitTestInfo->iItem = -1;
    pHitTestInfo->iSubItem = 0;
    const CPoint pt = pHitTestInfo->pt;
    if (!bIgnoreScrollButtons && !(GetBarStyle() & SHBS_NOSCROLL)) {
        CalculateScrollRects();
        if (m_rectScrollUp.PtInRect(pt)) {
            pHitTestInfo->flags = SHBLC_ONSCROLLUP;
            return -1;
        }
        if (m_rectScrollDown.PtInRect(pt)) {
            pHitTestInfo->flags = SHBLC_ONSCROLLDOWN;
            return -1;
        }
    }
    const CPoint view(pt.x + m_ptOrigin.x, pt.y + m_ptOrigin.y);
    CRect viewRect;
    GetViewRect(&viewRect, FALSE);
    if (!viewRect.PtInRect(view)) {
        UINT flags = 0;
        if (view.x < viewRect.left)
            flags |= LVHT_TOLEFT;
        else if (view.x >= viewRect.right)
            flags |= LVHT_TORIGHT;
        if (view.y < viewRect.top)
            flags |= LVHT_ABOVE;
        else if (view.y >= viewRect.bottom)
            flags |= LVHT_BELOW;
        pHitTestInfo->flags = flags ? flags : LVHT_NOWHERE;
        return -1;
    }
    LVFINDINFO find{};
    find.flags = LVFI_NEARESTXY;
    find.pt = pt;
    find.vkDirection = VK_DOWN;
    const int item = FindItem(&find, -1);
    if (item < 0 || !ItemRectView(item).PtInRect(view)) {
        pHitTestInfo->flags = LVHT_NOWHERE;
        return -1;
    }
    const CRect image = ImageRectView(item), text = TextRectView(item);
    CRect both;
    both.UnionRect(&image, &text);
    if (image.PtInRect(view))
        pHitTestInfo->flags = LVHT_ONITEMICON;
    else if (text.PtInRect(view))
        pHitTestInfo->flags = LVHT_ONITEMLABEL;
    else if (both.PtInRect(view))
        pHitTestInfo->flags = SHBLC_ONIMAGEANDTEXT;
    else
        pHitTestInfo->flags = SHBLC_ONITEM;
    pHitTestInfo->iItem = item;
    return item;
}

BOOL COXSHBListCtrl::EnsureVisible(int nItem, BOOL bPartialOK)
{
    if (!ValidItem(nItem))
        return FALSE;
    EnsureLayout(ItemCount());
    const CRect working = WorkingRect();
    const int visibleTop = m_ptOrigin.y + working.top;
    const int visibleBottom = m_ptOrigin.y + working.bottom;
    CRect item = ItemRectView(nItem);
    if (!bPartialOK && item.Height() >= visibleBottom - visibleTop)
        return FALSE;
    const auto whole = [&](const CRect& r) { return r.top >= visibleTop && r.bottom <= visibleBottom; };
    const bool partly = item.bottom > visibleTop && item.top < visibleBottom;
    if (whole(item) || (bPartialOK && partly))
        return TRUE;
    int dy = 0;
    if (item.bottom > visibleBottom)
        dy = item.bottom - visibleBottom;
    else if (item.top < visibleTop)
        dy = item.top - visibleTop;
    Scroll(CSize(0, dy));
    if (bPartialOK)
        return TRUE;
    item = ItemRectView(nItem);
    return item.top >= m_ptOrigin.y + working.top && item.bottom <= m_ptOrigin.y + working.bottom;
}

BOOL COXSHBListCtrl::Scroll(CSize size)
{
    const int count = ItemCount();
    CRect client;
    ::GetClientRect(m_hWnd, &client);
    if (count == 0 || client.IsRectEmpty())
        return FALSE;
    EnsureLayout(count);
    const CRect working = WorkingRect();
    int top = GetTopIndex();
    if (size.cy < 0)
        top = std::max(0, top - 1);
    else if (size.cy > 0)
        top = std::min(count - 1, top + 1);
    CRect scrollable;
    GetScrollableRect(scrollable, top);
    // The visible part stays inside the scrollable rectangle.
    const int visibleTop = m_ptOrigin.y + working.top;
    const int visibleBottom = m_ptOrigin.y + working.bottom;
    int dy = size.cy;
    if (dy > 0)
        dy = std::min<int>(dy, std::max<int>(0, scrollable.bottom - visibleBottom));
    else if (dy < 0)
        dy = std::max<int>(dy, std::min<int>(0, scrollable.top - visibleTop));
    const int dx = 0; // the view is as wide as the client area
    if (dx == 0 && dy == 0)
        return FALSE;
    m_ptOrigin.Offset(dx, dy);
    CalculateScrollRects();
    if (m_edit.IsEditing() && m_nEditItem >= 0)
        CancelEdit();
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    ::UpdateWindow(m_hWnd);
    return TRUE;
}

BOOL COXSHBListCtrl::Update(int nItem)
{
    if (!ValidItem(nItem))
        return FALSE;
    EnsureLayout(nItem + 1);
    for (const CRect& part : {ImageRectView(nItem), TextRectView(nItem)}) {
        CRect r = part;
        if (r.IsRectEmpty())
            continue;
        r.OffsetRect(-m_ptOrigin.x, -m_ptOrigin.y);
        ::InvalidateRect(m_hWnd, &r, TRUE);
    }
    ::UpdateWindow(m_hWnd);
    return TRUE;
}

BOOL COXSHBListCtrl::RedrawItems(int nFirst, int nLast)
{
    const int count = ItemCount();
    if (nFirst < 0 || nLast < nFirst || nFirst >= count)
        return FALSE;
    nLast = std::min(nLast, count - 1);
    EnsureLayout(nLast + 1);
    CRect r = ItemRectView(nFirst);
    r.bottom = ItemRectView(nLast).bottom;
    r.OffsetRect(-m_ptOrigin.x, -m_ptOrigin.y);
    ::InvalidateRect(m_hWnd, &r, TRUE);
    ::UpdateWindow(m_hWnd);
    return TRUE;
}

CRect COXSHBListCtrl::GetPlaceHolderRect(int nItem)
{
    const int count = ItemCount();
    CRect client;
    ::GetClientRect(m_hWnd, &client);
    EnsureLayout(count);
    if (nItem <= 0 || count == 0) // the top 2 pixels of the client area
        return CRect(client.left, client.top, client.right, client.top + 10);
    if (nItem >= count) { // the 2 pixels under the last item
        const int gapBottom = LowestBottom() + 2 - m_ptOrigin.y;
        return CRect(client.left, gapBottom - 10, client.right, gapBottom);
    }
    const int gapTop = m_tops[static_cast<size_t>(nItem)] - kItemGap - m_ptOrigin.y;
    const int middle = (2 * gapTop + kItemGap) / 2;
    return CRect(client.left, middle - 7, client.right, middle + 8);
}

void COXSHBListCtrl::OnSize(UINT nType, int cx, int cy)
{
    CListCtrl::OnSize(nType, cx, cy);
    // A new width measures every item again when geometry is next asked for (EnsureLayout
    // sees the width change); the scroll buttons follow the new height.
    CalculateScrollRects();
    RedrawList();
}
