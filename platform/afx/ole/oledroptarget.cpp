// COleDropTarget.
#include "platform/afx/ole/oledroptarget.h"

#include "platform/afx/ole/oledataobject.h"
#include "platform/afx/scrollview.h"
#include "platform/afx/view.h"
#include "platform/afx/wnd.h"
#include "platform/base/clock.h"
#include "platform/user/winuser.h"

IMPLEMENT_DYNAMIC(COleDropTarget, CCmdTarget)

int COleDropTarget::nScrollInset = DD_DEFSCROLLINSET;
UINT COleDropTarget::nScrollDelay = DD_DEFSCROLLDELAY;
UINT COleDropTarget::nScrollInterval = DD_DEFSCROLLINTERVAL;

namespace zyn::ole {
namespace {

constexpr DROPEFFECT kRealEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;

// A window object's drop target is revoked when its window goes.
struct InstallRevoker {
    InstallRevoker()
    {
        zyn::afx::SetDropTargetRevoker([](COleDropTarget* target) { target->Revoke(); });
    }
} g_installRevoker;

bool SingleEffect(DROPEFFECT e) { return e && !(e & (e - 1)); }

// Whether a window can scroll one way: its scroll information when it has some (a page of
// at least 1 and a range reaching it), else its style.
bool CanScroll(HWND hwnd, int bar, DWORD styleBit)
{
    const bool styled = (GetWindowLongW(hwnd, GWL_STYLE) & styleBit) != 0;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    if (!GetScrollInfo(hwnd, bar, &si))
        return styled;
    return si.nPage >= 1 && si.nMax >= static_cast<int>(si.nPage) && (styled ? si.nMax != 0 : si.nMax > 0);
}

} // namespace

DROPEFFECT DefaultDropEffect(DROPEFFECT lastAnswer, DROPEFFECT allowed, DWORD keyState)
{
    const DROPEFFECT e = lastAnswer & allowed & kRealEffects;
    if (!e || SingleEffect(e))
        return e;
    const bool ctrl = (keyState & MK_CONTROL) != 0, shift = (keyState & MK_SHIFT) != 0;
    if (ctrl && shift && (e & DROPEFFECT_LINK))
        return DROPEFFECT_LINK;
    if (ctrl && !shift && (e & DROPEFFECT_COPY))
        return DROPEFFECT_COPY;
    if ((shift || (keyState & MK_ALT)) && !ctrl && (e & DROPEFFECT_MOVE))
        return DROPEFFECT_MOVE;
    for (DROPEFFECT pick : {DROPEFFECT_MOVE, DROPEFFECT_COPY, DROPEFFECT_LINK})
        if (e & pick)
            return pick;
    return DROPEFFECT_NONE;
}

} // namespace zyn::ole

COleDropTarget::COleDropTarget() { zyn::ole::EnsureDragSettings(); }

COleDropTarget::~COleDropTarget() { Revoke(); }

BOOL COleDropTarget::Register(CWnd* pWnd)
{
    // One object serves one window: a second Register would leave the first window's
    // registration pointing at an object that no longer knows it.
    if (m_hWnd || !pWnd || !::IsWindow(pWnd->m_hWnd))
        return FALSE;
    if (FAILED(RegisterDragDrop(pWnd->m_hWnd, &m_xDropTarget)))
        return FALSE;
    m_hWnd = pWnd->m_hWnd;
    pWnd->m_pDropTarget = this;
    return TRUE;
}

void COleDropTarget::Revoke()
{
    ReleaseDataObject();
    ResetScrollState();
    if (!m_hWnd)
        return;
    RevokeDragDrop(m_hWnd);
    if (CWnd* p = CWnd::FromHandlePermanent(m_hWnd); p && p->m_pDropTarget == this)
        p->m_pDropTarget = nullptr;
    m_hWnd = nullptr;
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }
DROPEFFECT COleDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }
BOOL COleDropTarget::OnDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint) { return FALSE; }
DROPEFFECT COleDropTarget::OnDropEx(CWnd*, COleDataObject*, DROPEFFECT, DROPEFFECT, CPoint)
{
    return static_cast<DROPEFFECT>(-1);
}
void COleDropTarget::OnDragLeave(CWnd*) {}

