#pragma once
// COleDropSource: the source side of a drag, as the class library offers it.
//
// OnBeginDrag decides whether a drag starts at all: it notes which button is down (that
// button drops, the other one cancels), captures the mouse for the window it is given,
// and waits on the modal loop until the cursor leaves the start rectangle or the drag
// delay (nDragDelay, "DragDelay" in WIN.INI [windows], 200 ms by default) has passed:
// then the drag starts. Releasing the button, pressing the other one, Escape, losing the
// capture or a scripted loop running dry before that means no drag. During the drag,
// QueryContinueDrag cancels on Escape or the cancel button and drops when the drop button
// is up; GiveFeedback asks for the standard cursors.
#include "platform/afx/cmdtarget.h"
#include "platform/afx/gdi/geometry.h"
#include "platform/afx/ole/ole2.h"

class CWnd;
using SCODE = LONG;

class COleDropSource : public CCmdTarget {
    DECLARE_DYNAMIC(COleDropSource)
public:
    COleDropSource();
    ~COleDropSource() override;

    virtual SCODE QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState);
    virtual SCODE GiveFeedback(DROPEFFECT dropEffect);
    // TRUE when the drag starts.
    virtual BOOL OnBeginDrag(CWnd* pWnd);

    LPDROPSOURCE GetDropSourceInterface() { return &m_xDropSource; }
    // Notes the button held now as the drop button and the other one as the cancel
    // button; FALSE (and both cleared) when neither the left nor the right button is down.
    BOOL NoteDragButtons();

    BOOL m_bDragStarted = FALSE;
    DWORD m_dwButtonCancel = 0;
    DWORD m_dwButtonDrop = 0;
    CRect m_rectStartDrag;      // screen coordinates

    // The drag settings (read from WIN.INI [windows] when the first source is made).
    static UINT nDragMinDist;   // "DragMinDist", DD_DEFDRAGMINDIST
    static UINT nDragDelay;     // "DragDelay", DD_DEFDRAGDELAY (milliseconds)

protected:
    class XDropSource final : public IDropSource {
    public:
        explicit XDropSource(COleDropSource* outer) : m_outer(outer) {}
        HRESULT QueryInterface(REFIID riid, void** ppv) override;
        ULONG AddRef() override;
        ULONG Release() override;
        HRESULT QueryContinueDrag(BOOL fEscapePressed, DWORD grfKeyState) override;
        HRESULT GiveFeedback(DWORD dwEffect) override;

    private:
        COleDropSource* m_outer;
    } m_xDropSource{this};

    friend class COleDataSource;
};

namespace zyn::ole {
// Reads the drag settings of the drop source and drop target classes from WIN.INI
// [windows] (done once, when the first source or target is made; call again to re-read).
void LoadDragSettings();
} // namespace zyn::ole
