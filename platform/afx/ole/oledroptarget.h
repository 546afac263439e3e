#pragma once
// COleDropTarget: a window's drop target, as the class library offers it.
//
// Register makes the object the OLE drop target of a window (the window object then
// revokes it when its window is destroyed); the framework turns each OLE call into a
// virtual call with a COleDataObject over the dragged data and the point in the window's
// client coordinates:
//   DragEnter -> OnDragScroll, and when that does not scroll (no DROPEFFECT_SCROLL),
//                OnDragEnter;
//   DragOver  -> OnDragScroll, then likewise OnDragOver;
//   DragLeave -> OnDragLeave;
//   Drop      -> OnDropEx first; when it answers -1 (not handled), OnDrop with the
//                default effect, and a FALSE from OnDrop makes the drop "no effect".
// The default effect of a drop is the effect the target answered last, limited to the
// effects the source allows (one of them, chosen by the keys when several remain).
// The scroll state (m_nTimerID 0xFFFF = not scrolling, m_dwLastTick, m_nScrollDelay) is
// reset when a drag enters, leaves or drops. The default OnDragScroll scrolls views
// (CView) near their edges: nScrollInset pixels from an edge, a first step after
// nScrollDelay and further steps every nScrollInterval milliseconds; other windows do not
// scroll unless a derived class says so.
#include "platform/afx/cmdtarget.h"
#include "platform/afx/gdi/geometry.h"
#include "platform/afx/ole/ole2.h"

class CWnd;
class COleDataObject;

class COleDropTarget : public CCmdTarget {
    DECLARE_DYNAMIC(COleDropTarget)
public:
    COleDropTarget();
    // Revokes the registration.
    ~COleDropTarget() override;

    // FALSE when the object is registered already, the window is not valid, it has a drop
    // target, or OLE is not initialised on this thread.
    BOOL Register(CWnd* pWnd);
    virtual void Revoke();

    // The defaults: no effect, no drop, nothing on leave.
    virtual DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);
    // (DROPEFFECT)-1: not handled here, OnDrop decides.
    virtual DROPEFFECT OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault,
        DROPEFFECT dropList, CPoint point);
    virtual void OnDragLeave(CWnd* pWnd);
    virtual DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point);

    LPDROPTARGET GetDropTargetInterface() { return &m_xDropTarget; }
    HWND GetRegisteredWindow() const { return m_hWnd; }

    // The auto-scroll settings (read from WIN.INI [windows] when the first target is made).
    static int nScrollInset;      // "DragScrollInset", DD_DEFSCROLLINSET pixels
    static UINT nScrollDelay;     // "DragScrollDelay", DD_DEFSCROLLDELAY milliseconds
    static UINT nScrollInterval;  // "DragScrollInterval", DD_DEFSCROLLINTERVAL milliseconds

    HWND m_hWnd = nullptr;                   // the registered window
    LPDATAOBJECT m_lpDataObject = nullptr;   // the data of the drag in progress (one reference)
    UINT m_nTimerID = 0xFFFF;                // the scroll code word: high byte horizontal, low byte vertical
    DWORD m_dwLastTick = 0;                  // tick of the last scroll step
    UINT m_nScrollDelay = 0;                 // wait before the next scroll step
    DROPEFFECT m_dropEffectCurrent = DROPEFFECT_NONE; // the last effect answered

protected:
    class XDropTarget final : public IDropTarget {
    public:
        explicit XDropTarget(COleDropTarget* outer) : m_outer(outer) {}
        HRESULT QueryInterface(REFIID riid, void** ppv) override;
        ULONG AddRef() override;
        ULONG Release() override;
        HRESULT DragEnter(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
        HRESULT DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
        HRESULT DragLeave() override;
        HRESULT Drop(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;

    private:
        COleDropTarget* m_outer;
    } m_xDropTarget{this};

    // The window registered, as a window object (permanent or temporary).
    CWnd* TargetWnd() const;
    // Screen to the registered window's client coordinates.
    CPoint ClientPoint(POINTL pt) const;
    void ResetScrollState() { m_nTimerID = 0xFFFF; }
    void ReleaseDataObject();
};

namespace zyn::ole {
// The one effect a drop has by default: the last answer limited to the allowed effects;
// when several remain, Ctrl+Shift picks link, Ctrl copy, Shift or Alt move, and
// otherwise move, copy, link in that order.
DROPEFFECT DefaultDropEffect(DROPEFFECT lastAnswer, DROPEFFECT allowed, DWORD keyState);
void EnsureDragSettings();
} // namespace zyn::ole
