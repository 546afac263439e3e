// COXBitmapMenu: records, extents, measuring, painting through the skin, hit testing, the
// command-UI walk, the dither brush and the popup-menu class.
#include "toolkit/menus/bitmap_menu.h"

#include <algorithm>

#include "platform/afx/afxstate.h"
#include "platform/afx/frame.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/gdi/font.h"
#include "platform/afx/gdi/image_list.h"
#include "platform/afx/winthread.h"
#include "platform/afx/wnd.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/menu.h"
#include "platform/user/popup_menu.h"
#include "platform/user/window.h"
#include "platform/user/winuser.h"
#include "toolkit/menus/bitmap_menu_popup_wnd.h"
#include "toolkit/menus/menu_seams.h"
#include "toolkit/skins/menu_skin.h"

IMPLEMENT_DYNAMIC(COXBitmapMenu, CMenu)

WNDPROC COXBitmapMenu::m_origWndProc = nullptr;

namespace {

// A DC handle wrapped as a CDC for the length of one paint call.
class AttachedDC {
public:
    explicit AttachedDC(HDC hdc) { m_dc.Attach(hdc); }
    ~AttachedDC() { m_dc.Detach(); }
    AttachedDC(const AttachedDC&) = delete;
    AttachedDC& operator=(const AttachedDC&) = delete;
    CDC* operator->() { return &m_dc; }
    CDC* get() { return &m_dc; }

private:
    CDC m_dc;
};

bool IsSeparatorID(UINT nID) { return nID == 0 || nID == 0xFFFF; }

// The label (before the first tab) and the accelerator (after it).
void SplitAtTab(const CString& text, CString& label, CString& accel)
{
    const int tab = text.Find(L'\t');
    if (tab < 0) {
        label = text;
        accel.Empty();
    } else {
        label = text.Left(tab);
        accel = text.Mid(tab + 1);
    }
}

int CalcTextWidth(HDC hdc, const CString& text)
{
    if (text.IsEmpty())
        return 0;
    RECT r{0, 0, 0, 0};
    ::DrawTextW(hdc, text.GetString(), text.GetLength(), &r, DT_CALCRECT | DT_SINGLELINE);
    return r.right - r.left;
}

} // namespace

// ---- life -------------------------------------------------------------------------------------------------

COXBitmapMenu::COXBitmapMenu() { RegisterWindowClass(AfxGetInstanceHandle()); }

COXBitmapMenu::~COXBitmapMenu()
{
    m_keyAccessMap.RemoveAll();
    // A popup window still showing the menu forgets it (it would paint freed records).
    if (m_pPopupWnd)
        m_pPopupWnd->ForgetMenu(this);
    m_itemInfoSet.clear();
    m_itemInfos.clear();
    // The shared Classic skin stays: another bitmap menu may be painting with it.
    m_dropTarget.Revoke();
    m_popupWndStack.RemoveAll();
}

void COXBitmapMenu::AddItemInfo(COXItemInfo* pItemInfo)
{
    if (!pItemInfo || m_itemInfoSet.count(pItemInfo))
        return;
    m_itemInfos.emplace_back(pItemInfo);
    m_itemInfoSet.insert(pItemInfo);
}

COXItemInfo* COXBitmapMenu::GetItemInfo(ULONG_PTR itemData) const
{
    auto* info = reinterpret_cast<COXItemInfo*>(itemData);
    return info && m_itemInfoSet.count(info) ? info : nullptr;
}

COXMenuSkin* COXBitmapMenu::GetMenuSkin()
{
    // One Classic skin for every bitmap menu without an application skin, kept for the
    // life of the process so that no menu can free it under another.
    static COXElementSkinLookup<COXMenuSkin> lookup;
    return lookup.Get();
}

// ---- extents and measuring ------------------------------------------------------------------------------------

