// COXCoolToolBar: construction and creation, the looks and settings, the control's messages
// passed through, images, button texts, redrawing, the idle pass and command updates.
// Painting lives in cool_toolbar_paint.cpp, the mouse in cool_toolbar_mouse.cpp.
#include "toolkit/menus/cool_toolbar.h"

#include <algorithm>
#include <vector>

#include "platform/afx/winthread.h"
#include "platform/base/lasterror.h"
#include "platform/user/msgqueue.h"
#include "platform/user/winpos.h"
#include "platform/afx/frame.h"
#include "platform/afx/mdi.h"
#include "platform/afx/ole/oledroptarget.h"
#include "platform/base/module.h"
#include "platform/base/resource.h"
#include "platform/base/version.h"
#include "platform/gdi/builtin_modules.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/imagelist.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/menu.h"
#include "platform/user/messages.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "toolkit/skins/skin_lookup.h"
#include "toolkit/skins/toolbar_skin.h"

IMPLEMENT_DYNAMIC(COXCoolToolBar, CMFCToolBar)

BEGIN_MESSAGE_MAP(COXCoolToolBar, CMFCToolBar)
    ON_WM_NCCREATE()
    ON_WM_NCPAINT()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_NCCALCSIZE()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_SETTINGCHANGE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDBLCLK()
    ON_MESSAGE(TB_INSERTBUTTONA, &COXCoolToolBar::OnInsertButton)
    ON_MESSAGE(TB_INSERTBUTTONW, &COXCoolToolBar::OnInsertButton)
    ON_MESSAGE(TB_DELETEBUTTON, &COXCoolToolBar::OnDeleteButton)
    ON_MESSAGE(TB_MOVEBUTTON, &COXCoolToolBar::OnMoveButton)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &COXCoolToolBar::OnIdleUpdateCmdUI)
    ON_NOTIFY_REFLECT_EX(TBN_BEGINDRAG, &COXCoolToolBar::OnTBNBeginDrag)
    ON_NOTIFY_REFLECT_EX(TBN_ENDDRAG, &COXCoolToolBar::OnTBNEndDrag)
    ON_NOTIFY_REFLECT_EX(TBN_QUERYINSERT, &COXCoolToolBar::OnTBNQueryInsert)
    ON_NOTIFY_REFLECT_EX(TBN_QUERYDELETE, &COXCoolToolBar::OnTBNQueryDelete)
    ON_NOTIFY_REFLECT_EX(TBN_TOOLBARCHANGE, &COXCoolToolBar::OnTBNToolBarChange)
    ON_NOTIFY_REFLECT_EX(TBN_GETBUTTONINFOW, &COXCoolToolBar::OnTBNGetButtonInfo)
    ON_NOTIFY_REFLECT_EX(NM_CUSTOMDRAW, &COXCoolToolBar::OnCustomDraw)
    ON_NOTIFY_REFLECT_EX(TBN_DROPDOWN, &COXCoolToolBar::OnDropDownButton)
    ON_MESSAGE(SHBDTM_DRAGENTER, &COXCoolToolBar::OnDragEnterMsg)
    ON_MESSAGE(SHBDTM_DRAGLEAVE, &COXCoolToolBar::OnDragLeaveMsg)
    ON_MESSAGE(SHBDTM_DRAGOVER, &COXCoolToolBar::OnDragOverMsg)
    ON_MESSAGE(SHBDTM_DROP, &COXCoolToolBar::OnDropMsg)
    ON_COMMAND_RANGE(ID_OXCUSTTB_DELETE, ID_OXCUSTTB_SEPARATOR_AFTER, &COXCoolToolBar::OnCustomizeCommand)
END_MESSAGE_MAP()

DWORD COXCoolToolBar::m_dwComCtlVersion = 0;
std::map<int, OXCUSTOMBUTTONDESCRIPTOR> COXCoolToolBar::m_mapAllCustomButtons;
std::vector<int> COXCoolToolBar::m_arrAllCustomButtonIDs;
BOOL COXCoolToolBar::m_bCustomButtonsStateSaved = FALSE;
BOOL COXCoolToolBar::m_bCustomButtonsStateLoaded = FALSE;

