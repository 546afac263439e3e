// CToolBar: creation, the TOOLBAR resource and the image well, button records and texts,
// the window's messages and the idle pass. The layout lives in bartool_layout.cpp.
#include "platform/afx/bartool.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/afx/frame.h"
#include "platform/base/coll_map.h"
#include "platform/base/cstring.h"
#include "platform/base/lasterror.h"
#include "platform/base/resource.h"
#include "platform/comctl/tooltip.h"
#include "platform/gdi/builtin_modules.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/messages.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_NCHITTEST()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_SETTINGCHANGE()
    ON_MESSAGE(TB_SETBUTTONSIZE, &CToolBar::OnSetButtonSize)
    ON_MESSAGE(TB_SETBITMAPSIZE, &CToolBar::OnSetBitmapSize)
    ON_MESSAGE(TB_INSERTBUTTONW, &CToolBar::OnButtonsChanged)
    ON_MESSAGE(TB_INSERTBUTTONA, &CToolBar::OnButtonsChanged)
    ON_MESSAGE(TB_ADDBUTTONSW, &CToolBar::OnButtonsChanged)
    ON_MESSAGE(TB_ADDBUTTONSA, &CToolBar::OnButtonsChanged)
    ON_MESSAGE(TB_DELETEBUTTON, &CToolBar::OnButtonsChanged)
    ON_MESSAGE(WM_SETFONT, &CToolBar::OnSetFont)
END_MESSAGE_MAP()

namespace {

// The layout of a TOOLBAR resource (version 1), all little-endian WORDs.
constexpr size_t kToolbarHeader = 8;

WORD ReadWord(const BYTE* p) { return static_cast<WORD>(p[0] | (p[1] << 8)); }

// Whether a record's iString is a text of its own (a pointer) rather than a pool index.
bool IsTextPointer(INT_PTR v) { return v != -1 && !IS_INTRESOURCE(reinterpret_cast<LPCWSTR>(v)); }

} // namespace

CToolBar::CToolBar()
{
    // A little more room above and below the buttons than other bars, to grab the bar by.
    m_cyTopBorder = m_cyBottomBorder = 3;
}

CToolBar::~CToolBar()
{
    m_ctrl.m_hWnd = nullptr;   // borrowed: never destroyed through the wrapper
    // The window goes while the object is still a toolbar, so its handlers see the end.
    m_bAutoDelete = FALSE;
    if (m_hWnd)
        DestroyWindow();
    if (m_hbmImageWell)
        ::DeleteObject(m_hbmImageWell);
    m_hbmImageWell = nullptr;
    delete m_pStringMap;
    m_pStringMap = nullptr;
}