void COXBitmapMenu::CalcExtents()
{
    m_nBitmapExtent = 0;
    m_nAcceleratorExtent = 0;
    m_nStringExtent = 0;
    const OXDIMENSIONCONSTANTS& dims = GetMenuSkin()->GetDimentionConstants();

    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    CFont font;
    CFont bold;
    font.CreateFontIndirect(&ncm.lfMenuFont);
    LOGFONTW lfBold = ncm.lfMenuFont;
    lfBold.lfWeight = FW_BOLD;
    bold.CreateFontIndirect(&lfBold);

    CWnd* pMain = AfxGetMainWnd();
    const HWND hMain = pMain ? pMain->GetSafeHwnd() : nullptr;
    const HDC hdc = ::GetDC(hMain && ::IsWindow(hMain) ? hMain : nullptr);
    if (!hdc)
        return;
    const HGDIOBJ oldFont = ::SelectObject(hdc, font.GetSafeHandle());
    const int count = static_cast<int>(GetMenuItemCount());
    const UINT defaultItem = ::GetMenuDefaultItem(m_hMenu, TRUE, GMDI_USEDISABLED);
    for (int i = 0; i < count; ++i) {
        ::SelectObject(hdc, (static_cast<UINT>(i) == defaultItem ? bold : font).GetSafeHandle());
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE | MIIM_SUBMENU | MIIM_DATA | MIIM_ID;
        if (!GetMenuItemInfo(static_cast<UINT>(i), &mii, TRUE) || (mii.fType & MFT_SEPARATOR))
            continue;
        CString text;
        if (COXItemInfo* info = GetItemInfo(mii.dwItemData)) {
            if (COXImageInfo* image = info->GetImageInfo())
                m_nBitmapExtent = std::max(m_nBitmapExtent, std::max<int>(image->GetImageSize().cx, dims.nMinImageWidth));
            text = info->GetText();
        } else {
            GetMenuString(static_cast<UINT>(i), text, MF_BYPOSITION);
        }
        CString label;
        CString accel;
        SplitAtTab(text, label, accel);
        // Room for the submenu arrow.
        if (text.Find(L'\t') < 0 && mii.hSubMenu)
            accel = L"W";
        m_nStringExtent = std::max(m_nStringExtent, CalcTextWidth(hdc, label));
        m_nAcceleratorExtent = std::max(m_nAcceleratorExtent, CalcTextWidth(hdc, accel));
    }
    SIZE size{};
    ::GetTextExtentPoint32W(hdc, L"A", 1, &size);
    m_nTextHeight = size.cy;
    ::SelectObject(hdc, oldFont);
    ::ReleaseDC(hMain && ::IsWindow(hMain) ? hMain : nullptr, hdc);
}

BOOL COXBitmapMenu::IsPopupItem(UINT nID)
{
    if (nID == static_cast<UINT>(-1))
        return TRUE;
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_SUBMENU;
    return GetMenuItemInfo(nID, &mii, FALSE) && mii.hSubMenu != nullptr;
}

void COXBitmapMenu::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    if (!lpMeasureItemStruct)
        return;
    COXMenuSkin* skin = GetMenuSkin();
    const OXDIMENSIONCONSTANTS& dims = skin->GetDimentionConstants();
    const COXItemInfo* info = GetItemInfo(lpMeasureItemStruct->itemData);
    if (!info) {
        if (IsPopupItem(lpMeasureItemStruct->itemID))
            lpMeasureItemStruct->itemHeight = static_cast<UINT>(m_nTextHeight + dims.nTextVertPadding);
        return;
    }
    SIZE image{0, 0};
    if (const COXImageInfo* imageInfo = info->GetImageInfo()) {
        image = imageInfo->GetImageSize();
        if (image.cx > 0) {
            image.cx += 2;
            image.cy += 2;
        }
    }
    int width = dims.nImageLeftGap + m_nBitmapExtent + dims.nImageTextGap + m_nStringExtent;
    if (m_nAcceleratorExtent != 0)
        width += dims.nTextAccelGap;
    width += m_nAcceleratorExtent + dims.nAccelRightGap;
    lpMeasureItemStruct->itemWidth = static_cast<UINT>(std::max(width, 0));
    UINT height = 0;
    if (IsSeparatorID(lpMeasureItemStruct->itemID))
        height = static_cast<UINT>(std::max(dims.nSeparatorHeight, 0));
    else
        height = static_cast<UINT>(
            std::max({m_nTextHeight + dims.nTextVertPadding, static_cast<int>(image.cy) + dims.nImageVertPadding, 0}));
    if (LOWORD(lpMeasureItemStruct->itemID) == ID_OX_SHOWALLITEMS)
        skin->AdjustExpansionItemHeight(height, this);
    lpMeasureItemStruct->itemHeight = height;
}