namespace {

// The comctl32 loaded in the process (loading it for the question when it is not).
HRESULT ReadComCtlDllVersion(DWORD* pdwMajor, DWORD* pdwMinor)
{
    if (!pdwMajor || !pdwMinor)
        return E_INVALIDARG;
    HMODULE hModule = ::GetModuleHandleW(L"comctl32.dll");
    bool loaded = false;
    if (!hModule) {
        hModule = ::LoadLibraryW(L"comctl32.dll");
        loaded = hModule != nullptr;
    }
    if (!hModule)
        return E_FAIL;
    HRESULT hr = S_OK;
    const auto proc = reinterpret_cast<DLLGETVERSIONPROC>(::GetProcAddress(hModule, "DllGetVersion"));
    if (proc) {
        DLLVERSIONINFO info{};
        info.cbSize = sizeof info;
        hr = proc(&info);
        if (SUCCEEDED(hr)) {
            *pdwMajor = info.dwMajorVersion;
            *pdwMinor = info.dwMinorVersion;
        } else {
            hr = E_FAIL;
        }
    } else {
        // A comctl32 without the export is the first shell version.
        *pdwMajor = 4;
        *pdwMinor = 0;
    }
    if (loaded)
        ::FreeLibrary(hModule);
    return hr;
}

// The part of a command string before (0) or after (1) its first newline; the whole
// string when there is none, for part 0; empty for part 1.
CString StringPart(const CString& text, int part)
{
    const int nl = text.Find(L'\n');
    if (part == 0)
        return nl < 0 ? text : text.Left(nl);
    return nl < 0 ? CString() : text.Mid(nl + 1);
}

std::wstring ResourceKey(LPCTSTR name)
{
    if (IS_INTRESOURCE(name))
        return L"#" + std::to_wstring(reinterpret_cast<UINT_PTR>(name) & 0xFFFF);
    return name ? std::wstring(name) : std::wstring();
}

} // namespace

// ---- command updates ------------------------------------------------------------------------------------------

void COXCoolToolBarCmdUI::Enable(BOOL bOn)
{
    m_bEnableChanged = TRUE;
    auto* pBar = static_cast<COXCoolToolBar*>(m_pOther);
    if (!pBar || !pBar->m_hWnd)
        return;
    TBBUTTON button{};
    if (!pBar->DefWindowProc(TB_GETBUTTON, m_nIndex, reinterpret_cast<LPARAM>(&button)))
        return;
    const BYTE state = bOn ? static_cast<BYTE>(button.fsState | TBSTATE_ENABLED)
                           : static_cast<BYTE>(button.fsState & ~TBSTATE_ENABLED);
    if (state == button.fsState)
        return;
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_STATE | TBIF_BYINDEX;
    info.fsState = state;
    pBar->SendMessage(TB_SETBUTTONINFOW, m_nIndex, reinterpret_cast<LPARAM>(&info));
}

void COXCoolToolBarCmdUI::SetCheck(int nCheck)
{
    auto* pBar = static_cast<COXCoolToolBar*>(m_pOther);
    if (!pBar || !pBar->m_hWnd)
        return;
    TBBUTTON button{};
    if (!pBar->DefWindowProc(TB_GETBUTTON, m_nIndex, reinterpret_cast<LPARAM>(&button)))
        return;
    BYTE state = static_cast<BYTE>(button.fsState & ~(TBSTATE_CHECKED | TBSTATE_INDETERMINATE));
    if (nCheck == 1)
        state |= TBSTATE_CHECKED;
    else if (nCheck == 2)
        state |= TBSTATE_INDETERMINATE;
    if (state == button.fsState)
        return;
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_STATE | TBIF_BYINDEX;
    info.fsState = state;
    pBar->SendMessage(TB_SETBUTTONINFOW, m_nIndex, reinterpret_cast<LPARAM>(&info));
}

// ---- construction and creation ---------------------------------------------------------------------------------

