#pragma once
// COXSHBDropTarget: the drop target of the toolkit's drag-capable windows. Like the drop
// source it decides nothing about the data: every callback is first sent to the target
// window (the record's pWnd, the registered window) as a private message whose lParam
// points to a zero-filled SHBDROPTARGETACTION on the sender's stack. A handler that
// returns non-zero claims the call and leaves its answer in `result`; otherwise the
// default of each call applies (no effect for enter and over, FALSE for a drop, the class
// library's own handling for leave and drop-ex).
//
// Its one logic of its own is auto-scrolling a window that is not a view: when the window
// answers SHBDTM_DRAGSCROLL with exactly DROPEFFECT_SCROLL, a cursor within the class
// library's scroll inset of an edge scrolls the window by WM_HSCROLL / WM_VSCROLL line
// steps, the first after the scroll delay, then one per scroll interval (vertical wins in
// a corner). Moving into that band tells the window the drag left (SHBDTM_DRAGLEAVE);
// moving out of it tells it the drag entered again (SHBDTM_DRAGENTER).
#include "platform/afx/gdi/geometry.h"
#include "platform/afx/ole/oledroptarget.h"
#include "platform/base/wintypes.h"

class CWnd;
class COleDataObject;

// The drop target's messages (wParam 0, lParam the action record).
inline constexpr UINT SHBDTM_DRAGENTER = 0x80AD;   // answer: DROPEFFECT
inline constexpr UINT SHBDTM_DRAGLEAVE = 0x80AE;   // no answer
inline constexpr UINT SHBDTM_DRAGOVER = 0x80AF;    // answer: DROPEFFECT
inline constexpr UINT SHBDTM_DRAGSCROLL = 0x80B0;  // answer: DROPEFFECT (DROPEFFECT_SCROLL: scroll by default)
inline constexpr UINT SHBDTM_DROP = 0x80B1;        // answer: BOOL
inline constexpr UINT SHBDTM_DROPEX = 0x80B2;      // answer: DROPEFFECT

// Valid only during the SendMessage that carries it: a receiver must not keep its address.
struct _tagSHBDROPTARGETACTION {
    CWnd* pWnd;                   // the registered window (the message goes to it)
    COleDataObject* pDataObject;  // the dragged data; null for leave and scroll
    DWORD dwKeyState;             // enter, over, scroll; 0 otherwise
    CPoint point;                 // client coordinates of pWnd; 0 for leave
    DROPEFFECT dropEffect;        // drop: the effect; drop-ex: the default effect; 0 otherwise
    DROPEFFECT dropEffectList;    // drop-ex: the effects the source allows; 0 otherwise
    LRESULT result;               // the receiver's answer
};
using SHBDROPTARGETACTION = _tagSHBDROPTARGETACTION;

class COXSHBDropTarget : public COleDropTarget {
public:
    COXSHBDropTarget();
    ~COXSHBDropTarget() override;

    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) override;
    DROPEFFECT OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault, DROPEFFECT dropList,
        CPoint point) override;
    void OnDragLeave(CWnd* pWnd) override;
    DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point) override;

    // Sends the message to the record's window; the handler's return value (0 when the
    // record names no window).
    LRESULT SendSHBDTMessage(UINT message, SHBDROPTARGETACTION* pAction);
};