int COXBitmapMenu::HitTest(LPPOINT ppt, int* pbBefore)
{
    if (!ppt)
        return -1;
    const int count = static_cast<int>(GetMenuItemCount());
    int bottom = 0;
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_ID | MIIM_DATA;
        if (!GetMenuItemInfo(static_cast<UINT>(i), &mii, TRUE))
            continue;
        MEASUREITEMSTRUCT mis{ODT_MENU, 0, mii.wID, 0, 0, mii.dwItemData};
        MeasureItem(&mis);
        bottom += static_cast<int>(mis.itemHeight);
        if (bottom >= ppt->y) {
            if (pbBefore)
                *pbBefore = ppt->y <= bottom - static_cast<int>(mis.itemHeight) / 2;
            return i;
        }
    }
    return -1;
}

// ---- painting -----------------------------------------------------------------------------------------------------

UINT COXBitmapMenu::AddRecentlyUsedState(UINT nState, int nPos)
{
    COXMenuOrganizerAccess* organizer = OXFindMainMenuOrganizer();
    if (!organizer || nPos < 0 || !organizer->IsShowOnlyRecentlyUsedItems() || organizer->IsRecentlyUsed(this, nPos))
        return nState;
    nState |= OXODS_HIDDEN;
    const int count = static_cast<int>(GetMenuItemCount());
    if (nPos > 0 && organizer->IsRecentlyUsed(this, nPos - 1))
        nState |= OXODS_HIDDENFIRST;
    if (nPos < count - 1 && organizer->IsRecentlyUsed(this, nPos + 1))
        nState |= OXODS_HIDDENLAST;
    return nState;
}

void COXBitmapMenu::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (!lpDrawItemStruct || !lpDrawItemStruct->hDC)
        return;
    const CRect rectItem(lpDrawItemStruct->rcItem);
    UINT state = lpDrawItemStruct->itemState;
    AttachedDC dc(lpDrawItemStruct->hDC);
    COXItemInfo* info = GetItemInfo(lpDrawItemStruct->itemData);
    COXImageInfo* imageInfo = info ? info->GetImageInfo() : nullptr;
    const CString text = info ? info->GetText() : CString();
    const UINT nID = lpDrawItemStruct->itemID;
    const bool separator = IsSeparatorID(nID);

    CRect rectButton(0, 0, 0, 0);
    CRect rectImage(0, 0, 0, 0);
    CRect rectText(0, 0, 0, 0);
    CRect rectAccel(0, 0, 0, 0);
    if (!separator)
        DistributeSpace(state, imageInfo, rectItem, rectButton, rectImage, rectText, rectAccel);

    // The item's position matters only for hidden items, the customised item and the
    // insert mark; finding it measures every item above, so it is found only then.
    COXMenuOrganizerAccess* organizer = OXFindMainMenuOrganizer();
    int nPos = -1;
    if ((organizer && organizer->IsShowOnlyRecentlyUsedItems()) || m_nCustomizedItem != -1 || m_nInsertMark != -1) {
        CPoint centre = rectItem.CenterPoint();
        nPos = HitTest(&centre);
    }
    state = AddRecentlyUsedState(state, nPos);

    if (separator) {
        DrawSeparator(dc.get(), rectItem);
    } else if (IsPopupItem(nID)) {
        DrawSubmenuItem(dc.get(), state, text, imageInfo, rectItem, rectButton, rectText, rectAccel);
    } else {
        DrawBackground(dc.get(), state, imageInfo, rectItem, rectButton);
        DrawButton(dc.get(), state, imageInfo, rectButton);
        DrawImage(dc.get(), state, imageInfo, rectImage);
        if (LOWORD(nID) == ID_OX_SHOWALLITEMS)
            DrawExpansionItem(dc.get(), rectItem, state);
        else
            DrawText(dc.get(), state, text, rectText, rectAccel);
    }

    if (m_nCustomizedItem != -1 && GetMenuItemID(m_nCustomizedItem) == nID && nPos == m_nCustomizedItem)
        DrawCustomized(dc.get(), rectItem);
    if (m_nInsertMark != -1) {
        const int count = static_cast<int>(GetMenuItemCount());
        const BOOL before = m_nInsertMark < count;
        const int markItem = m_nInsertMark >= count ? count - 1 : m_nInsertMark;
        if (nPos == markItem)
            DrawInsertMark(dc.get(), rectItem, before);
    }
}

