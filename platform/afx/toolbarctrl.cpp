#include "platform/afx/toolbarctrl.h"

#include "platform/afx/gdi/bitmap.h"
#include "platform/afx/gdi/image_list.h"
#include "platform/afx/tooltipctrl.h"
#include "platform/base/cstring.h"
#include "platform/base/resource.h"
#include "platform/gdi/builtin_modules.h"
#include "platform/user/msgqueue.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"

IMPLEMENT_DYNAMIC(CToolBarCtrl, CWnd)

namespace {

LPARAM Ptr(const void* p) { return reinterpret_cast<LPARAM>(p); }
CImageList* ListOf(LRESULT r) { return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(r)); }
HIMAGELIST HandleOf(const CImageList* list) { return list ? list->GetSafeHandle() : nullptr; }

} // namespace

CToolBarCtrl::CToolBarCtrl() = default;
CToolBarCtrl::~CToolBarCtrl() = default;

BOOL CToolBarCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateEx(0, dwStyle, rect, pParentWnd, nID);
}

BOOL CToolBarCtrl::CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    const INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    if (!CWnd::CreateEx(dwExStyle, TOOLBARCLASSNAMEW, nullptr, dwStyle | WS_CHILD, rect.left, rect.top,
            rect.right - rect.left, rect.bottom - rect.top, zyn::afx::SafeHwndOf(pParentWnd),
            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), nullptr))
        return FALSE;
    SetButtonStructSize(static_cast<int>(sizeof(TBBUTTON)));
    return TRUE;
}

// ---- button states ---------------------------------------------------------------------------------------
BOOL CToolBarCtrl::IsButtonEnabled(int nID) const
{
    return static_cast<BOOL>(::SendMessageW(m_hWnd, TB_ISBUTTONENABLED, static_cast<WPARAM>(nID), 0));
}
BOOL CToolBarCtrl::IsButtonChecked(int nID) const
{
    return static_cast<BOOL>(::SendMessageW(m_hWnd, TB_ISBUTTONCHECKED, static_cast<WPARAM>(nID), 0));
}
BOOL CToolBarCtrl::IsButtonPressed(int nID) const
{
    return static_cast<BOOL>(::SendMessageW(m_hWnd, TB_ISBUTTONPRESSED, static_cast<WPARAM>(nID), 0));
}
BOOL CToolBarCtrl::IsButtonHidden(int nID) const
{
    return static_cast<BOOL>(::SendMessageW(m_hWnd, TB_ISBUTTONHIDDEN, static_cast<WPARAM>(nID), 0));
}
BOOL CToolBarCtrl::IsButtonIndeterminate(int nID) const
{
    return static_cast<BOOL>(::SendMessageW(m_hWnd, TB_ISBUTTONINDETERMINATE, static_cast<WPARAM>(nID), 0));
}
BOOL CToolBarCtrl::IsButtonHighlighted(int nID) const
{
    return static_cast<BOOL>(::SendMessageW(m_hWnd, TB_ISBUTTONHIGHLIGHTED, static_cast<WPARAM>(nID), 0));
}
BOOL CToolBarCtrl::SetState(int nID, UINT nState)
{
    return static_cast<BOOL>(
        ::SendMessageW(m_hWnd, TB_SETSTATE, static_cast<WPARAM>(nID), MAKELPARAM(static_cast<WORD>(nState), 0)));
}
int CToolBarCtrl::GetState(int nID) const
{
    return static_cast<int>(::SendMessageW(m_hWnd, TB_GETSTATE, static_cast<WPARAM>(nID), 0));
}
BOOL CToolBarCtrl::EnableButton(int nID, BOOL bEnable)
{
    return static_cast<BOOL>(
        ::SendMessageW(m_hWnd, TB_ENABLEBUTTON, static_cast<WPARAM>(nID), MAKELPARAM(bEnable ? 1 : 0, 0)));
}
BOOL CToolBarCtrl::CheckButton(int nID, BOOL bCheck)
{
    return static_cast<BOOL>(
        ::SendMessageW(m_hWnd, TB_CHECKBUTTON, static_cast<WPARAM>(nID), MAKELPARAM(bCheck ? 1 : 0, 0)));
}
BOOL CToolBarCtrl::PressButton(int nID, BOOL bPress)
{
    return static_cast<BOOL>(
        ::SendMessageW(m_hWnd, TB_PRESSBUTTON, static_cast<WPARAM>(nID), MAKELPARAM(bPress ? 1 : 0, 0)));
}
BOOL CToolBarCtrl::HideButton(int nID, BOOL bHide)
{
    return static_cast<BOOL>(
        ::SendMessageW(m_hWnd, TB_HIDEBUTTON, static_cast<WPARAM>(nID), MAKELPARAM(bHide ? 1 : 0, 0)));
}
BOOL CToolBarCtrl::Indeterminate(int nID, BOOL bIndeterminate)
{
    return static_cast<BOOL>(::SendMessageW(m_hWnd, TB_INDETERMINATE, static_cast<WPARAM>(nID),
        MAKELPARAM(bIndeterminate ? 1 : 0, 0)));
}
BOOL CToolBarCtrl::MarkButton(int nID, BOOL bHighlight)
{
    return static_cast<BOOL>(
        ::SendMessageW(m_hWnd, TB_MARKBUTTON, static_cast<WPARAM>(nID), MAKELPARAM(bHighlight ? 1 : 0, 0)));
}

