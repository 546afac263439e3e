#include "platform/afx/tabctrl.h"

#include <memory>

#include "platform/afx/gdi/image_list.h"
#include "platform/afx/tooltipctrl.h"
#include "platform/afx/wnd_maps.h"
#include "platform/gdi/builtin_modules.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"

IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)

CTabCtrl::CTabCtrl() = default;
CTabCtrl::~CTabCtrl() = default;

BOOL CTabCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateEx(0, dwStyle, rect, pParentWnd, nID);
}

BOOL CTabCtrl::CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    const INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_TAB_CLASSES};
    ::InitCommonControlsEx(&icc);
    return CWnd::CreateEx(dwExStyle, WC_TABCONTROLW, nullptr, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

namespace {
LRESULT Send(const CWnd* w, UINT msg, WPARAM wp = 0, LPARAM lp = 0)
{
    return ::SendMessageW(w->GetSafeHwnd(), msg, wp, lp);
}
} // namespace

int CTabCtrl::GetItemCount() const { return static_cast<int>(Send(this, TCM_GETITEMCOUNT)); }

BOOL CTabCtrl::GetItem(int nItem, TCITEM* pTabCtrlItem) const
{
    return static_cast<BOOL>(Send(this, TCM_GETITEMW, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(pTabCtrlItem)));
}

BOOL CTabCtrl::SetItem(int nItem, TCITEM* pTabCtrlItem)
{
    return static_cast<BOOL>(Send(this, TCM_SETITEMW, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(pTabCtrlItem)));
}

LONG CTabCtrl::InsertItem(int nItem, TCITEM* pTabCtrlItem)
{
    return static_cast<LONG>(Send(this, TCM_INSERTITEMW, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(pTabCtrlItem)));
}

LONG CTabCtrl::InsertItem(int nItem, LPCTSTR lpszItem) { return InsertItem(TCIF_TEXT, nItem, lpszItem, 0, 0); }

LONG CTabCtrl::InsertItem(int nItem, LPCTSTR lpszItem, int nImage)
{
    return InsertItem(TCIF_TEXT | TCIF_IMAGE, nItem, lpszItem, nImage, 0);
}

LONG CTabCtrl::InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, int nImage, LPARAM lParam)
{
    return InsertItem(nMask, nItem, lpszItem, nImage, lParam, 0, 0);
}

LONG CTabCtrl::InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, int nImage, LPARAM lParam, DWORD dwState,
    DWORD dwStateMask)
{
    TCITEM item{};
    item.mask = nMask;
    item.pszText = const_cast<LPWSTR>(lpszItem);
    item.iImage = nImage;
    item.lParam = lParam;
    item.dwState = dwState;
    item.dwStateMask = dwStateMask;
    return InsertItem(nItem, &item);
}

BOOL CTabCtrl::DeleteItem(int nItem) { return static_cast<BOOL>(Send(this, TCM_DELETEITEM, static_cast<WPARAM>(nItem))); }
BOOL CTabCtrl::DeleteAllItems() { return static_cast<BOOL>(Send(this, TCM_DELETEALLITEMS)); }
BOOL CTabCtrl::SetItemExtra(int nBytes) { return static_cast<BOOL>(Send(this, TCM_SETITEMEXTRA, static_cast<WPARAM>(nBytes))); }

DWORD CTabCtrl::GetItemState(int nItem, DWORD dwMask) const
{
    TCITEM item{};
    item.mask = TCIF_STATE;
    item.dwStateMask = dwMask;
    return GetItem(nItem, &item) ? item.dwState : 0;
}

BOOL CTabCtrl::SetItemState(int nItem, DWORD dwMask, DWORD dwState)
{
    TCITEM item{};
    item.mask = TCIF_STATE;
    item.dwState = dwState;
    item.dwStateMask = dwMask;
    return SetItem(nItem, &item);
}

BOOL CTabCtrl::HighlightItem(int idItem, BOOL fHighlight)
{
    return static_cast<BOOL>(Send(this, TCM_HIGHLIGHTITEM, static_cast<WPARAM>(idItem), MAKELPARAM(fHighlight ? 1 : 0, 0)));
}