COXCoolToolBar::COXCoolToolBar()
{
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    m_bWindowsNTRunning = ::GetVersionExW(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT &&
        version.dwMajorVersion >= 4;
    if (m_dwComCtlVersion == 0)
        m_dwComCtlVersion = ReadComCtlVersion();
    m_nDropDownArrowWidth = MeasureDropDownArrowWidth();
}

COXCoolToolBar::~COXCoolToolBar()
{
    // The window goes first, while the custom buttons and caches it may still ask for exist.
    m_bAutoDelete = FALSE;
    // Copies of custom buttons serve this bar alone: they go with it.
    std::map<int, OXCUSTOMBUTTONDESCRIPTOR> custom;
    custom.swap(m_mapCustomButtons);
    for (auto& entry : custom)
        if (entry.second.m_pCBTemplate && entry.second.m_pCBTemplate->CBIsDynamicallyCreated())
            entry.second.m_pCBTemplate->CBDelete();
    if (m_hWnd)
        DestroyWindow();
    for (auto& entry : m_mapBitmaps)
        ::DeleteObject(entry.second);
    for (auto& entry : m_mapNamedBitmaps)
        ::DeleteObject(entry.second);
    for (auto& entry : m_mapImageLists)
        ::ImageList_Destroy(entry.second);
    if (m_hLoadedIcon)
        ::DestroyIcon(m_hLoadedIcon);
}

DWORD COXCoolToolBar::ReadComCtlVersion()
{
    DWORD major = 0, minor = 0;
    if (FAILED(ReadComCtlDllVersion(&major, &minor)))
        return 0x40000;
    return (major << 16) | (minor & 0xFFFF);
}

HRESULT COXCoolToolBar::GetComCtlVersion(DWORD* pdwMajor, DWORD* pdwMinor) const
{
    return ReadComCtlDllVersion(pdwMajor, pdwMinor);
}

int COXCoolToolBar::MeasureDropDownArrowWidth()
{
    return DropDownArrowWidth();
}

BOOL COXCoolToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    if (!HasComCtl471()) {
        if (!CToolBar::Create(pParentWnd, dwStyle, nID))
            return FALSE;
        ModifyStyle(0, TBSTYLE_FLAT);
    } else {
        if (!CToolBar::Create(pParentWnd, dwStyle | WS_CLIPCHILDREN, nID))
            return FALSE;
        ModifyStyle(0, TBSTYLE_FLAT | TBSTYLE_TRANSPARENT);
        SetBorders(0, 0, 0, 0);
        SetDropDownArrow(TRUE);
        // On an MDI child the parent paints nothing worth showing through.
        if (pParentWnd->IsKindOf(RUNTIME_CLASS(CMDIChildWnd)))
            ModifyStyle(TBSTYLE_TRANSPARENT, 0);
    }
    GetDropTarget()->Register(this);
    // The pool's one string: an empty text, then the list's closing empty string.
    static const wchar_t kEmptyList[2] = {L'\0', L'\0'};
    SendMessage(TB_ADDSTRINGW, 0, reinterpret_cast<LPARAM>(kEmptyList));
    return TRUE;
}

void COXCoolToolBar::EnableDocking(DWORD dwDockStyle, BOOL bFlag)
{
    CControlBar::EnableDocking(dwDockStyle);
    m_bDockingFlag = bFlag;
}

BOOL COXCoolToolBar::DockControlBarLeftOf(CMFCToolBar* pLeftOf)
{
    // A bar that is not docked has no place to name.
    if (!m_hWnd || (pLeftOf && (!pLeftOf->m_hWnd || !pLeftOf->m_pDockBar || pLeftOf->IsFloating())))
        return FALSE;
    CFrameWnd* pFrame = m_pDockSite ? m_pDockSite : GetParentFrame();
    if (!pFrame)
        return FALSE;
    pFrame->RecalcLayout(TRUE);
    // Left of nothing: dock bar 0 and an empty rectangle, so the frame takes the first
    // side the bar may dock to.
    CRect rect(0, 0, 0, 0);
    UINT nID = 0;
    if (pLeftOf) {
        pLeftOf->GetWindowRect(&rect);
        rect.OffsetRect(1, 0);
        const DWORD dw = pLeftOf->GetBarStyle();
        if (dw & CBRS_ALIGN_TOP)
            nID = AFX_IDW_DOCKBAR_TOP;
        else if (dw & CBRS_ALIGN_BOTTOM)
            nID = AFX_IDW_DOCKBAR_BOTTOM;
        else if (dw & CBRS_ALIGN_LEFT)
            nID = AFX_IDW_DOCKBAR_LEFT;
        else if (dw & CBRS_ALIGN_RIGHT)
            nID = AFX_IDW_DOCKBAR_RIGHT;
    }
    pFrame->DockControlBar(this, nID, &rect);
    // FALSE when no side took it (the frame or the bar allows no docking).
    return m_pDockBar && !IsFloating();
}

// ---- looks ------------------------------------------------------------------------------------------------------

void COXCoolToolBar::SetFlat(BOOL bFlat)
{
    if (m_hWnd)
        ModifyStyle(bFlat ? 0 : TBSTYLE_FLAT, bFlat ? TBSTYLE_FLAT : 0);
}

BOOL COXCoolToolBar::IsFlat() const { return (GetStyle() & TBSTYLE_FLAT) != 0; }

void COXCoolToolBar::SetList(BOOL bList)
{
    if (m_hWnd)
        ModifyStyle(bList ? 0 : TBSTYLE_LIST, bList ? TBSTYLE_LIST : 0);
}

BOOL COXCoolToolBar::IsList() const { return (GetStyle() & TBSTYLE_LIST) != 0; }

