// COXSizeToolBar: the hosted toolbar control, its buttons and bitmap, tips, prompts,
// customisation answers and the idle update of its buttons (COXToolCmdUI).
#include "toolkit/docking/size_tool_bar.h"

#include <algorithm>
#include <cwchar>

#include "platform/afx/afxpriv.h"
#include "platform/afx/frame.h"
#include "platform/afx/winthread.h"
#include "platform/base/cstring.h"
#include "platform/comctl/tooltip.h"
#include "platform/user/messages.h"
#include "platform/user/winpos.h"

IMPLEMENT_DYNAMIC(COXToolBarCtrl, CToolBarCtrl)
IMPLEMENT_DYNAMIC(COXSizeToolBar, COXSizeControlBar)

BEGIN_MESSAGE_MAP(COXToolBarCtrl, CToolBarCtrl)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(COXSizeToolBar, COXSizeControlBar)
    ON_WM_CREATE()
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, &COXSizeToolBar::OnToolTipText)
    ON_NOTIFY(TBN_QUERYINSERT, COXSizeToolBar::kToolBarCtrlID, &COXSizeToolBar::OnQueryInsert)
    ON_NOTIFY(TBN_QUERYDELETE, COXSizeToolBar::kToolBarCtrlID, &COXSizeToolBar::OnQueryDelete)
    ON_NOTIFY(TBN_BEGINADJUST, COXSizeToolBar::kToolBarCtrlID, &COXSizeToolBar::OnBeginAdjust)
    ON_NOTIFY(TBN_TOOLBARCHANGE, COXSizeToolBar::kToolBarCtrlID, &COXSizeToolBar::OnToolBarChange)
    ON_NOTIFY(TBN_GETBUTTONINFOW, COXSizeToolBar::kToolBarCtrlID, &COXSizeToolBar::OnGetButtonInfo)
END_MESSAGE_MAP()

namespace {

// Images 16 x 15 by default; a bar without a rectangle is 12 images wide and an image
// plus 18 high.
constexpr CSize kDefaultImage(16, 15);
constexpr int kDefaultImagesAcross = 12, kDefaultExtraHeight = 18;

// The part of a command's string after its first "\n" (the tip), or nothing.
bool TipOfCommand(UINT nID, CString& tip, bool& loaded)
{
    CString text;
    loaded = nID != 0 && text.LoadString(nID) && !text.IsEmpty();
    if (!loaded)
        return false;
    const int at = text.Find(L'\n');
    if (at < 0)
        return false;
    tip = text.Mid(at + 1);
    return true;
}

// Copies at most cchMax − 1 characters and always ends the text.
void CopyBounded(LPWSTR dst, int cchMax, const CString& src)
{
    if (!dst || cchMax <= 0)
        return;
    const int n = std::min(src.GetLength(), cchMax - 1);
    std::wmemcpy(dst, src.GetString(), static_cast<size_t>(n));
    dst[n] = L'\0';
}

} // namespace

// ---- COXToolBarCtrl -------------------------------------------------------------------------------------------

void COXToolBarCtrl::GetBoundingSize(CSize& size) const
{
    size = CSize(0, 0);
    const int n = GetButtonCount();
    for (int i = 0; i < n; ++i) {
        CRect r;
        if (GetItemRect(i, &r)) {
            size.cx = std::max(size.cx, r.right);
            size.cy = std::max(size.cy, r.bottom);
        }
    }
}

int COXToolBarCtrl::HitTestButtons(CPoint point) const
{
    for (int i = GetButtonCount() - 1; i >= 0; --i) {
        CRect r;
        if (!GetItemRect(i, &r))
            continue;
        if (point.y > r.bottom)
            return -1;
        if (r.PtInRect(point)) {
            TBBUTTON button{};
            if (GetButton(i, &button) && (button.fsStyle & TBSTYLE_SEP))
                return -1;
            return i;
        }
    }
    return -1;
}

void COXToolBarCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    // Empty toolbar space is the bar's: the press goes to it (and may drag it).
    if (HitTestButtons(point) == -1) {
        if (CWnd* pParent = GetParent()) {
            CPoint pt = point;
            ClientToScreen(&pt);
            pParent->ScreenToClient(&pt);
            pParent->SendMessage(WM_LBUTTONDOWN, nFlags, MAKELPARAM(pt.x, pt.y));
            return;
        }
    }
    Default();
}

// ---- COXToolCmdUI ---------------------------------------------------------------------------------------------

CToolBarCtrl* COXToolCmdUI::Control() const
{
    auto* pBar = dynamic_cast<COXSizeToolBar*>(m_pOther);
    return pBar && pBar->m_ToolCtrl.m_hWnd ? &pBar->m_ToolCtrl : nullptr;
}

void COXToolCmdUI::UpdateState(UINT nClear, UINT nSet)
{
    CToolBarCtrl* pCtrl = Control();
    TBBUTTON button{};
    if (!pCtrl || !pCtrl->GetButton(static_cast<int>(m_nIndex), &button))
        return;
    const UINT nOld = button.fsState;
    const UINT nNew = (nOld & ~nClear) | nSet;
    if (nNew != nOld)
        pCtrl->SetState(button.idCommand, nNew);
}