// ---- creation --------------------------------------------------------------------------------------------------

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, 0, dwStyle, CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder),
        nID);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID)
{
    if (!pParentWnd || !pParentWnd->m_hWnd || m_hWnd) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    SetBorders(rcBorders);
    m_dwStyle = dwStyle & CBRS_ALL;
    // The frame's layout places and sizes the bar: the control must not do it itself.
    const DWORD dwWindowStyle = (dwStyle & ~CBRS_ALL) | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER |
        CCS_NORESIZE | (dwCtrlStyle & 0xFFFF);
    if (!CWnd::Create(TOOLBARCLASSNAMEW, nullptr, dwWindowStyle, CRect(0, 0, 0, 0), pParentWnd, nID))
        return FALSE;
    DefWindowProc(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // The control starts with its own defaults: give it the bar's.
    DefWindowProc(TB_SETBITMAPSIZE, 0, MAKELPARAM(static_cast<WORD>(m_sizeImage.cx), static_cast<WORD>(m_sizeImage.cy)));
    DefWindowProc(TB_SETBUTTONSIZE, 0, MAKELPARAM(static_cast<WORD>(m_sizeButton.cx), static_cast<WORD>(m_sizeButton.cy)));
    SyncSizes();
    m_bDelayedButtonLayout = TRUE;
    return TRUE;
}

BOOL CToolBar::PreCreateWindow(CREATESTRUCT& cs)
{
    // Not the control bar's: the low word here is the control's TBSTYLE_ bits, which share
    // their values with CBRS_ bits (CreateEx has taken those out already).
    if (!CWnd::PreCreateWindow(cs))
        return FALSE;
    cs.style |= WS_CLIPSIBLINGS;
    return TRUE;
}

// ---- resources and images ---------------------------------------------------------------------------------

BOOL CToolBar::LoadToolBar(LPCTSTR lpszResourceName)
{
    if (!m_hWnd || !lpszResourceName) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_TOOLBAR);
    const HRSRC hRsrc = ::FindResourceW(hInst, lpszResourceName, RT_TOOLBAR);
    if (!hRsrc)
        return FALSE;   // FindResource said why
    const HGLOBAL hData = ::LoadResource(hInst, hRsrc);
    const auto* pData = static_cast<const BYTE*>(hData ? ::LockResource(hData) : nullptr);
    const DWORD cb = ::SizeofResource(hInst, hRsrc);
    if (!pData || cb < kToolbarHeader) {
        ::SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    const WORD wVersion = ReadWord(pData), wWidth = ReadWord(pData + 2), wHeight = ReadWord(pData + 4);
    const WORD wCount = ReadWord(pData + 6);
    // Everything is checked before anything changes: a resource that is not what it says
    // leaves the bar as it was.
    if (wVersion != 1 || wWidth == 0 || wHeight == 0 || cb < kToolbarHeader + 2u * wCount ||
        wWidth > 0xFFFF - 7 || wHeight > 0xFFFF - 7) {
        ::SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    std::vector<UINT> ids(wCount);
    for (WORD i = 0; i < wCount; ++i)
        ids[i] = ReadWord(pData + kToolbarHeader + 2u * i);
    const CSize sizeImage(wWidth, wHeight);
    const CSize sizeButton(wWidth + 7, wHeight + 7);
    if (!SetSizes(sizeButton, sizeImage))
        return FALSE;
    if (!SetButtons(ids.data(), static_cast<int>(ids.size())))
        return FALSE;
    m_hRsrcToolBar = hRsrc;
    return LoadBitmap(lpszResourceName);
}

BOOL CToolBar::LoadBitmap(LPCTSTR lpszResourceName)
{
    if (!m_hWnd || !lpszResourceName) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_BITMAP);
    const HRSRC hRsrc = ::FindResourceW(hInst, lpszResourceName, RT_BITMAP);
    if (!hRsrc)
        return FALSE;
    const HBITMAP hbm = ::LoadBitmapW(hInst, lpszResourceName);
    if (!hbm)
        return FALSE;
    if (!AddReplaceBitmap(hbm)) {
        ::DeleteObject(hbm);
        return FALSE;
    }
    m_hInstImageWell = hInst;
    m_hRsrcImageWell = hRsrc;
    return TRUE;
}

BOOL CToolBar::SetBitmap(HBITMAP hbmImageWell)
{
    if (!m_hWnd || !hbmImageWell) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (hbmImageWell == m_hbmImageWell)
        return TRUE;   // replacing the well by itself would delete it
    if (!AddReplaceBitmap(hbmImageWell))
        return FALSE;
    m_hInstImageWell = nullptr;
    m_hRsrcImageWell = nullptr;
    return TRUE;
}

BOOL CToolBar::AddReplaceBitmap(HBITMAP hbmImageWell)
{
    BITMAP bm{};
    if (!::GetObjectW(hbmImageWell, sizeof bm, &bm) || m_sizeImage.cx <= 0) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    const int nImages = bm.bmWidth / m_sizeImage.cx;
    BOOL bOk = FALSE;
    if (!m_hbmImageWell) {
        TBADDBITMAP add{nullptr, reinterpret_cast<UINT_PTR>(hbmImageWell)};
        bOk = DefWindowProc(TB_ADDBITMAP, static_cast<WPARAM>(nImages), reinterpret_cast<LPARAM>(&add)) >= 0;
    } else {
        TBREPLACEBITMAP rep{nullptr, reinterpret_cast<UINT_PTR>(m_hbmImageWell), nullptr,
            reinterpret_cast<UINT_PTR>(hbmImageWell), nImages};
        bOk = DefWindowProc(TB_REPLACEBITMAP, 0, reinterpret_cast<LPARAM>(&rep)) != 0;
    }
    if (!bOk) {
        ::SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    if (m_hbmImageWell)
        ::DeleteObject(m_hbmImageWell);
    m_hbmImageWell = hbmImageWell;
    Invalidate();
    return TRUE;
}

BOOL CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage)
{
    // The control needs 7 x 6 pixels round an image for the button's edges and its
    // pressed offset; sizes must also fit the WORDs of the messages.
    if (sizeImage.cx <= 0 || sizeImage.cy <= 0 || sizeButton.cx - sizeImage.cx < 7 ||
        sizeButton.cy - sizeImage.cy < 6 || sizeButton.cx > 0xFFFF || sizeButton.cy > 0xFFFF) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (m_hWnd) {
        // The control cuts images at their size once: the same size is not sent again.
        if (CSize(sizeImage) != m_sizeImage &&
            !DefWindowProc(TB_SETBITMAPSIZE, 0, MAKELPARAM(static_cast<WORD>(sizeImage.cx), static_cast<WORD>(sizeImage.cy)))) {
            ::SetLastError(ERROR_NOT_SUPPORTED);
            return FALSE;
        }
        DefWindowProc(TB_SETBUTTONSIZE, 0,
            MAKELPARAM(static_cast<WORD>(sizeButton.cx), static_cast<WORD>(sizeButton.cy)));
    }
    m_sizeImage = sizeImage;
    m_sizeButton = sizeButton;
    if (m_hWnd) {
        SyncSizes();
        Invalidate();
    }
    m_bDelayedButtonLayout = TRUE;
    return TRUE;
}

BOOL CToolBar::SetHeight(int cyHeight)
{
    if (cyHeight < 0) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    int cyInside = cyHeight;
    if (m_dwStyle & CBRS_BORDER_TOP)
        cyInside -= AFX_CY_BORDER2;
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
        cyInside -= AFX_CY_BORDER2;
    // The buttons sit in the middle; an odd pixel goes above them. Too small a height
    // clips the buttons at the bottom.
    m_cyBottomBorder = (cyInside - m_sizeButton.cy) / 2;
    m_cyTopBorder = cyInside - m_sizeButton.cy - m_cyBottomBorder;
    if (m_cyTopBorder < 0) {
        m_cyBottomBorder += m_cyTopBorder;
        m_cyTopBorder = 0;
    }
    if (m_hWnd) {
        SetWindowPos(nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        Invalidate();
    }
    return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount)
{
    if (!m_hWnd || nIDCount < 0) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (int n = static_cast<int>(DefWindowProc(TB_BUTTONCOUNT, 0, 0)); n > 0; --n)
        DefWindowProc(TB_DELETEBUTTON, 0, 0);
    const bool flat = (GetStyle() & TBSTYLE_FLAT) != 0;
    int iImage = 0;
    BOOL bResult = TRUE;
    for (int i = 0; i < nIDCount; ++i) {
        TBBUTTON button{};
        button.iString = -1;
        button.fsState = TBSTATE_ENABLED;
        button.idCommand = lpIDArray ? static_cast<int>(lpIDArray[i]) : 0;
        if (lpIDArray && lpIDArray[i] == ID_SEPARATOR) {
            button.fsStyle = TBSTYLE_SEP;
            button.iBitmap = flat ? 6 : 8;   // a flat bar's separator is an etched line
        } else {
            button.fsStyle = TBSTYLE_BUTTON;
            button.iBitmap = lpIDArray ? iImage++ : 0;
        }
        if (!DefWindowProc(TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button))) {
            bResult = FALSE;
            break;
        }
    }
    m_nCount = static_cast<int>(DefWindowProc(TB_BUTTONCOUNT, 0, 0));
    m_bDelayedButtonLayout = TRUE;
    Invalidate();
    if (!bResult)
        ::SetLastError(ERROR_INVALID_DATA);
    return bResult;
}

// ---- button records ----------------------------------------------------------------------------------------

BOOL CToolBar::_GetButton(int nIndex, TBBUTTON* pButton) const
{
    if (!pButton)
        return FALSE;
    *pButton = TBBUTTON{};
    auto* self = const_cast<CToolBar*>(this);
    if (!m_hWnd || !self->DefWindowProc(TB_GETBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(pButton))) {
        *pButton = TBBUTTON{};
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // The class library's button style says "disabled" where the control says "enabled".
    pButton->fsState ^= TBSTATE_ENABLED;
    return TRUE;
}

BOOL CToolBar::_SetButton(int nIndex, TBBUTTON* pButton)
{
    if (!pButton || !m_hWnd) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    TBBUTTON current{};
    if (!DefWindowProc(TB_GETBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&current))) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    TBBUTTON record = *pButton;
    std::memset(record.bReserved, 0, sizeof record.bReserved);
    std::memset(current.bReserved, 0, sizeof current.bReserved);
    record.fsState ^= TBSTATE_ENABLED;
    if (std::memcmp(&record, &current, sizeof record) == 0)
        return TRUE;
    // A text of the button's own is the control's memory, freed with the button: both
    // records keep a copy across the delete.
    std::wstring newText, oldText;
    if (IsTextPointer(record.iString)) {
        newText = reinterpret_cast<LPCWSTR>(record.iString);
        record.iString = reinterpret_cast<INT_PTR>(newText.c_str());
    }
    if (IsTextPointer(current.iString)) {
        oldText = reinterpret_cast<LPCWSTR>(current.iString);
        current.iString = reinterpret_cast<INT_PTR>(oldText.c_str());
    }
    CRect rectOld;
    if (!DefWindowProc(TB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&rectOld)))
        rectOld.SetRectEmpty();
    // Straight to the control: the bar's (and a derived bar's) handlers of these messages
    // are for buttons added and removed from outside, not for a record being rewritten.
    if (!DefWindowProc(TB_DELETEBUTTON, static_cast<WPARAM>(nIndex), 0))
        return FALSE;
    if (!DefWindowProc(TB_INSERTBUTTONW, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&record))) {
        // The control refused the record: the button it had goes back.
        DefWindowProc(TB_INSERTBUTTONW, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&current));
        ::SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    const bool kindChanged = ((record.fsStyle ^ current.fsStyle) & TBSTYLE_SEP) != 0;
    const bool widthChanged = (record.fsStyle & TBSTYLE_SEP) && record.iBitmap != current.iBitmap;
    const bool placeChanged = ((record.fsState ^ current.fsState) & (TBSTATE_HIDDEN | TBSTATE_WRAP)) != 0;
    if (kindChanged || widthChanged || placeChanged || rectOld.IsRectEmpty())
        Invalidate();
    else
        InvalidateRect(&rectOld);
    return TRUE;
}

