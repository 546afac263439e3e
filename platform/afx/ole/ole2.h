#pragma once
// OLE drag and drop: OleInitialize, the drop source and drop target interfaces, the
// registration of drop targets on windows, and DoDragDrop.
//
// A window becomes a drop target with RegisterDragDrop (the table holds one reference to
// the target until RevokeDragDrop). DoDragDrop runs the drag on the one modal loop
// (platform/user/modal.h) with the mouse captured by a hidden tracking window. For each
// mouse or key event, and on a timer tick while nothing happens (so a resting cursor
// still gets DragOver), it asks the source's QueryContinueDrag with the Escape flag and
// the key state (MK_* with MK_ALT for the Alt key), finds the target from the window
// under the cursor up through its parents to the first registered one, and calls
// DragEnter/DragOver/DragLeave on it; the effect the target answers is limited to the
// effects the source allows (DROPEFFECT_SCROLL passes) and handed to GiveFeedback. A
// target that answers "none" stays the target and keeps getting DragOver. On
// DRAGDROP_S_DROP the target gets Drop when its last answer allowed something (DragLeave
// otherwise); on DRAGDROP_S_CANCEL (Escape, the other button, or a scripted loop running
// dry) DragLeave. Timers, posted messages and painting go on inside the loop.
#include "platform/base/wintypes.h"
#include "platform/com/dataobject.h"
#include "platform/com/guid.h"
#include "platform/com/hresult.h"
#include "platform/com/unknown.h"

using DROPEFFECT = DWORD;
inline constexpr DROPEFFECT DROPEFFECT_NONE = 0, DROPEFFECT_COPY = 1, DROPEFFECT_MOVE = 2, DROPEFFECT_LINK = 4,
                            DROPEFFECT_SCROLL = 0x80000000u;
// The Alt key in an OLE key state (the mouse messages' MK_* have no Alt bit).
inline constexpr DWORD MK_ALT = 0x20;

// Defaults of the drag settings (WIN.INI [windows] DragScrollInset, DragScrollDelay,
// DragScrollInterval, DragDelay, DragMinDist override them).
inline constexpr int DD_DEFSCROLLINSET = 11;
inline constexpr int DD_DEFSCROLLDELAY = 50;
inline constexpr int DD_DEFSCROLLINTERVAL = 50;
inline constexpr int DD_DEFDRAGDELAY = 200;
inline constexpr int DD_DEFDRAGMINDIST = 2;

struct POINTL {
    LONG x;
    LONG y;
};

struct IDropSource : public IUnknown {
    // S_OK goes on, DRAGDROP_S_DROP drops, DRAGDROP_S_CANCEL cancels; a failure cancels
    // and DoDragDrop returns it.
    virtual HRESULT QueryContinueDrag(BOOL fEscapePressed, DWORD grfKeyState) = 0;
    // DRAGDROP_S_USEDEFAULTCURSORS asks DoDragDrop to set the standard cursor.
    virtual HRESULT GiveFeedback(DWORD dwEffect) = 0;
};
using LPDROPSOURCE = IDropSource*;

struct IDropTarget : public IUnknown {
    // pdwEffect: in, the effects the source allows; out, the effect of a drop here now.
    virtual HRESULT DragEnter(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) = 0;
    virtual HRESULT DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) = 0;
    virtual HRESULT DragLeave() = 0;
    virtual HRESULT Drop(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) = 0;
};
using LPDROPTARGET = IDropTarget*;

namespace zyn::com {
template <>
struct InterfaceId<IDropSource> {
    static constexpr const IID& value = IID_IDropSource;
};
template <>
struct InterfaceId<IDropTarget> {
    static constexpr const IID& value = IID_IDropTarget;
};
} // namespace zyn::com

// COM (apartment-threaded) plus OLE for the calling thread: S_OK the first time, S_FALSE
// after; each success needs its OleUninitialize.
HRESULT OleInitialize(LPVOID pvReserved);
void OleUninitialize();

// E_INVALIDARG for a null target; DRAGDROP_E_INVALIDHWND for a window that does not exist;
// DRAGDROP_E_ALREADYREGISTERED when the window has a target; CO_E_NOTINITIALIZED when the
// thread has not called OleInitialize.
HRESULT RegisterDragDrop(HWND hwnd, LPDROPTARGET pDropTarget);
// DRAGDROP_E_NOTREGISTERED when the window has none (DRAGDROP_E_INVALIDHWND for a null one).
HRESULT RevokeDragDrop(HWND hwnd);

// DRAGDROP_S_DROP or DRAGDROP_S_CANCEL with the effect in *pdwEffect (DROPEFFECT_NONE for a
// cancel, a refused drop or a failed Drop); E_INVALIDARG for null arguments;
// CO_E_NOTINITIALIZED without OleInitialize; E_UNEXPECTED when a drag already runs on this
// thread. A failure of QueryContinueDrag ends the drag as a cancel and is returned.
HRESULT DoDragDrop(LPDATAOBJECT pDataObj, LPDROPSOURCE pDropSource, DWORD dwOKEffects, LPDWORD pdwEffect);

namespace zyn::ole {

// DragOver is repeated at this interval while the cursor rests.
inline constexpr UINT kDragOverTickMs = 50;

// The key state of a drag as of the last input message taken: buttons, Shift, Ctrl and
// MK_ALT.
DWORD CurrentDragKeyState();
// The target registered for exactly this window (not its parents); not AddRef'd.
IDropTarget* RegisteredDropTarget(HWND hwnd);
// The target for a point: the window under it and then its parents, up to the top-level
// window; the window found goes to *pTargetWnd.
IDropTarget* FindDropTarget(POINT screen, HWND* pTargetWnd);
// Registrations held (for leak checks in tests).
size_t RegisteredDropTargetCount();
bool IsOleInitializedOnThisThread();
// Tests: releases every registration and undoes this thread's OleInitialize calls.
void ResetOleForTests();

} // namespace zyn::ole