void COXCoolToolBar::SetGripper(BOOL bGripper)
{
    SetBarStyle(bGripper ? (m_dwStyle | CBRS_GRIPPER) : (m_dwStyle & ~CBRS_GRIPPER));
}

void COXCoolToolBar::SetDropDownArrow(BOOL bDropDownArrow)
{
    m_bDropDownArrow = bDropDownArrow;
    if (HasComCtl471() && m_hWnd) {
        SendMessage(TB_SETEXTENDEDSTYLE, TBSTYLE_EX_DRAWDDARROWS, bDropDownArrow ? TBSTYLE_EX_DRAWDDARROWS : 0);
        m_bDelayedButtonLayout = TRUE;
    }
}

BOOL COXCoolToolBar::IsDropDownArrow() const
{
    if (HasComCtl471() && m_hWnd)
        return (GetStyleEx() & TBSTYLE_EX_DRAWDDARROWS) != 0;
    return m_bDropDownArrow;
}

BOOL COXCoolToolBar::SetIndent(int nIndent)
{
    if (!m_hWnd || !SendMessage(TB_SETINDENT, static_cast<WPARAM>(nIndent), 0))
        return FALSE;
    m_nIndent = nIndent;
    m_bDelayedButtonLayout = TRUE;
    return TRUE;
}

BOOL COXCoolToolBar::SetButtonsMinMaxWidth(UINT nMin, UINT nMax)
{
    if (!m_hWnd ||
        !SendMessage(TB_SETBUTTONWIDTH, 0, MAKELPARAM(static_cast<WORD>(nMin), static_cast<WORD>(nMax))))
        return FALSE;
    m_nMinButtonWidth = static_cast<int>(nMin);
    m_nMaxButtonWidth = static_cast<int>(nMax);
    SyncSizes();
    m_bDelayedButtonLayout = TRUE;
    return TRUE;
}

BOOL COXCoolToolBar::SetMaxTextRows(int nRows)
{
    if (!m_hWnd)
        return FALSE;
    const BOOL ok = static_cast<BOOL>(SendMessage(TB_SETMAXTEXTROWS, static_cast<WPARAM>(nRows), 0));
    SyncSizes();
    m_bDelayedButtonLayout = TRUE;
    return ok;
}

int COXCoolToolBar::GetTextRows() const
{
    return m_hWnd ? static_cast<int>(SendMessage(TB_GETTEXTROWS, 0, 0)) : 0;
}

CSize COXCoolToolBar::GetButtonsSize() const
{
    if (!m_hWnd)
        return m_sizeButton;
    const auto packed = static_cast<DWORD>(SendMessage(TB_GETBUTTONSIZE, 0, 0));
    return CSize(LOWORD(packed), HIWORD(packed));
}

void COXCoolToolBar::IniSizes(CSize sizeImage)
{
    SetSizes(CSize(sizeImage.cx + 7, sizeImage.cy + 6), sizeImage);
    if (m_hWnd)
        SendMessage(TB_AUTOSIZE, 0, 0);
}

void COXCoolToolBar::UpdateSizes()
{
    SetSizes(GetButtonsSize(), m_sizeImage);
    if (m_hWnd)
        SendMessage(TB_AUTOSIZE, 0, 0);
}

void COXCoolToolBar::SetIcon(HICON hIcon, BOOL bRedraw)
{
    if (hIcon == m_hIcon)
        return;
    m_rectIcon.SetRectEmpty();
    m_hIcon = hIcon;
    // An icon the bar loaded itself goes once it is no longer shown.
    if (m_hLoadedIcon && m_hLoadedIcon != hIcon) {
        ::DestroyIcon(m_hLoadedIcon);
        m_hLoadedIcon = nullptr;
    }
    if (bRedraw)
        RedrawToolBar(TRUE, TRUE);
}

void COXCoolToolBar::SetIcon(LPCTSTR lpszResourceName, CSize size, HINSTANCE hInst, BOOL bRedraw)
{
    if (!lpszResourceName)
        return;
    if (!hInst)
        hInst = AfxFindResourceHandle(lpszResourceName, RT_GROUP_ICON);
    if (!hInst)
        return;
    const auto hIcon =
        static_cast<HICON>(::LoadImageW(hInst, lpszResourceName, IMAGE_ICON, size.cx, size.cy, 0));
    if (!hIcon)
        return;
    SetIcon(hIcon, bRedraw);
    m_hLoadedIcon = hIcon;
}

