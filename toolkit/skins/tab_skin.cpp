#include "toolkit/skins/tab_skin.h"

#include <algorithm>
#include <cwchar>
#include <utility>

#include "platform/afx/gdi/bitmap.h"
#include "platform/afx/gdi/brush.h"
#include "platform/afx/gdi/font.h"
#include "platform/afx/gdi/pen.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/messages.h"
#include "platform/user/window.h"
#include "platform/afx/window_dc.h"
#include "platform/base/module.h"
#include "platform/gdi/builtin_modules.h"
#include "platform/user/input.h"
#include "platform/user/vkeys.h"
#include "toolkit/docking/skinned_tab_ctrl.h"
#include "toolkit/docking/tab_client.h"
#include "toolkit/docking/tab_view_container.h"
#include "toolkit/skins/dc_guard.h"
#include "toolkit/skins/skin_2003.h"

namespace {

// What the window class itself draws for the WM_PAINT being handled (a paint message may
// carry the DC to draw into).
void PaintAsClass(CWnd* wnd)
{
    if (!wnd || !wnd->m_hWnd)
        return;
    const MSG* current = CWnd::GetCurrentMessage();
    const bool painting = current && current->hwnd == wnd->m_hWnd && current->message == WM_PAINT;
    wnd->DefWindowProc(WM_PAINT, painting ? current->wParam : 0, 0);
}

// The Classic look: the system's own tabs, for any tab control (one that is not a skinned
// control would otherwise be left unpainted, its update region validated by nobody).
void PaintClassicTabCtrl(CTabCtrl* tabCtrl) { PaintAsClass(tabCtrl); }

// The system menu font, optionally turned (tenths of a degree).
bool MenuFont(LOGFONT& font)
{
    NONCLIENTMETRICS metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        return false;
    font = metrics.lfMenuFont;
    return true;
}

// A loaded library freed when the scope ends.
class ScopedLibrary {
public:
    explicit ScopedLibrary(const wchar_t* name) : m_module(::LoadLibraryW(name)) {}
    ~ScopedLibrary()
    {
        if (m_module)
            ::FreeLibrary(m_module);
    }
    ScopedLibrary(const ScopedLibrary&) = delete;
    ScopedLibrary& operator=(const ScopedLibrary&) = delete;
    HMODULE Get() const { return m_module; }
    template <class Fn>
    Fn Proc(const char* name) const
    {
        return m_module ? reinterpret_cast<Fn>(::GetProcAddress(m_module, name)) : nullptr;
    }

private:
    HMODULE m_module;
};

CRect ClientOf(CWnd* wnd)
{
    CRect r;
    wnd->GetClientRect(&r);
    return r;
}

// The display area of a tab control's client rectangle.
CRect DisplayOf(CTabCtrl* tabCtrl, CRect client)
{
    tabCtrl->AdjustRect(FALSE, &client);
    return client;
}

// The part of a client rectangle that a paint DC can change: its clip box, widened to
// multiples of 8 from the client's corner and kept inside the client; the whole client
// when the clip box is empty or cannot be had.
CRect PaintedArea(CDC& paintDC, const CRect& client)
{
    CRect box;
    if (paintDC.GetClipBox(&box) == ERROR_REGION || !box.IntersectRect(&box, &client))
        return client;
    auto down = [](int v, int from) { return from + (v - from) / 8 * 8; };
    auto up = [](int v, int from) { return from + (v - from + 7) / 8 * 8; };
    return CRect(down(box.left, client.left), down(box.top, client.top), std::min(up(box.right, client.left), client.right),
        std::min(up(box.bottom, client.top), client.bottom));
}

bool TabsAtBottom(const CWnd* tabCtrl) { return (tabCtrl->GetStyle() & TCS_BOTTOM) != 0; }

void Line(CDC& dc, CPen* pen, int x1, int y1, int x2, int y2)
{
    COXSelectGuard<CPen> guard(dc, pen);
    dc.MoveTo(x1, y1);
    dc.LineTo(x2, y2);
}

CPen* StockPen(int index) { return CPen::FromHandle(static_cast<HPEN>(::GetStockObject(index))); }

// Gives a skinned tab control's arrows their window: the control's own up-down child,
// made when its tabs first overflowed. Nothing when they have one already.
void AttachSpinCtrl(CTabCtrl* tabCtrl)
{
    auto* skinned = DYNAMIC_DOWNCAST(COXSkinnedTabCtrl, tabCtrl);
    if (!skinned || !skinned->m_hWnd || skinned->GetSpinCtrl()->m_hWnd)
        return;
    for (HWND child = ::GetWindow(skinned->m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[16] = {};
        ::GetClassNameW(child, name, 16);
        if (std::wcscmp(name, UPDOWN_CLASSW) == 0) {
            skinned->GetSpinCtrl()->SubclassWindow(child);
            return;
        }
    }
}

} // namespace

// ---- Classic ---------------------------------------------------------------------------------------

void COXTabSkinClassic::OnPaintTabCtrl(CTabCtrl* tabCtrl)
{
    PaintClassicTabCtrl(tabCtrl);
    if (tabCtrl && tabCtrl->m_hWnd && (tabCtrl->GetStyle() & TCS_VERTICAL) && IsVerticalTextRepairNeeded())
        RedrawVerticalText(tabCtrl);
}

BOOL COXTabSkinClassic::GetSystemVersion(OSVERSIONINFO* info) const
{
    info->dwOSVersionInfoSize = sizeof(OSVERSIONINFO);
    return ::GetVersionEx(info);
}

BOOL COXTabSkinClassic::IsVerticalTextRepairNeeded() const
{
    OSVERSIONINFO version{};
    if (!GetSystemVersion(&version) || version.dwMajorVersion != 5 || version.dwMinorVersion != 1)
        return FALSE;
    {
        const ScopedLibrary theme(L"uxtheme.dll");
        using ThemeFn = BOOL (*)();
        const auto isAppThemed = theme.Proc<ThemeFn>("IsAppThemed");
        const auto isThemeActive = theme.Proc<ThemeFn>("IsThemeActive");
        if (!isAppThemed || !isThemeActive || !isAppThemed() || !isThemeActive())
            return FALSE;
    }
    const ScopedLibrary controls(L"comctl32.dll");
    const auto getVersion = controls.Proc<DLLGETVERSIONPROC>("DllGetVersion");
    if (!getVersion)
        return FALSE;
    DLLVERSIONINFO info{};
    info.cbSize = sizeof(info);
    return SUCCEEDED(getVersion(&info)) && info.dwMajorVersion > 5;
}

void COXTabSkinClassic::RedrawVerticalText(CTabCtrl* tabCtrl)
{
    LOGFONT logFont{};
    if (!MenuFont(logFont))
        return;
    logFont.lfEscapement = 900;
    CClientDC dc(tabCtrl);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    const DWORD style = tabCtrl->GetStyle();
    CImageList* images = tabCtrl->GetImageList();
    for (int i = 0; i < tabCtrl->GetItemCount(); ++i) {
        CRect item;
        tabCtrl->GetItemRect(i, &item);
        wchar_t text[511] = {};
        TCITEM tci{};
        tci.mask = TCIF_TEXT | TCIF_IMAGE;
        tci.pszText = text;
        tci.cchTextMax = 510;
        if (!tabCtrl->GetItem(i, &tci))
            continue;
        int offset = item.Height();
        if (tci.iImage >= 0 && images) {
            IMAGEINFO info{};
            images->GetImageInfo(tci.iImage, &info);
            offset -= (style & TCS_RIGHT) ? 10 : CRect(info.rcImage).Width() + 10;
        }
        CRect textRect = item;
        textRect.OffsetRect(0, offset);
        CFont font;
        if (!font.CreateFontIndirect(&logFont))
            continue;
        COXSelectGuard<CFont> guard(dc, &font);
        dc.DrawText(text, -1, &textRect, DT_NOCLIP);
    }
    dc.SetBkMode(oldMode);
}

void COXTabSkinClassic::OnPaintSpinCtrl(COXSkinnedSpinCtrl* spinCtrl) { PaintAsClass(spinCtrl); }

void COXTabSkinClassic::DrawMDITabBorder(CDC* dc, const RECT* rect, COXTabWorkspace* /*workspace*/)
{
    dc->Draw3dRect(rect, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
}

void COXTabSkinClassic::OnNcPaintTabClient(COXTabClientWnd* tabClient) { tabClient->Default(); }

void COXTabSkinClassic::AdjustChildItemRect(RECT* /*rect*/, int /*amount*/, CTabCtrl* /*tabCtrl*/)
{
    // The system's page rectangle stands.
}

// ---- XP ----------------------------------------------------------------------------------------------

COXTabSkinXP::COXTabSkinXP(COXSkinXP* skin)
    : m_pSkinXP(skin)
    , m_pBorderPen(std::make_unique<CPen>())
    , m_pTabFont(std::make_unique<CFont>())
    , m_pArrowBrush(std::make_unique<CBrush>())
    , m_pArrowPen(std::make_unique<CPen>())
{
    // The objects are made once, in the colours of this moment.
    m_pBorderPen->CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    LOGFONT logFont{};
    if (MenuFont(logFont))
        m_pTabFont->CreateFontIndirect(&logFont);
    const COLORREF arrow = m_pSkinXP->GetInactiveTabTextColor();
    m_pArrowBrush->CreateSolidBrush(arrow);
    m_pArrowPen->CreatePen(PS_SOLID, 1, arrow);
}

COXTabSkinXP::~COXTabSkinXP() = default;

void COXTabSkinXP::OnPaintTabCtrl(CTabCtrl* tabCtrl) { PaintTabCtrl(tabCtrl, false); }

void COXTabSkinXP::PaintTabCtrl(CTabCtrl* tabCtrl, bool gradient)
{
    if (!tabCtrl || !tabCtrl->m_hWnd)
        return;
    CPaintDC paintDC(tabCtrl);
    const CRect client = ClientOf(tabCtrl);
    if (client.IsRectEmpty())
        return;
    // The control is drawn off screen, but only over the part the paint can show (a tab
    // workspace lies mostly under the MDI client): the pictures cover that part, widened
    // to multiples of 8 so that patterns fall on the pixels they fall on in a picture of
    // the whole client, and their origin is moved so that everything draws at its own
    // client coordinates.
    const CRect area = PaintedArea(paintDC, client);
    CDC frame, item;
    CBitmap frameBitmap, itemBitmap;
    if (!frame.CreateCompatibleDC(&paintDC) || !item.CreateCompatibleDC(&paintDC) ||
        !frameBitmap.CreateCompatibleBitmap(&paintDC, area.Width(), area.Height()) ||
        !itemBitmap.CreateCompatibleBitmap(&paintDC, area.Width(), area.Height()))
        return;
    COXSelectGuard<CBitmap> frameGuard(frame, &frameBitmap);
    COXSelectGuard<CBitmap> itemGuard(item, &itemBitmap);
    frame.SetWindowOrg(area.left, area.top);
    item.SetWindowOrg(area.left, area.top);

    AttachSpinCtrl(tabCtrl);
    DrawBackground(&frame, &client, tabCtrl);

    const CRect display = DisplayOf(tabCtrl, client);
    CRect border = display;
    if (auto* container = DYNAMIC_DOWNCAST(COX3DTabViewContainer, tabCtrl)) {
        border = container->GetPageRect();
        border.InflateRect(1, 1);
    } else {
        border.bottom -= 1;
    }
    CBrush shadow(::GetSysColor(COLOR_BTNSHADOW));
    frame.FrameRect(&border, &shadow);

    if (tabCtrl->GetRowCount() < 2) {
        auto* skin2003 = gradient ? static_cast<COXSkin2003*>(m_pSkinXP) : nullptr;
        if (!TabsAtBottom(tabCtrl)) {
            const CRect strip(client.left, client.top, client.right, display.top - 3);
            if (skin2003)
                skin2003->GradientFill(&frame, &strip, skin2003->GetTabBackgroundDarkColor(),
                    skin2003->GetTabBackgroundLightColor(), 1);
            else
                frame.FillSolidRect(&strip, m_pSkinXP->GetTabButtonsBackgroundColor());
            Line(frame, StockPen(WHITE_PEN), client.left, display.top - 3, client.right, display.top - 3);
        } else {
            const CRect strip(client.left, display.bottom + 3, client.right, client.bottom);
            if (skin2003)
                skin2003->GradientFill(&frame, &strip, skin2003->GetTabBackgroundLightColor(),
                    skin2003->GetTabBackgroundDarkColor(), 1);
            else
                frame.FillSolidRect(&strip, m_pSkinXP->GetTabButtonsBackgroundColor());
            Line(frame, StockPen(BLACK_PEN), client.left, display.bottom + 2, client.right, display.bottom + 2);
        }
    }

    // Without tabs the background and border still reach the screen, so tabs just deleted
    // do not linger there.
    const int count = tabCtrl->GetItemCount();
    if (count > 0) {
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_TAB;
        dis.CtlID = static_cast<UINT>(tabCtrl->GetDlgCtrlID());
        dis.hwndItem = tabCtrl->m_hWnd;
        dis.hDC = item.GetSafeHdc();
        dis.itemAction = ODA_DRAWENTIRE;
        const int selected = tabCtrl->GetCurSel();
        auto drawOne = [&](int index) {
            dis.itemID = static_cast<UINT>(index);
            dis.itemState = index == selected ? 1 : 0;
            tabCtrl->GetItemRect(index, &dis.rcItem);
            DrawItem(&dis, tabCtrl);
            DrawItemBorder(&dis, tabCtrl);
            RECT shown = dis.rcItem;
            if (AdjustItemRect(index, &shown, tabCtrl) && shown.right > shown.left)
                frame.BitBlt(shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top, &item,
                    shown.left, shown.top, SRCCOPY);
        };
        for (int i = 0; i < count; ++i)
            if (i != selected)
                drawOne(i);
        if (selected >= 0 && selected < count)
            drawOne(selected);
    }

    paintDC.BitBlt(area.left, area.top, area.Width(), area.Height(), &frame, area.left, area.top, SRCCOPY);
    COXSkinnedSpinCtrl* spin = GetSpinCtrl(tabCtrl);
    if (spin && spin->m_hWnd && spin->IsWindowVisible())
        spin->Invalidate(TRUE);
}

void COXTabSkinXP::OnPaintSpinCtrl(COXSkinnedSpinCtrl* spinCtrl) { PaintSpinCtrl(spinCtrl, false); }

void COXTabSkinXP::PaintSpinCtrl(COXSkinnedSpinCtrl* spinCtrl, bool gradient)
{
    if (!spinCtrl || !spinCtrl->m_hWnd)
        return;
    CPaintDC paintDC(spinCtrl);
    CRect rect = ClientOf(spinCtrl);
    if (rect.IsRectEmpty())
        return;
    CDC mem;
    CBitmap bitmap;
    if (!mem.CreateCompatibleDC(&paintDC) || !bitmap.CreateCompatibleBitmap(&paintDC, rect.Width(), rect.Height()))
        return;
    COXSelectGuard<CBitmap> bitmapGuard(mem, &bitmap);

    CWnd* parent = spinCtrl->GetParent();
    const bool bottom = parent && TabsAtBottom(parent);
    if (auto* tabParent = DYNAMIC_DOWNCAST(CTabCtrl, parent); gradient && tabParent) {
        // The tab strip's gradient carried on under the arrows.
        auto* skin = static_cast<COXSkin2003*>(m_pSkinXP);
        CRect window;
        tabParent->GetWindowRect(&window);
        spinCtrl->ScreenToClient(&window);
        CRect display = window;
        tabParent->AdjustRect(FALSE, &display);
        if (!bottom) {
            const CRect strip(window.left, window.top, window.right, display.top);
            skin->GradientFill(&mem, &strip, skin->GetTabBackgroundDarkColor(), skin->GetTabBackgroundLightColor(), 1);
        } else {
            const CRect strip(window.left, display.bottom + 3, window.right, window.bottom);
            skin->GradientFill(&mem, &strip, skin->GetTabBackgroundLightColor(), skin->GetTabBackgroundDarkColor(), 1);
        }
    } else {
        mem.FillSolidRect(&rect, m_pSkinXP->GetTabButtonsBackgroundColor());
    }

    if (!bottom)
        rect.top += 2;
    else
        rect.bottom -= 2;
    rect.left += 2;
    rect.right -= 2;
    // The halves meet without overlap and fill the area, so the hot border frames the arrow
    // the mouse is over (an odd column goes to the right arrow).
    const int half = rect.Width() / 2;
    const CRect down(rect.left, rect.top, rect.left + half, rect.bottom);
    const CRect up(rect.left + half, rect.top, rect.right, rect.bottom);

    int lower = 0, upper = 0;
    spinCtrl->GetRange32(lower, upper);
    const int pos = spinCtrl->GetPos32();
    const BOOL downActs = LOWORD(static_cast<DWORD>(pos)) != 0;
    const BOOL upActs = pos != upper;
    DrawDownArrow(&mem, &down, downActs);
    DrawUpArrow(&mem, &up, upActs);

    CPoint cursor;
    ::GetCursorPos(&cursor);
    spinCtrl->ScreenToClient(&cursor);
    if (up.PtInRect(cursor) && upActs)
        DrawArrowBorder(&mem, &up);
    else if (down.PtInRect(cursor) && downActs)
        DrawArrowBorder(&mem, &down);

    paintDC.BitBlt(rect.left, rect.top, rect.Width(), rect.Height(), &mem, rect.left, rect.top, SRCCOPY);
}

void COXTabSkinXP::DrawMDITabBorder(CDC* dc, const RECT* rect, COXTabWorkspace* /*workspace*/)
{
    const COLORREF border = m_pSkinXP->GetBorderColor();
    dc->Draw3dRect(rect, border, border);
}

void COXTabSkinXP::OnNcPaintTabClient(COXTabClientWnd* tabClient)
{
    tabClient->Default();
    CWindowDC dc(tabClient);
    CRect window, client;
    tabClient->GetWindowRect(&window);
    tabClient->GetClientRect(&client);
    tabClient->ClientToScreen(&client);
    client.OffsetRect(-window.left, -window.top);
    window.OffsetRect(-window.left, -window.top);
    dc.ExcludeClipRect(&client);
    CBrush face(::GetSysColor(COLOR_BTNFACE)), dark(::GetSysColor(COLOR_3DDKSHADOW));
    dc.FrameRect(&window, &face);
    window.DeflateRect(1, 1);
    dc.FrameRect(&window, &dark);
}

void COXTabSkinXP::AdjustChildItemRect(RECT* rect, int amount, CTabCtrl* tabCtrl)
{
    if (!rect || !tabCtrl || !tabCtrl->m_hWnd)
        return;
    const CRect client = ClientOf(tabCtrl);
    if (client.IsRectEmpty())
        return;
    const CRect display = DisplayOf(tabCtrl, client);
    if (display.left - client.left < 8)
        rect->left -= amount;
    if (display.top - client.top < 8)
        rect->top -= amount;
    if (client.right - display.right < 8)
        rect->right += amount;
    if (client.bottom - display.bottom < 8)
        rect->bottom += amount;
}

void COXTabSkinXP::DrawItem(DRAWITEMSTRUCT* drawItem, CTabCtrl* tabCtrl)
{
    CDC* dc = CDC::FromHandle(drawItem->hDC);
    if (drawItem->itemState & 1) {
        dc->FillSolidRect(&drawItem->rcItem, ::GetSysColor(COLOR_BTNFACE));
        dc->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
    } else {
        dc->FillSolidRect(&drawItem->rcItem, m_pSkinXP->GetTabButtonsBackgroundColor());
        dc->SetTextColor(m_pSkinXP->GetInactiveTabTextColor());
    }
    // The solid fill left the background colour at the tab's, so opaque text matches it.
    DrawItemText(drawItem, tabCtrl, false);
}

void COXTabSkinXP::DrawItemText(DRAWITEMSTRUCT* drawItem, CTabCtrl* tabCtrl, bool transparent)
{
    CDC* dc = CDC::FromHandle(drawItem->hDC);
    wchar_t text[511] = {};
    TCITEM tci{};
    tci.mask = TCIF_TEXT | TCIF_IMAGE;
    tci.pszText = text;
    tci.cchTextMax = 510;
    if (!tabCtrl->GetItem(static_cast<int>(drawItem->itemID), &tci))
        return;
    CRect rect = drawItem->rcItem;
    rect.top += 3;
    CImageList* images = tabCtrl->GetImageList();
    if (tci.iImage >= 0 && images) {
        images->Draw(dc, tci.iImage, CPoint(rect.left + 3, rect.top - 1), ILD_TRANSPARENT);
        IMAGEINFO info{};
        images->GetImageInfo(tci.iImage, &info);
        rect.left += 3 + CRect(info.rcImage).Width();
    }
    {
        CFont* oldFont = m_pTabFont->m_hObject ? dc->SelectObject(m_pTabFont.get()) : nullptr;
        const int oldMode = transparent ? dc->SetBkMode(TRANSPARENT) : 0;
        dc->DrawText(text, -1, &rect, DT_CENTER);
        if (transparent)
            dc->SetBkMode(oldMode);
        if (oldFont)
            dc->SelectObject(oldFont);
    }
    if ((drawItem->itemState & 1) && !(tabCtrl->GetStyle() & TCS_FOCUSNEVER)) {
        CRect focus = drawItem->rcItem;
        focus.DeflateRect(2, 2);
        dc->DrawFocusRect(&focus);
    }
}

void COXTabSkinXP::DrawBackground(CDC* dc, const RECT* rect, CTabCtrl* /*tabCtrl*/)
{
    dc->FillSolidRect(rect, ::GetSysColor(COLOR_BTNFACE));
}

void COXTabSkinXP::DrawItemBorder(DRAWITEMSTRUCT* drawItem, CTabCtrl* tabCtrl)
{
    DrawItemEdges(drawItem, tabCtrl, false);
}

void COXTabSkinXP::DrawItemEdges(DRAWITEMSTRUCT* drawItem, CTabCtrl* tabCtrl, bool filledSeparator)
{
    CDC& dc = *CDC::FromHandle(drawItem->hDC);
    const RECT& r = drawItem->rcItem;
    const int L = r.left, T = r.top, Rt = r.right, B = r.bottom;
    const bool selected = (drawItem->itemState & 1) != 0;
    CPen* white = StockPen(WHITE_PEN);
    CPen* black = StockPen(BLACK_PEN);
    const CRect display = DisplayOf(tabCtrl, ClientOf(tabCtrl));
    auto separator = [&] {
        if (IsNextButtonSelected(static_cast<int>(drawItem->itemID), tabCtrl))
            return;
        if (filledSeparator)
            dc.FillSolidRect(CRect(Rt - 1, T + 3, Rt, B - 3), m_pSkinXP->GetBorderColor());
        else
            Line(dc, m_pBorderPen.get(), Rt - 1, T + 3, Rt - 1, B - 3);
    };
    if (!TabsAtBottom(tabCtrl)) {
        if (selected) {
            COXSelectGuard<CPen> guard(dc, white);
            dc.MoveTo(L, B - 1);
            dc.LineTo(L, T);
            dc.LineTo(Rt, T);
            Line(dc, black, Rt - 1, T + 1, Rt - 1, B - 1);
            return;
        }
        separator();
        const int gap = display.top - T;
        if ((B - T) + 3 < gap)
            Line(dc, m_pBorderPen.get(), L, B - 1, Rt, B - 1);
        else if (gap < 1)
            Line(dc, m_pBorderPen.get(), L, T, Rt, T);
        else
            Line(dc, white, L, B - 1, Rt, B - 1);
        return;
    }
    if (selected) {
        Line(dc, white, L, T, L, B - 1);
        Line(dc, black, L, B - 1, Rt, B - 1);
        Line(dc, black, Rt - 1, T, Rt - 1, B - 1);
        return;
    }
    separator();
    const int gap = T - display.bottom;
    if (gap < 0)
        Line(dc, m_pBorderPen.get(), L, B - 1, Rt, B - 1);
    else if (gap < 4)
        Line(dc, black, L, T, Rt, T);
    else
        Line(dc, m_pBorderPen.get(), L, T, Rt, T);
}

COXSkinnedSpinCtrl* COXTabSkinXP::GetSpinCtrl(CTabCtrl* tabCtrl)
{
    auto* skinned = DYNAMIC_DOWNCAST(COXSkinnedTabCtrl, tabCtrl);
    return skinned ? skinned->GetSpinCtrl() : nullptr;
}

BOOL COXTabSkinXP::AdjustItemRect(int /*index*/, RECT* rect, CTabCtrl* tabCtrl)
{
    COXSkinnedSpinCtrl* spin = GetSpinCtrl(tabCtrl);
    if (!spin || !spin->m_hWnd || !spin->IsWindowVisible())
        return TRUE;
    const CRect client = ClientOf(tabCtrl);
    const int limit = client.right - ClientOf(spin).Width();
    if (rect->left > limit || rect->right <= client.left + 3)
        return FALSE;
    if (rect->right > limit)
        rect->right = limit;
    return TRUE;
}

BOOL COXTabSkinXP::IsNextButtonSelected(int index, CTabCtrl* tabCtrl)
{
    if (index < 0 || index + 1 >= tabCtrl->GetItemCount())
        return FALSE;
    return (tabCtrl->GetItemState(index + 1, TCIS_BUTTONPRESSED) & TCIS_BUTTONPRESSED) != 0;
}

namespace {

// A 4 x 8 triangle centred in rect, its tip left or right.
void DrawArrow(CDC* dc, const RECT* rect, bool pointsLeft, CPen* pen, CBrush* brush)
{
    const int x = rect->left + (rect->right - rect->left - 4) / 2;
    const int y = rect->top + (rect->bottom - rect->top - 8) / 2;
    const POINT left[4] = {{x, y + 3}, {x + 4, y - 1}, {x + 4, y + 7}, {x, y + 3}};
    const POINT right[4] = {{x + 4, y + 3}, {x, y - 1}, {x, y + 7}, {x + 4, y + 3}};
    COXSelectGuard<CPen> penGuard(*dc, pen);
    if (!brush) {
        dc->Polygon(pointsLeft ? left : right, 4); // the DC's own brush
        return;
    }
    COXSelectGuard<CBrush> brushGuard(*dc, brush);
    dc->Polygon(pointsLeft ? left : right, 4);
}

} // namespace

void COXTabSkinXP::DrawUpArrow(CDC* dc, const RECT* rect, BOOL enabled)
{
    DrawArrow(dc, rect, false, m_pArrowPen.get(), enabled ? m_pArrowBrush.get() : nullptr);
}

void COXTabSkinXP::DrawDownArrow(CDC* dc, const RECT* rect, BOOL enabled)
{
    DrawArrow(dc, rect, true, m_pArrowPen.get(), enabled ? m_pArrowBrush.get() : nullptr);
}

void COXTabSkinXP::DrawArrowBorder(CDC* dc, const RECT* rect)
{
    CRect r(*rect);
    r.DeflateRect(1, 1);
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
    if (::GetKeyState(VK_LBUTTON) < 0)
        dc->Draw3dRect(&r, black, white);
    else
        dc->Draw3dRect(&r, white, black);
}

// ---- 2003 --------------------------------------------------------------------------------------------

COXTabSkin2003::COXTabSkin2003(COXSkin2003* skin)
    : COXTabSkinXP(skin)
{
}

COXSkin2003* COXTabSkin2003::GetSkin2003() const { return static_cast<COXSkin2003*>(m_pSkinXP); }

void COXTabSkin2003::OnPaintTabCtrl(CTabCtrl* tabCtrl) { PaintTabCtrl(tabCtrl, true); }

void COXTabSkin2003::OnPaintSpinCtrl(COXSkinnedSpinCtrl* spinCtrl) { PaintSpinCtrl(spinCtrl, true); }

void COXTabSkin2003::DrawItem(DRAWITEMSTRUCT* drawItem, CTabCtrl* tabCtrl)
{
    COXSkin2003* skin = GetSkin2003();
    CDC* dc = CDC::FromHandle(drawItem->hDC);
    const bool bottom = TabsAtBottom(tabCtrl);
    COLORREF first, second;
    if (drawItem->itemState & 1) {
        first = skin->GetTabItemLightColor();
        second = skin->GetTabItemDarkColor();
        dc->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
    } else {
        first = skin->GetTabBackgroundDarkColor();
        second = skin->GetTabBackgroundLightColor();
        dc->SetTextColor(skin->GetInactiveTabTextColor());
    }
    if (bottom)
        std::swap(first, second);
    skin->GradientFill(dc, &drawItem->rcItem, first, second, 1);
    DrawItemText(drawItem, tabCtrl, true);
}

void COXTabSkin2003::DrawBackground(CDC* dc, const RECT* rect, CTabCtrl* /*tabCtrl*/)
{
    dc->FillSolidRect(rect, GetSkin2003()->GetDockbarBackgroundColor());
}

void COXTabSkin2003::DrawItemBorder(DRAWITEMSTRUCT* drawItem, CTabCtrl* tabCtrl)
{
    DrawItemEdges(drawItem, tabCtrl, true);
}