// ---- buttons --------------------------------------------------------------------------------------------------------

int CToolBar::CommandToIndex(UINT nIDFind) const
{
    if (!m_hWnd)
        return -1;
    return static_cast<int>(const_cast<CToolBar*>(this)->DefWindowProc(TB_COMMANDTOINDEX, nIDFind, 0));
}

UINT CToolBar::GetItemID(int nIndex) const
{
    TBBUTTON button;
    _GetButton(nIndex, &button);   // zeroed for a bad index
    return static_cast<UINT>(button.idCommand);
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    if (!lpRect)
        return;
    ::SetRectEmpty(lpRect);
    if (!m_hWnd)
        return;
    auto* self = const_cast<CToolBar*>(this);
    if (m_bDelayedButtonLayout)
        self->Layout();
    if (!self->DefWindowProc(TB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect)))
        ::SetRectEmpty(lpRect);
}

UINT CToolBar::GetButtonStyle(int nIndex) const
{
    TBBUTTON button;
    if (!_GetButton(nIndex, &button))
        return 0;
    return static_cast<UINT>(MAKELONG(button.fsStyle, button.fsState));
}

void CToolBar::SetButtonStyle(int nIndex, UINT nStyle)
{
    TBBUTTON button;
    if (!_GetButton(nIndex, &button))
        return;
    const BYTE fsStyle = static_cast<BYTE>(LOWORD(nStyle)), fsState = static_cast<BYTE>(HIWORD(nStyle));
    if (button.fsStyle == fsStyle && button.fsState == fsState)
        return;
    // Hiding, wrapping or turning into a separator moves the other buttons.
    if (((button.fsState ^ fsState) & (TBSTATE_HIDDEN | TBSTATE_WRAP)) || ((button.fsStyle ^ fsStyle) & TBSTYLE_SEP))
        m_bDelayedButtonLayout = TRUE;
    button.fsStyle = fsStyle;
    button.fsState = fsState;
    _SetButton(nIndex, &button);
}