// ---- buttons ----------------------------------------------------------------------------------------------
BOOL CToolBarCtrl::GetButton(int nIndex, LPTBBUTTON lpButton) const
{
    return static_cast<BOOL>(::SendMessageW(m_hWnd, TB_GETBUTTON, static_cast<WPARAM>(nIndex), Ptr(lpButton)));
}
int CToolBarCtrl::GetButtonCount() const { return static_cast<int>(::SendMessageW(m_hWnd, TB_BUTTONCOUNT, 0, 0)); }
BOOL CToolBarCtrl::GetItemRect(int nIndex, LPRECT lpRect) const
{
    return static_cast<BOOL>(::SendMessageW(m_hWnd, TB_GETITEMRECT, static_cast<WPARAM>(nIndex), Ptr(lpRect)));
}
BOOL CToolBarCtrl::GetRect(int nID, LPRECT lpRect) const
{
    return static_cast<BOOL>(::SendMessageW(m_hWnd, TB_GETRECT, static_cast<WPARAM>(nID), Ptr(lpRect)));
}
void CToolBarCtrl::SetButtonStructSize(int nSize)
{
    ::SendMessageW(m_hWnd, TB_BUTTONSTRUCTSIZE, static_cast<WPARAM>(nSize), 0);
}
BOOL CToolBarCtrl::AddButtons(int nNumButtons, LPCTBBUTTON lpButtons)
{
    return static_cast<BOOL>(
        ::SendMessageW(m_hWnd, TB_ADDBUTTONSW, static_cast<WPARAM>(nNumButtons), Ptr(lpButtons)));
}
BOOL CToolBarCtrl::InsertButton(int nIndex, LPCTBBUTTON lpButton)
{
    return static_cast<BOOL>(
        ::SendMessageW(m_hWnd, TB_INSERTBUTTONW, static_cast<WPARAM>(static_cast<INT_PTR>(nIndex)), Ptr(lpButton)));
}
BOOL CToolBarCtrl::DeleteButton(int nIndex)
{
    return static_cast<BOOL>(::SendMessageW(m_hWnd, TB_DELETEBUTTON, static_cast<WPARAM>(nIndex), 0));
}
BOOL CToolBarCtrl::MoveButton(UINT nOldPos, UINT nNewPos)
{
    return static_cast<BOOL>(::SendMessageW(m_hWnd, TB_MOVEBUTTON, nOldPos, static_cast<LPARAM>(nNewPos)));
}
UINT CToolBarCtrl::CommandToIndex(UINT nID) const
{
    return static_cast<UINT>(::SendMessageW(m_hWnd, TB_COMMANDTOINDEX, nID, 0));
}
BOOL CToolBarCtrl::SetCmdID(int nIndex, UINT nID)
{
    return static_cast<BOOL>(
        ::SendMessageW(m_hWnd, TB_SETCMDID, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(nID)));
}
int CToolBarCtrl::GetButtonInfo(int nID, TBBUTTONINFO* ptbbi) const
{
    return static_cast<int>(::SendMessageW(m_hWnd, TB_GETBUTTONINFOW, static_cast<WPARAM>(nID), Ptr(ptbbi)));
}
BOOL CToolBarCtrl::SetButtonInfo(int nID, TBBUTTONINFO* ptbbi)
{
    return static_cast<BOOL>(::SendMessageW(m_hWnd, TB_SETBUTTONINFOW, static_cast<WPARAM>(nID), Ptr(ptbbi)));
}
int CToolBarCtrl::GetButtonText(UINT idButton, LPTSTR lpszText) const
{
    return static_cast<int>(::SendMessageW(m_hWnd, TB_GETBUTTONTEXTW, idButton, Ptr(lpszText)));
}
CString CToolBarCtrl::GetButtonText(UINT idButton) const
{
    const int n = GetButtonText(idButton, nullptr);
    if (n <= 0)
        return CString();
    CString text;
    GetButtonText(idButton, text.GetBuffer(n + 1));
    text.ReleaseBuffer(n);
    return text;
}
int CToolBarCtrl::AddString(UINT nStringID)
{
    return static_cast<int>(::SendMessageW(m_hWnd, TB_ADDSTRINGW,
        reinterpret_cast<WPARAM>(AfxFindStringResourceHandle(nStringID)), static_cast<LPARAM>(nStringID)));
}
int CToolBarCtrl::AddStrings(LPCTSTR lpszStrings)
{
    return static_cast<int>(::SendMessageW(m_hWnd, TB_ADDSTRINGW, 0, Ptr(lpszStrings)));
}
int CToolBarCtrl::GetString(int nString, LPTSTR lpstrString, int cchMaxLen) const
{
    return static_cast<int>(::SendMessageW(m_hWnd, TB_GETSTRINGW,
        MAKEWPARAM(static_cast<WORD>(cchMaxLen), static_cast<WORD>(nString)), Ptr(lpstrString)));
}
int CToolBarCtrl::GetString(int nString, CString& str) const
{
    const int n = GetString(nString, nullptr, 0);
    if (n < 0) {
        str.Empty();
        return n;
    }
    const int got = GetString(nString, str.GetBuffer(n + 1), n + 1);
    str.ReleaseBuffer(got < 0 ? 0 : got);
    return got;
}