void COXCoolToolBar::SetIcon(UINT nIDResource, CSize size, HINSTANCE hInst, BOOL bRedraw)
{
    SetIcon(MAKEINTRESOURCEW(nIDResource), size, hInst, bRedraw);
}

// ---- the control's messages -------------------------------------------------------------------------------

void COXCoolToolBar::SetStyle(DWORD dwStyle)
{
    if (m_hWnd)
        SendMessage(TB_SETSTYLE, 0, static_cast<LPARAM>(dwStyle));
}

DWORD COXCoolToolBar::GetStyle() const
{
    return m_hWnd ? static_cast<DWORD>(SendMessage(TB_GETSTYLE, 0, 0)) : 0;
}

DWORD COXCoolToolBar::SetStyleEx(DWORD dwStyleEx)
{
    return m_hWnd ? static_cast<DWORD>(SendMessage(TB_SETEXTENDEDSTYLE, 0, static_cast<LPARAM>(dwStyleEx))) : 0;
}

DWORD COXCoolToolBar::GetStyleEx() const
{
    return m_hWnd ? static_cast<DWORD>(SendMessage(TB_GETEXTENDEDSTYLE, 0, 0)) : 0;
}

HIMAGELIST COXCoolToolBar::SetDefaultImageList(HIMAGELIST hImageList)
{
    return m_hWnd ? reinterpret_cast<HIMAGELIST>(SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(hImageList)))
                  : nullptr;
}

HIMAGELIST COXCoolToolBar::GetDefaultImageList() const
{
    return m_hWnd ? reinterpret_cast<HIMAGELIST>(SendMessage(TB_GETIMAGELIST, 0, 0)) : nullptr;
}

HIMAGELIST COXCoolToolBar::SetHotImageList(HIMAGELIST hImageList)
{
    return m_hWnd
        ? reinterpret_cast<HIMAGELIST>(SendMessage(TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(hImageList)))
        : nullptr;
}

HIMAGELIST COXCoolToolBar::GetHotImageList() const
{
    return m_hWnd ? reinterpret_cast<HIMAGELIST>(SendMessage(TB_GETHOTIMAGELIST, 0, 0)) : nullptr;
}

HIMAGELIST COXCoolToolBar::SetDisabledImageList(HIMAGELIST hImageList)
{
    return m_hWnd ? reinterpret_cast<HIMAGELIST>(
                        SendMessage(TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(hImageList)))
                  : nullptr;
}

HIMAGELIST COXCoolToolBar::GetDisabledImageList() const
{
    return m_hWnd ? reinterpret_cast<HIMAGELIST>(SendMessage(TB_GETDISABLEDIMAGELIST, 0, 0)) : nullptr;
}

void COXCoolToolBar::LoadImage(int iBitmapID, HINSTANCE hInst)
{
    if (m_hWnd)
        SendMessage(TB_LOADIMAGES, static_cast<WPARAM>(iBitmapID), reinterpret_cast<LPARAM>(hInst));
}

int COXCoolToolBar::HitTest(POINT* pPoint) const
{
    return m_hWnd && pPoint ? static_cast<int>(SendMessage(TB_HITTEST, 0, reinterpret_cast<LPARAM>(pPoint))) : -1;
}

BOOL COXCoolToolBar::MarkButton(int nID, BOOL bMark)
{
    return m_hWnd ? static_cast<BOOL>(SendMessage(TB_MARKBUTTON, static_cast<WPARAM>(nID), MAKELPARAM(bMark, 0)))
                  : FALSE;
}

BOOL COXCoolToolBar::IsButtonHighlighted(int nID) const
{
    return m_hWnd ? static_cast<BOOL>(SendMessage(TB_ISBUTTONHIGHLIGHTED, static_cast<WPARAM>(nID), 0)) : FALSE;
}

BOOL COXCoolToolBar::GetAnchorHighlight() const
{
    return m_hWnd ? static_cast<BOOL>(SendMessage(TB_GETANCHORHIGHLIGHT, 0, 0)) : FALSE;
}

BOOL COXCoolToolBar::SetAnchorHighlight(BOOL bAnchor)
{
    return m_hWnd ? static_cast<BOOL>(SendMessage(TB_SETANCHORHIGHLIGHT, static_cast<WPARAM>(bAnchor), 0)) : FALSE;
}

void COXCoolToolBar::GetInsertMark(TBINSERTMARK* pMark) const
{
    if (m_hWnd && pMark)
        SendMessage(TB_GETINSERTMARK, 0, reinterpret_cast<LPARAM>(pMark));
}