void CToolBar::GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const
{
    TBBUTTON button;
    _GetButton(nIndex, &button);
    nID = static_cast<UINT>(button.idCommand);
    nStyle = static_cast<UINT>(MAKELONG(button.fsStyle, button.fsState));
    iImage = button.iBitmap;
}

void CToolBar::SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage)
{
    TBBUTTON button;
    if (!_GetButton(nIndex, &button))
        return;
    TBBUTTON changed = button;
    changed.idCommand = static_cast<int>(nID);
    changed.iBitmap = iImage;
    changed.fsStyle = static_cast<BYTE>(LOWORD(nStyle));
    changed.fsState = static_cast<BYTE>(HIWORD(nStyle));
    if (std::memcmp(&changed, &button, sizeof button) == 0)
        return;
    if (_SetButton(nIndex, &changed))
        m_bDelayedButtonLayout = TRUE;
}

CString CToolBar::GetButtonText(int nIndex) const
{
    CString text;
    GetButtonText(nIndex, text);
    return text;
}

void CToolBar::GetButtonText(int nIndex, CString& rString) const
{
    rString.Empty();
    TBBUTTON button;
    if (!_GetButton(nIndex, &button) || button.iString == -1)
        return;
    if (IsTextPointer(button.iString)) {
        rString = reinterpret_cast<LPCWSTR>(button.iString);
        return;
    }
    auto* self = const_cast<CToolBar*>(this);
    const WORD index = static_cast<WORD>(button.iString);
    const LRESULT n = self->DefWindowProc(TB_GETSTRINGW, MAKEWPARAM(0, index), 0);
    if (n <= 0)
        return;
    std::vector<wchar_t> buf(static_cast<size_t>(n) + 1, L'\0');
    self->DefWindowProc(TB_GETSTRINGW, MAKEWPARAM(static_cast<WORD>(buf.size()), index),
        reinterpret_cast<LPARAM>(buf.data()));
    rString = buf.data();
}