// ---- bitmaps and image lists ----------------------------------------------------------------------------
int CToolBarCtrl::AddBitmap(int nNumButtons, UINT nBitmapID)
{
    TBADDBITMAP add{AfxFindResourceHandle(MAKEINTRESOURCEW(static_cast<WORD>(nBitmapID)), RT_BITMAP), nBitmapID};
    return static_cast<int>(::SendMessageW(m_hWnd, TB_ADDBITMAP, static_cast<WPARAM>(nNumButtons), Ptr(&add)));
}
int CToolBarCtrl::AddBitmap(int nNumButtons, CBitmap* pBitmap)
{
    if (!pBitmap)
        return -1;
    TBADDBITMAP add{nullptr, reinterpret_cast<UINT_PTR>(static_cast<HBITMAP>(*pBitmap))};
    return static_cast<int>(::SendMessageW(m_hWnd, TB_ADDBITMAP, static_cast<WPARAM>(nNumButtons), Ptr(&add)));
}
BOOL CToolBarCtrl::ReplaceBitmap(LPTBREPLACEBITMAP pReplaceBitmap)
{
    return static_cast<BOOL>(::SendMessageW(m_hWnd, TB_REPLACEBITMAP, 0, Ptr(pReplaceBitmap)));
}
void CToolBarCtrl::LoadImages(int iBitmapID, HINSTANCE hinst)
{
    ::SendMessageW(m_hWnd, TB_LOADIMAGES, static_cast<WPARAM>(iBitmapID), reinterpret_cast<LPARAM>(hinst));
}
BOOL CToolBarCtrl::ChangeBitmap(int idButton, int iBitmap)
{
    return static_cast<BOOL>(
        ::SendMessageW(m_hWnd, TB_CHANGEBITMAP, static_cast<WPARAM>(idButton), static_cast<LPARAM>(iBitmap)));
}
int CToolBarCtrl::GetBitmap(int nID) const
{
    return static_cast<int>(::SendMessageW(m_hWnd, TB_GETBITMAP, static_cast<WPARAM>(nID), 0));
}
UINT CToolBarCtrl::GetBitmapFlags() const
{
    return static_cast<UINT>(::SendMessageW(m_hWnd, TB_GETBITMAPFLAGS, 0, 0));
}
BOOL CToolBarCtrl::SetBitmapSize(CSize size)
{
    return static_cast<BOOL>(::SendMessageW(m_hWnd, TB_SETBITMAPSIZE, 0,
        MAKELPARAM(static_cast<WORD>(size.cx), static_cast<WORD>(size.cy))));
}
CImageList* CToolBarCtrl::SetImageList(CImageList* pImageList)
{
    return ListOf(::SendMessageW(m_hWnd, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(HandleOf(pImageList))));
}
CImageList* CToolBarCtrl::GetImageList() const { return ListOf(::SendMessageW(m_hWnd, TB_GETIMAGELIST, 0, 0)); }
CImageList* CToolBarCtrl::SetHotImageList(CImageList* pImageList)
{
    return ListOf(::SendMessageW(m_hWnd, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(HandleOf(pImageList))));
}
CImageList* CToolBarCtrl::GetHotImageList() const
{
    return ListOf(::SendMessageW(m_hWnd, TB_GETHOTIMAGELIST, 0, 0));
}
CImageList* CToolBarCtrl::SetDisabledImageList(CImageList* pImageList)
{
    return ListOf(
        ::SendMessageW(m_hWnd, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(HandleOf(pImageList))));
}
CImageList* CToolBarCtrl::GetDisabledImageList() const
{
    return ListOf(::SendMessageW(m_hWnd, TB_GETDISABLEDIMAGELIST, 0, 0));
}
CImageList* CToolBarCtrl::SetPressedImageList(int iImageID, CImageList* pImageList)
{
    return ListOf(::SendMessageW(m_hWnd, TB_SETPRESSEDIMAGELIST, static_cast<WPARAM>(iImageID),
        reinterpret_cast<LPARAM>(HandleOf(pImageList))));
}
CImageList* CToolBarCtrl::GetPressedImageList()
{
    return ListOf(::SendMessageW(m_hWnd, TB_GETPRESSEDIMAGELIST, 0, 0));
}