void COXCoolToolBar::SetInsertMark(TBINSERTMARK* pMark)
{
    if (m_hWnd && pMark)
        SendMessage(TB_SETINSERTMARK, 0, reinterpret_cast<LPARAM>(pMark));
}

void COXCoolToolBar::SetInsertMark(int iButton, DWORD dwFlags)
{
    TBINSERTMARK mark{iButton, dwFlags};
    SetInsertMark(&mark);
}

BOOL COXCoolToolBar::MoveButton(UINT nOldPos, UINT nNewPos)
{
    if (!m_hWnd || !SendMessage(TB_MOVEBUTTON, nOldPos, nNewPos))
        return FALSE;
    if (IsCustomButton(static_cast<int>(nNewPos)))
        RedrawToolBar(FALSE, TRUE);
    return TRUE;
}

// ---- images --------------------------------------------------------------------------------------------------------

HBITMAP COXCoolToolBar::AddBitmap(LPTSTR lpszResourceName)
{
    if (!lpszResourceName)
        return nullptr;
    const bool byId = IS_INTRESOURCE(lpszResourceName);
    const UINT nID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpszResourceName) & 0xFFFF);
    if (byId) {
        if (const auto it = m_mapBitmaps.find(nID); it != m_mapBitmaps.end())
            return it->second;
    } else if (const auto it = m_mapNamedBitmaps.find(lpszResourceName); it != m_mapNamedBitmaps.end()) {
        return it->second;
    }
    const HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_BITMAP);
    const HBITMAP hBitmap = ::LoadBitmapW(hInst, lpszResourceName);
    if (!hBitmap)
        return nullptr;
    if (byId)
        m_mapBitmaps[nID] = hBitmap;
    else
        m_mapNamedBitmaps[lpszResourceName] = hBitmap;
    return hBitmap;
}

HBITMAP COXCoolToolBar::AddBitmap(UINT nID) { return AddBitmap(MAKEINTRESOURCEW(nID)); }

HIMAGELIST COXCoolToolBar::AddImageList(LPTSTR lpszResourceName, int cx, int cGrow, COLORREF crMask, UINT uType,
    UINT uFlags)
{
    if (!lpszResourceName)
        return nullptr;
    const std::wstring key = ResourceKey(lpszResourceName);
    if (const auto it = m_mapImageLists.find(key); it != m_mapImageLists.end())
        return it->second;
    const HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_BITMAP);
    const HIMAGELIST hList = ::ImageList_LoadImageW(hInst, lpszResourceName, cx, cGrow, crMask, uType, uFlags);
    if (!hList)
        return nullptr;
    m_mapImageLists[key] = hList;
    return hList;
}

HIMAGELIST COXCoolToolBar::AddImageList(LPTSTR lpszResourceName, int cx, COLORREF crMask, UINT flags, int cInitial,
    int cGrow)
{
    if (!lpszResourceName)
        return nullptr;
    const std::wstring key = ResourceKey(lpszResourceName);
    if (const auto it = m_mapImageLists.find(key); it != m_mapImageLists.end())
        return it->second;
    const HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_BITMAP);
    const HBITMAP hBitmap = ::LoadBitmapW(hInst, lpszResourceName);
    if (!hBitmap)
        return nullptr;
    BITMAP bm{};
    HIMAGELIST hList = nullptr;
    if (::GetObjectW(hBitmap, sizeof bm, &bm) && cx > 0)
        hList = ::ImageList_Create(cx, bm.bmHeight, flags, cInitial, cGrow);
    if (hList && ::ImageList_AddMasked(hList, hBitmap, crMask) == -1) {
        ::ImageList_Destroy(hList);
        hList = nullptr;
    }
    // The list holds copies of the images: the bitmap itself is not kept.
    ::DeleteObject(hBitmap);
    if (!hList)
        return nullptr;
    m_mapImageLists[key] = hList;
    return hList;
}

// ---- texts ------------------------------------------------------------------------------------------------------------