BOOL CToolBar::SetButtonText(int nIndex, LPCTSTR lpszText)
{
    TBBUTTON button;
    if (!lpszText || !_GetButton(nIndex, &button)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // Each text joins the control's pool once; buttons with the same text share it.
    void* p = nullptr;
    INT_PTR nString = -1;
    if (m_pStringMap && m_pStringMap->Lookup(lpszText, p))
        nString = reinterpret_cast<INT_PTR>(p);
    if (nString == -1) {
        std::wstring list(lpszText);
        list.push_back(L'\0');   // the pool takes a list ended by an empty string
        nString = DefWindowProc(TB_ADDSTRINGW, 0, reinterpret_cast<LPARAM>(list.c_str()));
        if (nString < 0) {
            ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return FALSE;
        }
        if (!m_pStringMap)
            m_pStringMap = new CMapStringToPtr;
        m_pStringMap->SetAt(lpszText, reinterpret_cast<void*>(nString));
    }
    button.iString = nString;
    if (!_SetButton(nIndex, &button))
        return FALSE;
    // Texts may make the control's buttons larger than the size the bar gave them.
    SyncSizes();
    m_bDelayedButtonLayout = TRUE;
    return TRUE;
}

CToolBarCtrl& CToolBar::GetToolBarCtrl() const
{
    m_ctrl.m_hWnd = m_hWnd;
    return m_ctrl;
}

void CToolBar::SyncSizes()
{
    if (!m_hWnd)
        return;
    const auto packed = static_cast<DWORD>(DefWindowProc(TB_GETBUTTONSIZE, 0, 0));
    if (LOWORD(packed) && HIWORD(packed))
        m_sizeButton = CSize(LOWORD(packed), HIWORD(packed));
}

// ---- hit testing and the idle pass ---------------------------------------------------------------------------

int CToolBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    // Windows the bar holds (in separators) first.
    const int nChild = CControlBar::OnToolHitTest(point, pTI);
    if (nChild != -1)
        return nChild;
    if (!m_hWnd)
        return -1;
    auto* self = const_cast<CToolBar*>(this);
    const int nButtons = static_cast<int>(self->DefWindowProc(TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < nButtons; ++i) {
        CRect rect;
        if (!self->DefWindowProc(TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rect)) ||
            !rect.PtInRect(point))
            continue;
        TBBUTTON button{};
        if (!self->DefWindowProc(TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button)) ||
            (button.fsStyle & TBSTYLE_SEP) || button.idCommand == 0)
            return -1;   // a separator or a blank button is no tool
        if (pTI) {
            pTI->hwnd = m_hWnd;
            pTI->rect = rect;
            pTI->uId = static_cast<UINT_PTR>(static_cast<UINT>(button.idCommand));
            pTI->lpszText = LPSTR_TEXTCALLBACK;
        }
        return button.idCommand;
    }
    return -1;
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    CToolCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(DefWindowProc(TB_BUTTONCOUNT, 0, 0));
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        TBBUTTON button;
        if (!_GetButton(static_cast<int>(state.m_nIndex), &button) || (button.fsStyle & TBSTYLE_SEP))
            continue;
        state.m_nID = static_cast<UINT>(button.idCommand);
        // The bar's own map may update its buttons.
        if (CWnd::OnCmdMsg(state.m_nID, CN_UPDATE_COMMAND_UI, &state, nullptr))
            continue;
        state.DoUpdate(pTarget, bDisableIfNoHndler);
        // A handler may have removed buttons.
        if (!m_hWnd)
            return;
        state.m_nIndexMax = std::min(state.m_nIndexMax, static_cast<UINT>(DefWindowProc(TB_BUTTONCOUNT, 0, 0)));
    }
    // Controls the bar holds update as dialog controls do.
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

void CToolBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle)
{
    const DWORD changed = dwOldStyle ^ dwNewStyle;
    const bool wasHorz = (dwOldStyle & CBRS_ORIENT_HORZ) != 0, isHorz = (dwNewStyle & CBRS_ORIENT_HORZ) != 0;
    if (wasHorz != isHorz || (changed & (CBRS_FLOATING | CBRS_SIZE_DYNAMIC | CBRS_SIZE_FIXED)))
        m_bDelayedButtonLayout = TRUE;
    CControlBar::OnBarStyleChange(dwOldStyle, dwNewStyle);
}

void CToolCmdUI::Enable(BOOL bOn)
{
    m_bEnableChanged = TRUE;
    auto* pBar = static_cast<CToolBar*>(m_pOther);
    if (!pBar)
        return;
    UINT nStyle = pBar->GetButtonStyle(static_cast<int>(m_nIndex)) & ~TBBS_DISABLED;
    if (!bOn) {
        // A button pressed when it is disabled would otherwise stay pressed: the release
        // no longer reaches it.
        nStyle |= TBBS_DISABLED;
        nStyle &= ~TBBS_PRESSED;
    }
    pBar->SetButtonStyle(static_cast<int>(m_nIndex), nStyle);
}

void CToolCmdUI::SetCheck(int nCheck)
{
    auto* pBar = static_cast<CToolBar*>(m_pOther);
    if (!pBar)
        return;
    UINT nStyle = pBar->GetButtonStyle(static_cast<int>(m_nIndex)) & ~(TBBS_CHECKED | TBBS_INDETERMINATE);
    if (nCheck == 1)
        nStyle |= TBBS_CHECKED;
    else if (nCheck == 2)
        nStyle |= TBBS_INDETERMINATE;
    pBar->SetButtonStyle(static_cast<int>(m_nIndex), nStyle);
}