// ---- geometry ----------------------------------------------------------------------------------------------
BOOL CToolBarCtrl::SetButtonSize(CSize size)
{
    return static_cast<BOOL>(::SendMessageW(m_hWnd, TB_SETBUTTONSIZE, 0,
        MAKELPARAM(static_cast<WORD>(size.cx), static_cast<WORD>(size.cy))));
}
CSize CToolBarCtrl::GetButtonSize() const
{
    const auto r = static_cast<DWORD>(::SendMessageW(m_hWnd, TB_GETBUTTONSIZE, 0, 0));
    return CSize(LOWORD(r), HIWORD(r));
}
void CToolBarCtrl::GetButtonSize(CSize& size) const { size = GetButtonSize(); }
BOOL CToolBarCtrl::SetButtonWidth(int cxMin, int cxMax)
{
    return static_cast<BOOL>(::SendMessageW(m_hWnd, TB_SETBUTTONWIDTH, 0,
        MAKELPARAM(static_cast<WORD>(cxMin), static_cast<WORD>(cxMax))));
}
BOOL CToolBarCtrl::SetIndent(int iIndent)
{
    return static_cast<BOOL>(::SendMessageW(m_hWnd, TB_SETINDENT, static_cast<WPARAM>(iIndent), 0));
}
BOOL CToolBarCtrl::SetMaxTextRows(int iMaxRows)
{
    return static_cast<BOOL>(::SendMessageW(m_hWnd, TB_SETMAXTEXTROWS, static_cast<WPARAM>(iMaxRows), 0));
}
int CToolBarCtrl::GetMaxTextRows() const { return static_cast<int>(::SendMessageW(m_hWnd, TB_GETTEXTROWS, 0, 0)); }
DWORD CToolBarCtrl::SetPadding(int cx, int cy)
{
    return static_cast<DWORD>(
        ::SendMessageW(m_hWnd, TB_SETPADDING, 0, MAKELPARAM(static_cast<WORD>(cx), static_cast<WORD>(cy))));
}
void CToolBarCtrl::GetPadding(int& nHorzPadding, int& nVertPadding) const
{
    const auto r = static_cast<DWORD>(::SendMessageW(m_hWnd, TB_GETPADDING, 0, 0));
    nHorzPadding = LOWORD(r);
    nVertPadding = HIWORD(r);
}
void CToolBarCtrl::SetRows(int nRows, BOOL bLarger, LPRECT lpRect)
{
    ::SendMessageW(m_hWnd, TB_SETROWS, MAKEWPARAM(static_cast<WORD>(nRows), bLarger ? 1 : 0), Ptr(lpRect));
}
int CToolBarCtrl::GetRows() const { return static_cast<int>(::SendMessageW(m_hWnd, TB_GETROWS, 0, 0)); }
void CToolBarCtrl::AutoSize() { ::SendMessageW(m_hWnd, TB_AUTOSIZE, 0, 0); }
BOOL CToolBarCtrl::GetMaxSize(LPSIZE pSize) const
{
    return static_cast<BOOL>(::SendMessageW(m_hWnd, TB_GETMAXSIZE, 0, Ptr(pSize)));
}
BOOL CToolBarCtrl::GetIdealSize(BOOL bHeight, LPSIZE pSize) const
{
    return static_cast<BOOL>(::SendMessageW(m_hWnd, TB_GETIDEALSIZE, bHeight ? 1 : 0, Ptr(pSize)));
}
int CToolBarCtrl::HitTest(LPPOINT ppt) const
{
    return static_cast<int>(::SendMessageW(m_hWnd, TB_HITTEST, 0, Ptr(ppt)));
}
DWORD CToolBarCtrl::GetStyle() const { return static_cast<DWORD>(::SendMessageW(m_hWnd, TB_GETSTYLE, 0, 0)); }
void CToolBarCtrl::SetStyle(DWORD dwStyle) { ::SendMessageW(m_hWnd, TB_SETSTYLE, 0, static_cast<LPARAM>(dwStyle)); }
DWORD CToolBarCtrl::GetExtendedStyle() const
{
    return static_cast<DWORD>(::SendMessageW(m_hWnd, TB_GETEXTENDEDSTYLE, 0, 0));
}
DWORD CToolBarCtrl::SetExtendedStyle(DWORD dwExStyle)
{
    return static_cast<DWORD>(::SendMessageW(m_hWnd, TB_SETEXTENDEDSTYLE, 0, static_cast<LPARAM>(dwExStyle)));
}
DWORD CToolBarCtrl::SetDrawTextFlags(DWORD dwMask, DWORD dwDTFlags)
{
    return static_cast<DWORD>(
        ::SendMessageW(m_hWnd, TB_SETDRAWTEXTFLAGS, static_cast<WPARAM>(dwMask), static_cast<LPARAM>(dwDTFlags)));
}