void COXCoolToolBar::SetButtonTextFromID(UINT nFirstID, UINT nLastID, TextTypeFromID type)
{
    m_ttID = type;
    if (type == TTID_NONE || !m_hWnd)
        return;
    HMENU hMenu = nullptr;
    if (type == TTID_MENU) {
        CWnd* pMain = AfxGetMainWnd();
        if (pMain && pMain->m_hWnd)
            hMenu = ::GetMenu(pMain->m_hWnd);
    }
    const int nCount = static_cast<int>(DefWindowProc(TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < nCount; ++i) {
        TBBUTTON button;
        if (!_GetButton(i, &button) || (button.fsStyle & TBSTYLE_SEP))
            continue;   // separators show no text
        const auto nID = static_cast<UINT>(button.idCommand);
        if (nID < nFirstID || nID > nLastID)
            continue;
        if (type > TTID_NOTEXT) {
            type = TTID_NOTEXT;
            m_ttID = type;
        }
        CString text;
        switch (type) {
        case TTID_PLAIN:
        case TTID_TOOLTIP: {
            CString full;
            if (!full.LoadString(nID))
                continue;   // no text source: the button keeps its own text
            text = StringPart(full, type == TTID_PLAIN ? 0 : 1);
            break;
        }
        case TTID_MENU: {
            MENUITEMINFOW mii{};
            mii.cbSize = sizeof mii;
            mii.fMask = MIIM_STRING;
            if (!hMenu || !::GetMenuItemInfoW(hMenu, nID, FALSE, &mii))
                continue;
            std::vector<wchar_t> buffer(mii.cch + 1u, L'\0');
            mii.dwTypeData = buffer.data();
            mii.cch = static_cast<UINT>(buffer.size());
            if (!::GetMenuItemInfoW(hMenu, nID, FALSE, &mii))
                continue;
            text = buffer.data();
            const int tab = text.Find(L'\t');
            if (tab >= 0)
                text = text.Left(tab);
            break;
        }
        default:
            break;   // empty texts
        }
        if (GetButtonText(i) != text)
            SetButtonText(i, text);
    }
}

BOOL COXCoolToolBar::SetButtonText(int nIndex, LPCTSTR lpszText)
{
    if (!m_hWnd || !lpszText || nIndex < 0 || nIndex >= static_cast<int>(DefWindowProc(TB_BUTTONCOUNT, 0, 0))) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // The control keeps the text with the button: nothing joins its string pool.
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_TEXT | TBIF_BYINDEX;
    info.pszText = const_cast<LPWSTR>(lpszText);
    if (!DefWindowProc(TB_SETBUTTONINFOW, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&info)))
        return FALSE;
    SyncSizes();
    m_bDelayedButtonLayout = TRUE;
    return TRUE;
}

CString COXCoolToolBar::GetRecentButtonText(UINT nID) const
{
    const auto it = m_mapRecentButtonTexts.find(nID);
    return it == m_mapRecentButtonTexts.end() ? CString() : it->second;
}

CString COXCoolToolBar::GetButtonTooltip(int nIndex) const
{
    const UINT nID = GetItemID(nIndex);
    if (nID == 0)
        return CString();
    CString loaded;
    if (!loaded.LoadString(nID))
        return CString();
    // At most 256 characters of the string are looked at.
    const CString full = loaded.Left(256);
    // The second of the newline-separated parts.
    const int first = full.Find(L'\n');
    if (first < 0)
        return CString();
    const int second = full.Find(L'\n', first + 1);
    return second < 0 ? full.Mid(first + 1) : full.Mid(first + 1, second - first - 1);
}

// ---- redrawing ---------------------------------------------------------------------------------------------------

