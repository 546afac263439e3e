// COleDropSource.
#include "platform/afx/ole/oledropsource.h"

#include <mutex>

#include "platform/afx/ole/oledroptarget.h"
#include "platform/afx/wnd.h"
#include "platform/base/clock.h"
#include "platform/base/inifile.h"
#include "platform/user/modal.h"
#include "platform/user/winuser.h"

IMPLEMENT_DYNAMIC(COleDropSource, CCmdTarget)

UINT COleDropSource::nDragMinDist = DD_DEFDRAGMINDIST;
UINT COleDropSource::nDragDelay = DD_DEFDRAGDELAY;

namespace zyn::ole {
namespace {
std::once_flag g_settingsLoaded;
}

void LoadDragSettings()
{
    COleDropSource::nDragMinDist = GetProfileIntW(L"windows", L"DragMinDist", DD_DEFDRAGMINDIST);
    COleDropSource::nDragDelay = GetProfileIntW(L"windows", L"DragDelay", DD_DEFDRAGDELAY);
    COleDropTarget::nScrollInset = static_cast<int>(GetProfileIntW(L"windows", L"DragScrollInset", DD_DEFSCROLLINSET));
    COleDropTarget::nScrollDelay = GetProfileIntW(L"windows", L"DragScrollDelay", DD_DEFSCROLLDELAY);
    COleDropTarget::nScrollInterval = GetProfileIntW(L"windows", L"DragScrollInterval", DD_DEFSCROLLINTERVAL);
}

// The settings are read lazily, not at load time: a host (or a test) points the Windows
// directory somewhere before the first drag object exists.
void EnsureDragSettings() { std::call_once(g_settingsLoaded, [] { LoadDragSettings(); }); }

} // namespace zyn::ole

COleDropSource::COleDropSource() { zyn::ole::EnsureDragSettings(); }

COleDropSource::~COleDropSource() = default;

SCODE COleDropSource::QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState)
{
    if (bEscapePressed || (dwKeyState & m_dwButtonCancel))
        return DRAGDROP_S_CANCEL;
    if (!(dwKeyState & m_dwButtonDrop))
        return DRAGDROP_S_DROP;
    return S_OK;
}

SCODE COleDropSource::GiveFeedback(DROPEFFECT) { return DRAGDROP_S_USEDEFAULTCURSORS; }

BOOL COleDropSource::NoteDragButtons()
{
    const DWORD keys = zyn::ole::CurrentDragKeyState();
    if (keys & MK_LBUTTON) {
        m_dwButtonDrop = MK_LBUTTON;
        m_dwButtonCancel = MK_RBUTTON;
    } else if (keys & MK_RBUTTON) {
        m_dwButtonDrop = MK_RBUTTON;
        m_dwButtonCancel = MK_LBUTTON;
    } else {
        m_dwButtonDrop = m_dwButtonCancel = 0;
        return FALSE;
    }
    return TRUE;
}

BOOL COleDropSource::OnBeginDrag(CWnd* pWnd)
{
    m_bDragStarted = FALSE;
    if (!NoteDragButtons())
        return FALSE; // no button down: nothing is being dragged
    const HWND hwnd = zyn::afx::SafeHwndOf(pWnd);
    if (hwnd)
        ::SetCapture(hwnd);
    const uint64_t start = zyn::base::Clock::NowMs();
    // A thread timer wakes the loop when the delay is over, so a resting mouse starts the drag.
    const UINT_PTR timer = ::SetTimer(nullptr, 0, nDragDelay, nullptr);
    bool done = false;
    auto delayPassed = [&] { return zyn::base::Clock::NowMs() - start >= nDragDelay; };
    zyn::user::ModalLoopParams p;
    p.owner = hwnd;
    p.done = [&] { return done || (hwnd && ::GetCapture() != hwnd); };
    p.preTranslate = [&](MSG& m) {
        const UINT msg = m.message;
        if (msg == WM_MOUSEMOVE || msg == WM_NCMOUSEMOVE) {
            if (!m_rectStartDrag.PtInRect(m.pt) || delayPassed()) {
                m_bDragStarted = TRUE;
                done = true;
            }
            return true;
        }
        if ((msg >= WM_LBUTTONDOWN && msg <= WM_MBUTTONDBLCLK) || (msg >= WM_NCLBUTTONDOWN && msg <= WM_NCMBUTTONDBLCLK)) {
            // Releasing the drop button, or pressing the other one, before the drag
            // started: no drag.
            done = true;
            return true;
        }
        if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) {
            if (m.wParam == static_cast<WPARAM>(VK_ESCAPE))
                done = true;
            return true;
        }
        if (msg == WM_KEYUP || msg == WM_SYSKEYUP)
            return true;
        if (msg == WM_TIMER && !m.hwnd && m.wParam == timer) {
            if (delayPassed()) {
                m_bDragStarted = TRUE;
                done = true;
            }
            return true;
        }
        return false;
    };
    zyn::user::RunModalLoop(p);
    if (timer)
        ::KillTimer(nullptr, timer);
    if (hwnd && ::GetCapture() == hwnd)
        ::ReleaseCapture();
    return m_bDragStarted;
}

// ---- the interface ----------------------------------------------------------------------------------

HRESULT COleDropSource::XDropSource::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropSource)) {
        *ppv = static_cast<IDropSource*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}
ULONG COleDropSource::XDropSource::AddRef() { return m_outer->ExternalAddRef(); }
ULONG COleDropSource::XDropSource::Release() { return m_outer->ExternalRelease(); }
HRESULT COleDropSource::XDropSource::QueryContinueDrag(BOOL fEscapePressed, DWORD grfKeyState)
{
    return m_outer->QueryContinueDrag(fEscapePressed, grfKeyState);
}
HRESULT COleDropSource::XDropSource::GiveFeedback(DWORD dwEffect) { return m_outer->GiveFeedback(dwEffect); }