// ---- hot item, anchor, insert mark ----------------------------------------------------------------------
int CToolBarCtrl::GetHotItem() const { return static_cast<int>(::SendMessageW(m_hWnd, TB_GETHOTITEM, 0, 0)); }
int CToolBarCtrl::SetHotItem(int nHot)
{
    return static_cast<int>(::SendMessageW(m_hWnd, TB_SETHOTITEM, static_cast<WPARAM>(static_cast<INT_PTR>(nHot)), 0));
}
BOOL CToolBarCtrl::GetAnchorHighlight() const
{
    return static_cast<BOOL>(::SendMessageW(m_hWnd, TB_GETANCHORHIGHLIGHT, 0, 0));
}
BOOL CToolBarCtrl::SetAnchorHighlight(BOOL fAnchor)
{
    return static_cast<BOOL>(::SendMessageW(m_hWnd, TB_SETANCHORHIGHLIGHT, fAnchor ? 1 : 0, 0));
}
void CToolBarCtrl::GetInsertMark(TBINSERTMARK* ptbim) const
{
    ::SendMessageW(m_hWnd, TB_GETINSERTMARK, 0, Ptr(ptbim));
}
void CToolBarCtrl::SetInsertMark(TBINSERTMARK* ptbim) { ::SendMessageW(m_hWnd, TB_SETINSERTMARK, 0, Ptr(ptbim)); }
BOOL CToolBarCtrl::InsertMarkHitTest(LPPOINT ppt, LPTBINSERTMARK ptbim) const
{
    return static_cast<BOOL>(
        ::SendMessageW(m_hWnd, TB_INSERTMARKHITTEST, reinterpret_cast<WPARAM>(ppt), Ptr(ptbim)));
}
COLORREF CToolBarCtrl::GetInsertMarkColor() const
{
    return static_cast<COLORREF>(::SendMessageW(m_hWnd, TB_GETINSERTMARKCOLOR, 0, 0));
}
COLORREF CToolBarCtrl::SetInsertMarkColor(COLORREF clrNew)
{
    return static_cast<COLORREF>(::SendMessageW(m_hWnd, TB_SETINSERTMARKCOLOR, 0, static_cast<LPARAM>(clrNew)));
}