void COXToolCmdUI::Enable(BOOL bOn)
{
    m_bEnableChanged = TRUE;
    UpdateState(TBSTATE_ENABLED, bOn ? TBSTATE_ENABLED : 0);
}

void COXToolCmdUI::SetCheck(int nCheck)
{
    const UINT nSet = nCheck == 1 ? TBSTATE_CHECKED : nCheck == 2 ? TBSTATE_INDETERMINATE : 0;
    UpdateState(TBSTATE_CHECKED | TBSTATE_INDETERMINATE, nSet);
}

void COXToolCmdUI::SetText(LPCTSTR) {}

// ---- COXSizeToolBar -------------------------------------------------------------------------------------------

COXSizeToolBar::COXSizeToolBar(int nStyle) : COXSizeControlBar(nStyle) {}

COXSizeToolBar::~COXSizeToolBar()
{
    // The control draws from the bitmaps: it goes first.
    if (m_hWnd)
        DestroyWindow();
}

BOOL COXSizeToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPRECT pRect)
{
    m_sizeImage = kDefaultImage;
    CRect rect(0, 0, kDefaultImagesAcross * m_sizeImage.cx, m_sizeImage.cy + kDefaultExtraHeight);
    if (pRect)
        rect = *pRect;
    return COXSizeControlBar::Create(pParentWnd, nullptr, nID, dwStyle, rect);
}

int COXSizeToolBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (COXSizeControlBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    CRect client;
    GetClientRect(&client);
    DWORD dwStyle = WS_CHILD | WS_VISIBLE | TBSTYLE_WRAPABLE | TBSTYLE_TOOLTIPS | CCS_NODIVIDER |
                    CCS_NOPARENTALIGN | CCS_NORESIZE;
    if (!m_arrBitmapIds.empty())
        dwStyle |= CCS_ADJUSTABLE;
    return m_ToolCtrl.Create(dwStyle, client, this, kToolBarCtrlID) ? 0 : -1;
}

BOOL COXSizeToolBar::LoadBitmap(UINT nIDResource)
{
    return LoadBitmap(MAKEINTRESOURCEW(static_cast<WORD>(nIDResource)));
}

BOOL COXSizeToolBar::LoadBitmap(LPCTSTR lpszResourceName)
{
    auto loaded = std::make_unique<CBitmap>();
    BITMAP info{};
    // No images can be counted without an image width.
    if (m_sizeImage.cx <= 0 || !m_ToolCtrl.m_hWnd || !loaded->LoadBitmap(lpszResourceName) ||
        !loaded->GetBitmap(&info))
        return FALSE;
    const int nImages = info.bmWidth / m_sizeImage.cx;
    if (m_ToolCtrl.AddBitmap(nImages, loaded.get()) == -1)
        return FALSE;
    // The control may still draw from the bitmap it had: that one is kept too.
    if (m_Bitmap.m_hObject) {
        auto previous = std::make_unique<CBitmap>();
        previous->Attach(m_Bitmap.Detach());
        m_oldBitmaps.push_back(std::move(previous));
    }
    m_Bitmap.Attach(loaded->Detach());
    return TRUE;
}

void COXSizeToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage)
{
    if (!m_ToolCtrl.m_hWnd)
        return;
    m_ToolCtrl.SetButtonSize(CSize(sizeButton));
    // The field counts a later bitmap's images: it holds the image size, not the button's.
    if (m_ToolCtrl.SetBitmapSize(CSize(sizeImage)))
        m_sizeImage = sizeImage;
}

void COXSizeToolBar::SetBitmapIds(const UINT* pIDs, int nCount)
{
    m_arrBitmapIds.clear();
    if (pIDs && nCount > 0)
        m_arrBitmapIds.assign(pIDs, pIDs + nCount);
    // Customising offers the images' commands: with them the control is adjustable.
    if (m_ToolCtrl.m_hWnd) {
        const bool bAdjustable = !m_arrBitmapIds.empty();
        m_ToolCtrl.ModifyStyle(bAdjustable ? 0 : CCS_ADJUSTABLE, bAdjustable ? CCS_ADJUSTABLE : 0);
    }
}

int COXSizeToolBar::FindBitmapIndex(UINT nID) const
{
    const auto it = std::find(m_arrBitmapIds.begin(), m_arrBitmapIds.end(), nID);
    return it == m_arrBitmapIds.end() ? -1 : static_cast<int>(it - m_arrBitmapIds.begin());
}