void COXCoolToolBar::RedrawToolBar(BOOL bRecalcLayout, BOOL bOnlyFrame)
{
    if (m_bNoInternalRedraw || !m_hWnd)
        return;
    UpdateCustomButtons(0, -1);
    if (!IsWindowVisible())
        return;
    if (bRecalcLayout) {
        m_bDelayedButtonLayout = TRUE;
        if (CFrameWnd* pFrame = GetDockingFrame()) {
            m_bInFrameLayout = TRUE;
            pFrame->RecalcLayout(TRUE);
            m_bInFrameLayout = FALSE;
            if (!m_hWnd)
                return;
            const int nCount = static_cast<int>(DefWindowProc(TB_BUTTONCOUNT, 0, 0));
            for (int i = 0; i < nCount; ++i) {
                RedrawButton(i);
                CRect rect;
                GetItemRect(i, &rect);
                ValidateRect(&rect);
            }
        }
    } else if (!bOnlyFrame) {
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    }
    if (bOnlyFrame)
        SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void COXCoolToolBar::RedrawButton(int nIndex)
{
    if (!m_hWnd || nIndex < 0 || nIndex >= static_cast<int>(DefWindowProc(TB_BUTTONCOUNT, 0, 0)))
        return;
    CRect rect;
    GetItemRect(nIndex, &rect);
    RedrawWindow(&rect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    if (CWnd* pWnd = GetCustomButtonWnd(nIndex); pWnd && ::IsWindow(pWnd->m_hWnd))
        pWnd->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

COXToolbarSkin* COXCoolToolBar::GetToolbarSkin()
{
    if (COXSkin* pSkin = OXGetCurrentSkin()) {
        if (COXToolbarSkin* pToolbarSkin = pSkin->GetToolbarSkin())
            return pToolbarSkin;
    }
    if (!m_pFallbackSkin)
        m_pFallbackSkin = std::make_unique<COXToolbarSkinClassic>();
    return m_pFallbackSkin.get();
}

// ---- the idle pass and command updates ---------------------------------------------------------------------

LRESULT COXCoolToolBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam)
{
    if (IsWindowVisible()) {
        const DWORD work = m_dwDelayedWork;
        m_dwDelayedWork = 0;
        if (work & kDelayRedraw)
            RedrawToolBar(TRUE, TRUE);
        if ((work & kDelayUpdateCustomButtons) && m_hWnd)
            UpdateCustomButtons(0, -1);
    }
    if (!m_hWnd)
        return 0;
    return CControlBar::OnIdleUpdateCmdUI(wParam, lParam);
}

void COXCoolToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    COXCoolToolBarCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(DefWindowProc(TB_BUTTONCOUNT, 0, 0));
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        TBBUTTON button{};
        if (!DefWindowProc(TB_GETBUTTON, state.m_nIndex, reinterpret_cast<LPARAM>(&button)))
            continue;
        if ((button.fsStyle & TBSTYLE_SEP) && !IsCustomButton(static_cast<int>(state.m_nIndex)))
            continue;
        state.m_nID = static_cast<UINT>(button.idCommand);
        if (CWnd::OnCmdMsg(state.m_nID, CN_UPDATE_COMMAND_UI, &state, nullptr))
            continue;
        state.DoUpdate(pTarget, bDisableIfNoHndler);
        // A handler may have removed buttons, or the bar.
        if (!m_hWnd)
            return;
        state.m_nIndexMax = std::min(state.m_nIndexMax, static_cast<UINT>(DefWindowProc(TB_BUTTONCOUNT, 0, 0)));
    }
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

// ---- standard customisation and the control's notices -----------------------------------------------

BOOL COXCoolToolBar::OnTBNGetButtonInfo(NMHDR* pNMHDR, LRESULT* pResult)
{
    auto* pInfo = reinterpret_cast<NMTOOLBARW*>(pNMHDR);
    const int i = pInfo->iItem;
    if (i < 0 || i >= m_nBitmapIdCount || !m_pBitmapIds) {
        *pResult = FALSE;
        return TRUE;
    }
    const UINT nID = m_pBitmapIds[i];
    pInfo->tbButton.iBitmap = i;
    pInfo->tbButton.idCommand = static_cast<int>(nID);
    pInfo->tbButton.fsState = TBSTATE_ENABLED;
    pInfo->tbButton.fsStyle = 0;
    pInfo->tbButton.dwData = 0;
    pInfo->tbButton.iString = -1;
    if (pInfo->pszText && pInfo->cchText > 0) {
        CString full;
        CString text = L"???";
        if (full.LoadString(nID) && full.Find(L'\n') >= 0)
            text = StringPart(full, 1);
        const int n = std::min(text.GetLength(), pInfo->cchText - 1);
        wmemcpy(pInfo->pszText, static_cast<LPCWSTR>(text), static_cast<size_t>(n));
        pInfo->pszText[n] = L'\0';
    }
    *pResult = TRUE;
    return TRUE;
}

BOOL COXCoolToolBar::OnTBNQueryInsert(NMHDR*, LRESULT* pResult)
{
    *pResult = TRUE;
    return TRUE;
}

BOOL COXCoolToolBar::OnTBNQueryDelete(NMHDR*, LRESULT* pResult)
{
    *pResult = TRUE;
    return TRUE;
}

BOOL COXCoolToolBar::OnTBNBeginDrag(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    return FALSE;
}

BOOL COXCoolToolBar::OnTBNEndDrag(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    return FALSE;
}

BOOL COXCoolToolBar::OnTBNToolBarChange(NMHDR*, LRESULT*)
{
    SetButtonTextFromID(0, 65535, m_ttID);
    return FALSE;
}

BOOL COXCoolToolBar::OnDropDownButton(NMHDR* pNMHDR, LRESULT*)
{
    const auto* pInfo = reinterpret_cast<const NMTOOLBARW*>(pNMHDR);
    m_nDroppedButton = pInfo->iItem;
    m_nLastDropDownCommand = pInfo->iItem;
    return FALSE;
}

BOOL COXCoolToolBar::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult)
{
    GetToolbarSkin()->OnCustomDraw(pNMHDR, pResult, this);
    return TRUE;
}