// ---- tooltips, owner, state, customisation ------------------------------------------------------------
CToolTipCtrl* CToolBarCtrl::GetToolTips() const
{
    // Only a tooltip that has its class-library object (the toolbar's own tooltip is
    // reached by TB_GETTOOLTIPS).
    const auto tip = reinterpret_cast<HWND>(::SendMessageW(m_hWnd, TB_GETTOOLTIPS, 0, 0));
    return DYNAMIC_DOWNCAST(CToolTipCtrl, CWnd::FromHandlePermanent(tip));
}
void CToolBarCtrl::SetToolTips(CToolTipCtrl* pTip)
{
    ::SendMessageW(m_hWnd, TB_SETTOOLTIPS, reinterpret_cast<WPARAM>(zyn::afx::SafeHwndOf(pTip)), 0);
}
CWnd* CToolBarCtrl::SetOwner(CWnd* pWnd)
{
    const auto old = reinterpret_cast<HWND>(
        ::SendMessageW(m_hWnd, TB_SETPARENT, reinterpret_cast<WPARAM>(zyn::afx::SafeHwndOf(pWnd)), 0));
    return old ? CWnd::FromHandle(old) : nullptr;
}
void CToolBarCtrl::SaveState(HKEY hKeyRoot, LPCTSTR lpszSubKey, LPCTSTR lpszValueName)
{
    TBSAVEPARAMSW params{hKeyRoot, lpszSubKey, lpszValueName};
    ::SendMessageW(m_hWnd, TB_SAVERESTOREW, TRUE, Ptr(&params));
}
void CToolBarCtrl::RestoreState(HKEY hKeyRoot, LPCTSTR lpszSubKey, LPCTSTR lpszValueName)
{
    TBSAVEPARAMSW params{hKeyRoot, lpszSubKey, lpszValueName};
    ::SendMessageW(m_hWnd, TB_SAVERESTOREW, FALSE, Ptr(&params));
}
void CToolBarCtrl::Customize() { ::SendMessageW(m_hWnd, TB_CUSTOMIZE, 0, 0); }
