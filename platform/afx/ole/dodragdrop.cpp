// DoDragDrop: the drag loop on the one modal loop.
#include "platform/afx/ole/ole2.h"
#include "platform/base/lasterror.h"
#include "platform/gdi/icon.h"
#include "platform/user/modal.h"
#include "platform/user/winuser.h"

namespace zyn::ole {
namespace {

constexpr wchar_t kTrackerClass[] = L"ZynOleDragTracker";
constexpr UINT_PTR kTickTimer = 1;
constexpr DWORD kRealEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;

thread_local bool t_dragging = false;

// A hidden window that holds the capture for the drag, so every mouse message of the
// drag comes to this thread's loop whatever window is under the cursor.
HWND CreateTracker()
{
    WNDCLASSW wc{};
    if (!GetClassInfoW(nullptr, kTrackerClass, &wc)) {
        wc = WNDCLASSW{};
        wc.lpfnWndProc = &DefWindowProcW;
        wc.lpszClassName = kTrackerClass;
        RegisterClassW(&wc); // the class may be dropped between tests; registered on need
    }
    return CreateWindowExW(0, kTrackerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
}

bool IsMouseMessage(UINT m)
{
    return (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || (m >= WM_NCMOUSEMOVE && m <= WM_NCXBUTTONDBLCLK);
}

bool IsKeyMessage(UINT m) { return m == WM_KEYDOWN || m == WM_KEYUP || m == WM_SYSKEYDOWN || m == WM_SYSKEYUP; }

class DragLoop {
public:
    DragLoop(IDataObject* data, IDropSource* source, DWORD ok) : m_data(data), m_source(source), m_ok(ok) {}

    HRESULT Run(DWORD* pdwEffect)
    {
        m_tracker = CreateTracker();
        if (!m_tracker)
            return E_OUTOFMEMORY;
        SetCapture(m_tracker);
        SetTimer(m_tracker, kTickTimer, kDragOverTickMs, nullptr);
        const DWORD pos = GetMessagePos();
        m_pt = POINT{static_cast<SHORT>(LOWORD(pos)), static_cast<SHORT>(HIWORD(pos))};
        Step(CurrentDragKeyState(), FALSE);

        zyn::user::ModalLoopParams p;
        p.owner = m_tracker;
        p.done = [this] { return m_done || GetCapture() != m_tracker; };
        p.preTranslate = [this](MSG& m) {
            if (IsMouseMessage(m.message)) {
                m_pt = m.pt;
                Step(CurrentDragKeyState(), FALSE);
                return true;
            }
            if (IsKeyMessage(m.message)) {
                const bool escape =
                    (m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) && m.wParam == static_cast<WPARAM>(VK_ESCAPE);
                Step(CurrentDragKeyState(), escape ? TRUE : FALSE);
                return true;
            }
            if (m.message == WM_TIMER && m.hwnd == m_tracker && m.wParam == kTickTimer) {
                Step(CurrentDragKeyState(), FALSE);
                return true;
            }
            return false;
        };
        if (!m_done)
            zyn::user::RunModalLoop(p);
        // The loop ran dry, lost the capture, saw WM_QUIT or the tracker went away: a cancel.
        if (!m_done)
            Cancel();
        if (IsWindow(m_tracker)) {
            KillTimer(m_tracker, kTickTimer);
            if (GetCapture() == m_tracker)
                ReleaseCapture();
            DestroyWindow(m_tracker);
        }
        *pdwEffect = m_finalEffect;
        return m_result;
    }

private:
    POINTL PtL() const { return POINTL{m_pt.x, m_pt.y}; }

    void Step(DWORD keys, BOOL escape)
    {
        if (m_done)
            return;
        const HRESULT q = m_source->QueryContinueDrag(escape, keys);
        if (q == DRAGDROP_S_DROP) {
            Drop(keys);
            return;
        }
        if (q == DRAGDROP_S_CANCEL || FAILED(q)) {
            Cancel();
            if (FAILED(q))
                m_result = q;
            return;
        }
        HWND wnd = nullptr;
        IDropTarget* found = FindDropTarget(m_pt, &wnd);
        if (wnd != m_targetWnd) {
            Leave();
            m_targetWnd = wnd;
            if (found) {
                auto target = zyn::com::Ref<IDropTarget>::Share(found);
                DWORD e = m_ok;
                // A target whose DragEnter fails takes no part in this drag while the
                // cursor stays over its window.
                if (SUCCEEDED(target->DragEnter(m_data, keys, PtL(), &e))) {
                    m_target = std::move(target);
                    m_effect = e & (m_ok | DROPEFFECT_SCROLL);
                }
            }
        } else if (m_target) {
            DWORD e = m_ok;
            m_effect = SUCCEEDED(m_target->DragOver(keys, PtL(), &e)) ? e & (m_ok | DROPEFFECT_SCROLL) : DROPEFFECT_NONE;
        }
        if (m_done)
            return; // a target ended the drag from inside (destroyed the tracker)
        if (m_source->GiveFeedback(m_effect) == DRAGDROP_S_USEDEFAULTCURSORS)
            SetCursor(LoadCursorW(nullptr, (m_effect & kRealEffects) ? IDC_ARROW : IDC_NO));
    }

    void Leave()
    {
        if (m_target) {
            auto target = std::move(m_target);
            target->DragLeave();
        }
        m_effect = DROPEFFECT_NONE;
    }

    void Drop(DWORD keys)
    {
        m_done = true;
        m_result = DRAGDROP_S_DROP;
        m_finalEffect = DROPEFFECT_NONE;
        if (!m_target)
            return;
        auto target = std::move(m_target);
        if (m_effect & kRealEffects) {
            DWORD e = m_ok;
            if (SUCCEEDED(target->Drop(m_data, keys, PtL(), &e)))
                m_finalEffect = e & m_ok & kRealEffects;
        } else {
            // The target said nothing may be dropped here: it only learns that the drag left.
            target->DragLeave();
        }
    }

    void Cancel()
    {
        m_done = true;
        m_result = DRAGDROP_S_CANCEL;
        m_finalEffect = DROPEFFECT_NONE;
        Leave();
    }

    IDataObject* m_data;
    IDropSource* m_source;
    DWORD m_ok;
    HWND m_tracker = nullptr;
    POINT m_pt{};
    HWND m_targetWnd = nullptr;
    zyn::com::Ref<IDropTarget> m_target;
    DWORD m_effect = DROPEFFECT_NONE;
    bool m_done = false;
    HRESULT m_result = DRAGDROP_S_CANCEL;
    DWORD m_finalEffect = DROPEFFECT_NONE;
};

} // namespace

DWORD CurrentDragKeyState()
{
    DWORD k = 0;
    if (GetKeyState(VK_LBUTTON) < 0)
        k |= MK_LBUTTON;
    if (GetKeyState(VK_RBUTTON) < 0)
        k |= MK_RBUTTON;
    if (GetKeyState(VK_MBUTTON) < 0)
        k |= MK_MBUTTON;
    if (GetKeyState(VK_SHIFT) < 0)
        k |= MK_SHIFT;
    if (GetKeyState(VK_CONTROL) < 0)
        k |= MK_CONTROL;
    if (GetKeyState(VK_MENU) < 0)
        k |= MK_ALT;
    return k;
}

} // namespace zyn::ole

HRESULT DoDragDrop(LPDATAOBJECT pDataObj, LPDROPSOURCE pDropSource, DWORD dwOKEffects, LPDWORD pdwEffect)
{
    if (pdwEffect)
        *pdwEffect = DROPEFFECT_NONE;
    if (!pDataObj || !pDropSource || !pdwEffect)
        return E_INVALIDARG;
    if (!zyn::ole::IsOleInitializedOnThisThread())
        return CO_E_NOTINITIALIZED;
    if (zyn::ole::t_dragging)
        return E_UNEXPECTED;
    struct Guard {
        Guard() { zyn::ole::t_dragging = true; }
        ~Guard() { zyn::ole::t_dragging = false; }
    } guard;
    // The loop keeps the data object and the source alive while it runs.
    auto data = zyn::com::Ref<IDataObject>::Share(pDataObj);
    auto source = zyn::com::Ref<IDropSource>::Share(pDropSource);
    zyn::ole::DragLoop loop(data.get(), source.get(), dwOKEffects);
    return loop.Run(pdwEffect);
}