void CTabCtrl::DeselectAll(BOOL fExcludeFocus) { Send(this, TCM_DESELECTALL, static_cast<WPARAM>(fExcludeFocus)); }
int CTabCtrl::GetCurSel() const { return static_cast<int>(Send(this, TCM_GETCURSEL)); }
int CTabCtrl::SetCurSel(int nItem) { return static_cast<int>(Send(this, TCM_SETCURSEL, static_cast<WPARAM>(nItem))); }
int CTabCtrl::GetCurFocus() const { return static_cast<int>(Send(this, TCM_GETCURFOCUS)); }
void CTabCtrl::SetCurFocus(int nItem) { Send(this, TCM_SETCURFOCUS, static_cast<WPARAM>(nItem)); }

BOOL CTabCtrl::GetItemRect(int nItem, LPRECT lpRect) const
{
    return static_cast<BOOL>(Send(this, TCM_GETITEMRECT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(lpRect)));
}

void CTabCtrl::AdjustRect(BOOL bLarger, LPRECT lpRect)
{
    Send(this, TCM_ADJUSTRECT, static_cast<WPARAM>(bLarger), reinterpret_cast<LPARAM>(lpRect));
}

int CTabCtrl::HitTest(TCHITTESTINFO* pHitTestInfo) const
{
    return static_cast<int>(Send(this, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(pHitTestInfo)));
}

int CTabCtrl::GetRowCount() const { return static_cast<int>(Send(this, TCM_GETROWCOUNT)); }

CSize CTabCtrl::SetItemSize(CSize size)
{
    const auto old = static_cast<DWORD>(
        Send(this, TCM_SETITEMSIZE, 0, MAKELPARAM(static_cast<WORD>(size.cx), static_cast<WORD>(size.cy))));
    return CSize(LOWORD(old), HIWORD(old));
}

void CTabCtrl::SetPadding(CSize size)
{
    Send(this, TCM_SETPADDING, 0, MAKELPARAM(static_cast<WORD>(size.cx), static_cast<WORD>(size.cy)));
}

int CTabCtrl::SetMinTabWidth(int cx) { return static_cast<int>(Send(this, TCM_SETMINTABWIDTH, 0, cx)); }

CImageList* CTabCtrl::GetImageList() const
{
    return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(Send(this, TCM_GETIMAGELIST)));
}

CImageList* CTabCtrl::SetImageList(CImageList* pImageList)
{
    const HIMAGELIST h = pImageList ? pImageList->GetSafeHandle() : nullptr;
    return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(Send(this, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(h))));
}

void CTabCtrl::RemoveImage(int nImage) { Send(this, TCM_REMOVEIMAGE, static_cast<WPARAM>(nImage)); }
DWORD CTabCtrl::GetExtendedStyle() const { return static_cast<DWORD>(Send(this, TCM_GETEXTENDEDSTYLE)); }

DWORD CTabCtrl::SetExtendedStyle(DWORD dwNewStyle, DWORD dwExMask)
{
    return static_cast<DWORD>(Send(this, TCM_SETEXTENDEDSTYLE, dwExMask, static_cast<LPARAM>(dwNewStyle)));
}

CToolTipCtrl* CTabCtrl::GetToolTips() const
{
    const auto h = reinterpret_cast<HWND>(Send(this, TCM_GETTOOLTIPS));
    if (!h || !::IsWindow(h))
        return nullptr;
    // The object that already stands for the tooltip, when it is one; else a temporary
    // CToolTipCtrl (freed at idle like FromHandle's). A window already represented by an
    // object of another class cannot be handed out as a tooltip: null then.
    auto& maps = zyn::afx::detail::ThreadWindowMaps();
    CWnd* p = maps.FindPermanent(h);
    if (!p)
        p = maps.FindTemporary(h);
    if (p)
        return p->IsKindOf(RUNTIME_CLASS(CToolTipCtrl)) ? static_cast<CToolTipCtrl*>(p) : nullptr;
    auto temp = std::make_unique<CToolTipCtrl>();
    temp->m_hWnd = h;
    return static_cast<CToolTipCtrl*>(maps.AddTemporary(h, std::move(temp)));
}

void CTabCtrl::SetToolTips(CToolTipCtrl* pWndTip)
{
    Send(this, TCM_SETTOOLTIPS, reinterpret_cast<WPARAM>(pWndTip ? pWndTip->GetSafeHwnd() : nullptr));
}

void CTabCtrl::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CTabCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_DRAWITEM)
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    if (pResult)
        *pResult = TRUE;
    return TRUE;
}