DROPEFFECT COleDropTarget::OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point)
{
    // Only views scroll by default.
    auto* pView = DYNAMIC_DOWNCAST(CView, pWnd);
    if (!pView || !pView->m_hWnd)
        return DROPEFFECT_NONE;
    const HWND hwnd = pView->m_hWnd;
    CRect rect;
    ::GetClientRect(hwnd, &rect);
    CRect inner = rect;
    inner.InflateRect(-nScrollInset, -nScrollInset);
    UINT code = 0xFFFF; // high byte horizontal, low byte vertical
    if (rect.PtInRect(point) && !inner.PtInRect(point)) {
        if (zyn::ole::CanScroll(hwnd, SB_HORZ, WS_HSCROLL)) {
            if (point.x < inner.left)
                code = (code & 0x00FF) | (SB_LINELEFT << 8);
            else if (point.x >= inner.right)
                code = (code & 0x00FF) | (SB_LINERIGHT << 8);
        }
        if (zyn::ole::CanScroll(hwnd, SB_VERT, WS_VSCROLL)) {
            if (point.y < inner.top)
                code = (code & 0xFF00) | SB_LINEUP;
            else if (point.y >= inner.bottom)
                code = (code & 0xFF00) | SB_LINEDOWN;
        }
    }
    if (code == 0xFFFF) {
        if (m_nTimerID != 0xFFFF) {
            // Out of the scroll band again: the view sees the drag enter anew.
            COleDataObject data;
            data.Attach(m_lpDataObject, FALSE);
            OnDragEnter(pWnd, &data, dwKeyState, point);
            m_nTimerID = 0xFFFF;
        }
        return DROPEFFECT_NONE;
    }
    const auto now = static_cast<DWORD>(zyn::base::Clock::NowMs());
    if (code != m_nTimerID) {
        m_dwLastTick = now;
        m_nScrollDelay = nScrollDelay;
    }
    if (now - m_dwLastTick > m_nScrollDelay) {
        const UINT h = (code >> 8) & 0xFF, v = code & 0xFF;
        if (auto* pScroll = DYNAMIC_DOWNCAST(CScrollView, pView))
            pScroll->OnScroll(MAKEWORD(static_cast<BYTE>(h), static_cast<BYTE>(v)), 0);
        else if (v == 0xFF)
            ::SendMessageW(hwnd, WM_HSCROLL, MAKEWPARAM(static_cast<WORD>(h), 0), 0);
        else
            ::SendMessageW(hwnd, WM_VSCROLL, MAKEWPARAM(static_cast<WORD>(v), 0), 0);
        m_dwLastTick = now;
        m_nScrollDelay = nScrollInterval;
    }
    if (m_nTimerID == 0xFFFF)
        OnDragLeave(pWnd); // into the scroll band: the view's own drag handling pauses
    m_nTimerID = code;
    if ((dwKeyState & MK_CONTROL) && (dwKeyState & MK_SHIFT))
        return DROPEFFECT_SCROLL | DROPEFFECT_LINK;
    if (dwKeyState & MK_CONTROL)
        return DROPEFFECT_SCROLL | DROPEFFECT_COPY;
    if (dwKeyState & (MK_ALT | MK_SHIFT))
        return DROPEFFECT_SCROLL | DROPEFFECT_MOVE;
    return DROPEFFECT_SCROLL;
}

CWnd* COleDropTarget::TargetWnd() const { return m_hWnd ? CWnd::FromHandle(m_hWnd) : nullptr; }

CPoint COleDropTarget::ClientPoint(POINTL pt) const
{
    POINT p{pt.x, pt.y};
    if (m_hWnd)
        ::ScreenToClient(m_hWnd, &p);
    return CPoint(p);
}

void COleDropTarget::ReleaseDataObject()
{
    if (m_lpDataObject) {
        LPDATAOBJECT p = m_lpDataObject;
        m_lpDataObject = nullptr;
        p->Release();
    }
}