void CToolCmdUI::SetText(LPCTSTR) {}

// ---- the window's messages ------------------------------------------------------------------------------------

void CToolBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp)
{
    if (!lpncsp)
        return;
    // The margins, borders and gripper are the non-client area; the control's client area
    // holds just the buttons.
    CRect rect;
    rect.SetRectEmpty();
    CControlBar::CalcInsideRect(rect, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
    RECT& rc = lpncsp->rgrc[0];
    rc.left += rect.left;
    rc.top += rect.top;
    rc.right = std::max(rc.left, rc.right + rect.right);
    rc.bottom = std::max(rc.top, rc.bottom + rect.bottom);
}

void CToolBar::OnNcPaint()
{
    if (m_bDelayedButtonLayout)
        Layout();
    EraseNonClient();
}

void CToolBar::OnPaint()
{
    if (m_bDelayedButtonLayout)
        Layout();
    Default();   // the control paints its buttons
}

BOOL CToolBar::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }

LRESULT CToolBar::OnNcHitTest(CPoint)
{
    // Borders and gripper count as the bar's client area, so a press there starts a drag.
    return HTCLIENT;
}

void CToolBar::OnWindowPosChanging(WINDOWPOS* lpWndPos)
{
    CControlBar::OnWindowPosChanging(lpWndPos);
    // A floating bar being sized wraps its buttons differently: repaint them all.
    if (lpWndPos && !(lpWndPos->flags & SWP_NOSIZE) && (m_dwStyle & CBRS_SIZE_DYNAMIC))
        Invalidate();
}

void CToolBar::OnSettingChange(UINT, LPCTSTR)
{
    Default();
    SyncSizes();
    m_bDelayedButtonLayout = TRUE;
}

LRESULT CToolBar::OnSetButtonSize(WPARAM, LPARAM)
{
    const LRESULT r = Default();
    if (r) {
        SyncSizes();
        m_bDelayedButtonLayout = TRUE;
    }
    return r;
}

LRESULT CToolBar::OnSetBitmapSize(WPARAM, LPARAM lParam)
{
    const LRESULT r = Default();
    if (r) {
        m_sizeImage = CSize(LOWORD(static_cast<DWORD>(lParam)), HIWORD(static_cast<DWORD>(lParam)));
        SyncSizes();
        m_bDelayedButtonLayout = TRUE;
    }
    return r;
}

LRESULT CToolBar::OnButtonsChanged(WPARAM, LPARAM)
{
    const LRESULT r = Default();
    m_nCount = static_cast<int>(DefWindowProc(TB_BUTTONCOUNT, 0, 0));
    SyncSizes();
    m_bDelayedButtonLayout = TRUE;
    return r;
}

LRESULT CToolBar::OnSetFont(WPARAM, LPARAM)
{
    const LRESULT r = Default();
    SyncSizes();
    m_bDelayedButtonLayout = TRUE;
    return r;
}