BOOL COXSizeToolBar::SetButtons(const UINT* lpIDArray, int nIDCount)
{
    if (!lpIDArray || nIDCount <= 0 || !m_ToolCtrl.m_hWnd)
        return FALSE;
    std::vector<TBBUTTON> buttons;
    buttons.reserve(static_cast<size_t>(nIDCount));
    int nImage = 0;
    for (int i = 0; i < nIDCount; ++i) {
        TBBUTTON b{};
        if (lpIDArray[i] == 0) {
            b.fsStyle = TBSTYLE_SEP;
        } else {
            int iBitmap = nImage;
            if (!m_arrBitmapIds.empty()) {
                iBitmap = FindBitmapIndex(lpIDArray[i]);
                if (iBitmap < 0)
                    continue;   // a command without an image gets no button
            }
            b.iBitmap = iBitmap;
            b.idCommand = static_cast<int>(lpIDArray[i]);
            b.fsState = TBSTATE_ENABLED;
            ++nImage;
        }
        buttons.push_back(b);
    }
    if (buttons.empty())
        return FALSE;
    const BOOL bAdded = m_ToolCtrl.AddButtons(static_cast<int>(buttons.size()), buttons.data());
    if (bAdded) {
        for (int i = 0; i < m_ToolCtrl.GetButtonCount(); ++i) {
            TBBUTTON b{};
            CRect r;
            if (m_ToolCtrl.GetButton(i, &b) && !(b.fsStyle & TBSTYLE_SEP) && m_ToolCtrl.GetItemRect(i, &r)) {
                m_sizeVertDock.cx = r.Width() + 10;
                break;
            }
        }
    }
    return bAdded;
}

void COXSizeToolBar::OnSizedOrDocked(int cx, int cy, BOOL bFloating, int flags)
{
    COXSizeControlBar::OnSizedOrDocked(cx, cy, bFloating, flags);
    if (!m_ToolCtrl.m_hWnd)
        return;
    // (1, 1, cx, cy) less 4 across and 2 down; a bar smaller than that leaves no room.
    m_ToolCtrl.SetWindowPos(nullptr, 5, 3, std::max(0, cx - 9), std::max(0, cy - 5), SWP_NOZORDER | SWP_NOACTIVATE);
    m_ToolCtrl.Invalidate();
    m_ToolCtrl.UpdateWindow();
    m_ToolCtrl.AutoSize();
}

void COXSizeToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    COXSizeControlBar::OnUpdateCmdUI(pTarget, bDisableIfNoHndler);
    if (m_ToolCtrl.m_hWnd) {
        COXToolCmdUI state;
        state.m_pOther = this;
        state.m_nIndexMax = static_cast<UINT>(m_ToolCtrl.GetButtonCount());
        for (UINT i = 0; i < state.m_nIndexMax; ++i) {
            TBBUTTON b{};
            if (!m_ToolCtrl.GetButton(static_cast<int>(i), &b) || (b.fsStyle & TBSTYLE_SEP))
                continue;
            state.m_nIndex = i;
            state.m_nID = static_cast<UINT>(b.idCommand);
            state.DoUpdate(pTarget, bDisableIfNoHndler);
        }
    }
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

BOOL COXSizeToolBar::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult)
{
    auto* pTTT = reinterpret_cast<NMTTDISPINFOW*>(pNMHDR);
    pTTT->hinst = nullptr;
    pTTT->lpszText = nullptr;
    const UINT nID = static_cast<UINT>(pNMHDR->idFrom);
    CString tip;
    bool loaded = false;
    if (TipOfCommand(nID, tip, loaded)) {
        // szText holds 80 characters with its end: a longer tip is cut to 79.
        CopyBounded(pTTT->szText, static_cast<int>(std::size(pTTT->szText)), tip);
        pTTT->lpszText = pTTT->szText;
        if (HWND hTip = reinterpret_cast<HWND>(m_ToolCtrl.SendMessage(TB_GETTOOLTIPS)))
            ::SetWindowPos(hTip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    if (loaded) {
        if (CWnd* pMain = AfxGetMainWnd())
            pMain->SendMessage(WM_SETMESSAGESTRING, nID);
    }
    if (pResult)
        *pResult = 0;
    return TRUE;
}

void COXSizeToolBar::OnQueryInsert(NMHDR*, LRESULT* pResult) { *pResult = TRUE; }

void COXSizeToolBar::OnQueryDelete(NMHDR*, LRESULT* pResult) { *pResult = TRUE; }

void COXSizeToolBar::OnBeginAdjust(NMHDR*, LRESULT* pResult) { *pResult = 0; }

void COXSizeToolBar::OnToolBarChange(NMHDR*, LRESULT* pResult) { *pResult = 0; }

void COXSizeToolBar::OnGetButtonInfo(NMHDR* pNMHDR, LRESULT* pResult)
{
    auto* pTB = reinterpret_cast<NMTOOLBARW*>(pNMHDR);
    if (pTB->iItem < 0 || static_cast<size_t>(pTB->iItem) >= m_arrBitmapIds.size()) {
        *pResult = FALSE;
        return;
    }
    const UINT nID = m_arrBitmapIds[static_cast<size_t>(pTB->iItem)];
    pTB->tbButton = TBBUTTON{};
    pTB->tbButton.iBitmap = pTB->iItem;
    pTB->tbButton.idCommand = static_cast<int>(nID);
    pTB->tbButton.fsState = TBSTATE_ENABLED;
    if (pTB->pszText && pTB->cchText > 0) {
        CString tip;
        bool loaded = false;
        CopyBounded(pTB->pszText, pTB->cchText, TipOfCommand(nID, tip, loaded) ? tip : CString(L"???"));
    }
    *pResult = TRUE;
}