// ---- the interface ----------------------------------------------------------------------------------

HRESULT COleDropTarget::XDropTarget::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
        *ppv = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}
ULONG COleDropTarget::XDropTarget::AddRef() { return m_outer->ExternalAddRef(); }
ULONG COleDropTarget::XDropTarget::Release() { return m_outer->ExternalRelease(); }

HRESULT COleDropTarget::XDropTarget::DragEnter(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect)
{
    if (!pdwEffect)
        return E_INVALIDARG;
    COleDropTarget& t = *m_outer;
    CWnd* pWnd = t.TargetWnd();
    if (!pWnd || !pDataObj) {
        *pdwEffect = DROPEFFECT_NONE;
        return pWnd ? E_INVALIDARG : E_UNEXPECTED;
    }
    t.ReleaseDataObject();
    pDataObj->AddRef();
    t.m_lpDataObject = pDataObj;
    t.ResetScrollState();
    const CPoint point = t.ClientPoint(pt);
    COleDataObject data;
    data.Attach(pDataObj, FALSE);
    DROPEFFECT e = t.OnDragScroll(pWnd, grfKeyState, point);
    if (!(e & DROPEFFECT_SCROLL))
        e = t.OnDragEnter(pWnd, &data, grfKeyState, point);
    t.m_dropEffectCurrent = e;
    *pdwEffect = e;
    return S_OK;
}

HRESULT COleDropTarget::XDropTarget::DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect)
{
    if (!pdwEffect)
        return E_INVALIDARG;
    COleDropTarget& t = *m_outer;
    CWnd* pWnd = t.TargetWnd();
    if (!pWnd || !t.m_lpDataObject) {
        *pdwEffect = DROPEFFECT_NONE; // no DragEnter came first
        return S_OK;
    }
    const CPoint point = t.ClientPoint(pt);
    COleDataObject data;
    data.Attach(t.m_lpDataObject, FALSE);
    DROPEFFECT e = t.OnDragScroll(pWnd, grfKeyState, point);
    if (!(e & DROPEFFECT_SCROLL))
        e = t.OnDragOver(pWnd, &data, grfKeyState, point);
    t.m_dropEffectCurrent = e;
    *pdwEffect = e;
    return S_OK;
}

HRESULT COleDropTarget::XDropTarget::DragLeave()
{
    COleDropTarget& t = *m_outer;
    if (CWnd* pWnd = t.TargetWnd())
        t.OnDragLeave(pWnd);
    t.ResetScrollState();
    t.ReleaseDataObject();
    t.m_dropEffectCurrent = DROPEFFECT_NONE;
    return S_OK;
}

HRESULT COleDropTarget::XDropTarget::Drop(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect)
{
    if (!pdwEffect)
        return E_INVALIDARG;
    COleDropTarget& t = *m_outer;
    const DROPEFFECT allowed = *pdwEffect;
    *pdwEffect = DROPEFFECT_NONE;
    t.ResetScrollState();
    CWnd* pWnd = t.TargetWnd();
    IDataObject* data = pDataObj ? pDataObj : t.m_lpDataObject;
    if (!pWnd || !data) {
        t.ReleaseDataObject();
        return E_UNEXPECTED;
    }
    const CPoint point = t.ClientPoint(pt);
    const DROPEFFECT dropDefault = zyn::ole::DefaultDropEffect(t.m_dropEffectCurrent, allowed, grfKeyState);
    COleDataObject dataObject;
    dataObject.Attach(data, FALSE);
    DROPEFFECT e = t.OnDropEx(pWnd, &dataObject, dropDefault, allowed, point);
    if (e == static_cast<DROPEFFECT>(-1))
        e = t.OnDrop(pWnd, &dataObject, dropDefault, point) ? dropDefault : DROPEFFECT_NONE;
    dataObject.Release();
    t.ReleaseDataObject();
    t.m_dropEffectCurrent = DROPEFFECT_NONE;
    *pdwEffect = e;
    return S_OK;
}