void COXBitmapMenu::DistributeSpace(UINT nState, COXImageInfo* pImageInfo, CRect rectItem, CRect& rectButton,
    CRect& rectImage, CRect& rectText, CRect& rectAccel)
{
    GetMenuSkin()->DistributeSpace(nState, pImageInfo, &rectItem, rectButton, rectImage, rectText, rectAccel, this);
}

void COXBitmapMenu::DrawBackground(CDC* pDC, UINT nState, COXImageInfo* pImageInfo, CRect rectItem, CRect rectButton)
{
    GetMenuSkin()->DrawBackground(pDC, nState, pImageInfo, &rectItem, &rectButton, this);
}

void COXBitmapMenu::DrawButton(CDC* pDC, UINT nState, COXImageInfo* pImageInfo, CRect rectButton)
{
    GetMenuSkin()->DrawButton(pDC, nState, pImageInfo, &rectButton, this);
}

void COXBitmapMenu::DrawImage(CDC* pDC, UINT nState, COXImageInfo* pImageInfo, CRect rectImage)
{
    GetMenuSkin()->DrawImage(pDC, nState, pImageInfo, &rectImage, this);
}

void COXBitmapMenu::DrawText(CDC* pDC, UINT nState, CString sText, CRect rectText, CRect rectAccel)
{
    GetMenuSkin()->DrawText(pDC, nState, sText.GetString(), &rectText, &rectAccel, this);
}

void COXBitmapMenu::DrawSeparator(CDC* pDC, CRect rectItem) { GetMenuSkin()->DrawSeparator(pDC, &rectItem, this); }

void COXBitmapMenu::DrawCustomized(CDC* pDC, CRect rectItem) { GetMenuSkin()->DrawCustomized(pDC, &rectItem, this); }

void COXBitmapMenu::DrawInsertMark(CDC* pDC, CRect rectItem, BOOL bBefore)
{
    GetMenuSkin()->DrawInsertMark(pDC, &rectItem, bBefore, this);
}

void COXBitmapMenu::DrawSubmenuItem(CDC* pDC, UINT nState, CString sText, COXImageInfo* pImageInfo, CRect rectItem,
    CRect rectButton, CRect rectText, CRect rectAccel)
{
    GetMenuSkin()->DrawSubmenuItem(
        pDC, nState, sText.GetString(), pImageInfo, &rectItem, &rectButton, &rectText, &rectAccel, this);
}

void COXBitmapMenu::DrawExpansionItem(CDC* pDC, CRect rectItem, UINT nState)
{
    GetMenuSkin()->DrawExpansionItem(pDC, &rectItem, nState, this);
}

HBRUSH COXBitmapMenu::HBrushDitherCreate(COLORREF rgbFirst, COLORREF rgbSecond)
{
    // A 32-bit pattern holds the two colours themselves, so the brush paints them whatever
    // the text and background colours of the DC it is used in.
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = 8;
    bmi.bmiHeader.biHeight = -8;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HBITMAP bitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap)
            ::DeleteObject(bitmap);
        return nullptr;
    }
    auto toPixel = [](COLORREF c) {
        return static_cast<uint32_t>(GetBValue(c)) | static_cast<uint32_t>(GetGValue(c)) << 8 |
            static_cast<uint32_t>(GetRValue(c)) << 16;
    };
    auto* pixels = static_cast<uint32_t*>(bits);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            // Row 0 is 10101010: the leftmost bit is set.
            const bool set = ((x + y) % 2) == 0;
            pixels[y * 8 + x] = toPixel(set ? rgbSecond : rgbFirst);
        }
    ::GdiFlush();
    const HBRUSH brush = ::CreatePatternBrush(bitmap);
    ::DeleteObject(bitmap);
    return brush;
}

// ---- the popup-menu class -------------------------------------------------------------------------------------

BOOL COXBitmapMenu::RegisterWindowClass(HINSTANCE hInstance)
{
    WNDCLASSW wc{};
    // The module's own class already runs our procedure: nothing to do.
    if (::GetClassInfoW(hInstance, kPopupMenuClassName, &wc) && wc.lpfnWndProc == &COXBitmapMenu::PopupWndProc)
        return TRUE;
    WNDCLASSW system{};
    if (::GetClassInfoW(nullptr, kPopupMenuClassName, &system)) {
        if (!m_origWndProc && system.lpfnWndProc != &COXBitmapMenu::PopupWndProc)
            m_origWndProc = system.lpfnWndProc;
        wc = system;
    } else {
        wc = WNDCLASSW{};
        wc.lpszClassName = kPopupMenuClassName;
    }
    wc.lpfnWndProc = &COXBitmapMenu::PopupWndProc;
    wc.hInstance = hInstance;
    wc.style = (wc.style & ~CS_DROPSHADOW) | CS_SAVEBITS;
    ::RegisterClassW(&wc);
    WNDCLASSW check{};
    return ::GetClassInfoW(hInstance, kPopupMenuClassName, &check) && check.lpfnWndProc == &COXBitmapMenu::PopupWndProc;
}

LRESULT COXBitmapMenu::PopupWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    // Without the system's procedure (its class could not be read) the default one serves.
    WNDPROC previous = m_origWndProc ? m_origWndProc : &::DefWindowProcW;
    return GetMenuSkin()->MenuPopupWndProc(previous, hWnd, nMsg, wParam, lParam);
}

// ---- command-UI update -------------------------------------------------------------------------------------------

void COXBitmapMenu::OnUpdateCmdUI(CWnd* pWnd, UINT /*nIndex*/, BOOL bSysMenu)
{
    if (bSysMenu || !pWnd)
        return;
    CBitmapMenuCmdUI state;
    state.m_pMenu = this;
    state.m_pParentMenu = nullptr;
    if (AfxGetThreadState()->m_hTrackingMenu == m_hMenu) {
        state.m_pParentMenu = this;
    } else if (CWnd* pParent = pWnd->GetTopLevelParent()) {
        if (const HMENU hParentMenu = ::GetMenu(pParent->GetSafeHwnd())) {
            const int n = ::GetMenuItemCount(hParentMenu);
            for (int i = 0; i < n; ++i)
                if (::GetSubMenu(hParentMenu, i) == m_hMenu) {
                    state.m_pParentMenu = CMenu::FromHandle(hParentMenu);
                    break;
                }
        }
    }
    const CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, pWnd);
    const BOOL autoMenuEnable = pFrame ? pFrame->m_bAutoMenuEnable : FALSE;
    state.m_nIndexMax = GetMenuItemCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = GetMenuItemID(static_cast<int>(state.m_nIndex));
        if (state.m_nID == 0)
            continue; // a separator
        if (state.m_nID == static_cast<UINT>(-1)) {
            // A submenu is updated through its first item, and never disabled.
            state.m_pSubMenu = GetSubMenu(static_cast<int>(state.m_nIndex));
            if (!state.m_pSubMenu)
                continue;
            state.m_nID = state.m_pSubMenu->GetMenuItemID(0);
            if (state.m_nID == 0 || state.m_nID == static_cast<UINT>(-1))
                continue;
            state.DoUpdate(pWnd, FALSE);
        } else {
            state.m_pSubMenu = nullptr;
            state.DoUpdate(pWnd, autoMenuEnable && state.m_nID < 0xF000);
        }
        // A handler that took items out: step back by the difference and over the
        // items that carry the same command.
        const UINT count = GetMenuItemCount();
        if (count < state.m_nIndexMax) {
            state.m_nIndex -= (state.m_nIndexMax - count);
            while (state.m_nIndex < count && GetMenuItemID(static_cast<int>(state.m_nIndex)) == state.m_nID)
                ++state.m_nIndex;
        }
        state.m_nIndexMax = count;
    }
}

void CBitmapMenuCmdUI::SetText(LPCTSTR lpszText)
{
    if (m_pMenu && !m_pSubMenu) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE | MIIM_DATA;
        if (m_pMenu->GetMenuItemInfo(m_nIndex, &mii, TRUE) && mii.fType == MFT_OWNERDRAW) {
            if (auto* menu = DYNAMIC_DOWNCAST(COXBitmapMenu, m_pMenu)) {
                if (COXItemInfo* info = menu->GetItemInfo(mii.dwItemData)) {
                    info->SetText(lpszText ? CString(lpszText) : CString());
                    return;
                }
            }
        }
    }
    CCmdUI::SetText(lpszText);
}
