#pragma once
// What the docking unit needs of classes that come later: the size-dock MDI frame and
// its bars floating as MDI children (COXMDIFrameWndSizeDock, COXMDIFloatWnd), the view
// bar that hosts an MDI child (COXSizeViewBar, COXMDIChildWndSizeDock), and the cool
// toolbar and menu bar (COXCoolToolBar, COXMenuBar).
//
// Every question goes through one seam, COXDockingSeam. Its questions about an object's
// kind are checked down-casts: they answer the object as the later class, or null when
// it is not one. The seam installed by default answers "none" to every MDI and view-bar
// question (no object is of a later class, no operation does anything), so the size
// bars, the drag context and the floating frame work as they should on a frame without
// MDI docking or view bars. The later classes' unit installs its own seam once, derived
// from this one; tests install stand-ins.
//
// The cool toolbar exists: the base class starts its bar drag itself (its offset and its
// drag flag), so a seam derived for the MDI classes keeps that. The other way round, this
// unit installs the cool toolbar's drag seam (cool_toolbar_seams.h) when the library
// loads: a cool toolbar dragged live docks into the size dock bar under the cursor by
// the size dock bars' rules (never beside a size bar).
//
// The cool toolbar and the menu bar are also recognised by their run-time class names
// (OXIsCoolToolBar, OXIsMenuBar): their classes register those names when they exist, and
// until then nothing matches.
#include "platform/afx/gdi/geometry.h"
#include "platform/base/cstring.h"
#include "platform/base/wintypes.h"

class CControlBar;
class CFrameWnd;
class CObject;
class CWnd;
class COXMDIChildWndSizeDock;
class COXMDIFloatWnd;
class COXMDIFrameWndSizeDock;
class COXSizeControlBar;
class COXSizeViewBar;

class COXDockingSeam {
public:
    COXDockingSeam() = default;
    COXDockingSeam(const COXDockingSeam&) = delete;
    COXDockingSeam& operator=(const COXDockingSeam&) = delete;
    virtual ~COXDockingSeam() = default;

    // ---- checked down-casts: the object as the later class, null when it is not one ----------------------
    virtual COXMDIFloatWnd* AsMDIFloatWnd(CWnd* /*pWnd*/) { return nullptr; }
    virtual COXMDIFrameWndSizeDock* AsMDIFrameWndSizeDock(CWnd* /*pWnd*/) { return nullptr; }
    virtual COXSizeViewBar* AsSizeViewBar(CControlBar* /*pBar*/) { return nullptr; }

    // ---- a bar floating as an MDI child ---------------------------------------------------------------------
    // The MDI float window shows or hides the bar it holds.
    virtual void MDIFloatShowControlBar(COXMDIFloatWnd* /*pFloat*/, CControlBar* /*pBar*/, BOOL /*bShow*/) {}

    // ---- the size-dock MDI frame ------------------------------------------------------------------------------
    virtual void FloatControlBarInMDIChild(COXMDIFrameWndSizeDock* /*pFrame*/, CControlBar* /*pBar*/,
        CPoint /*point*/, DWORD /*dwStyle*/, BOOL /*bShow*/)
    {
    }
    virtual void UnFloatInMDIChild(COXMDIFrameWndSizeDock* /*pFrame*/, CControlBar* /*pBar*/, CPoint /*point*/,
        DWORD /*dwStyle*/)
    {
    }
    // The frame's active size bar (the one holding the focus), or null.
    virtual COXSizeControlBar* GetActiveSizeBar(COXMDIFrameWndSizeDock* /*pFrame*/) { return nullptr; }
    virtual void SetActiveSizeBar(COXMDIFrameWndSizeDock* /*pFrame*/, COXSizeControlBar* /*pBar*/) {}

    // ---- the view bar and its MDI child -------------------------------------------------------------------------
    // The view bar's MDI child while its window exists, else null.
    virtual COXMDIChildWndSizeDock* GetViewBarChild(COXSizeViewBar* /*pBar*/) { return nullptr; }
    // The window that wraps the view bar's child (it gets WM_CLOSE when the floating
    // frame closes the view), or null.
    virtual CWnd* GetViewBarWrapper(COXSizeViewBar* /*pBar*/) { return nullptr; }
    // Whether the view bar's view agrees to close (its document may refuse).
    virtual BOOL QueryCloseView(COXSizeViewBar* /*pBar*/) { return TRUE; }
    // The MDI frame the child belongs to, or null.
    virtual CFrameWnd* GetChildMDIFrame(COXMDIChildWndSizeDock* /*pChild*/) { return nullptr; }
    // The active MDI child of the child's MDI frame, or null.
    virtual COXMDIChildWndSizeDock* MDIGetActive(COXMDIChildWndSizeDock* /*pChild*/) { return nullptr; }
    // The command that makes a child dockable (0: there is none), the child's menu text
    // for it, whether it is dockable now, and the command itself.
    virtual UINT GetDockMessageID() { return 0; }
    virtual CString GetChildMenuText(COXMDIChildWndSizeDock* /*pChild*/) { return CString(); }
    virtual BOOL IsChildDockable(COXMDIChildWndSizeDock* /*pChild*/) { return FALSE; }
    virtual void MakeChildDockable(COXMDIChildWndSizeDock* /*pChild*/) {}

    // ---- the cool toolbar (and the menu bar, which is one) ----------------------------------------------------
    // The offset at which the bar's floating frame hangs under the cursor, from a point in
    // the bar's client coordinates. Nothing for a bar that is no cool toolbar.
    virtual void SaveCoolToolBarMouseOffset(CControlBar* pBar, CPoint point);
    // Starts (or ends) the bar's own drag: its mouse moves then carry it (live docking).
    // Nothing for a bar that is no cool toolbar.
    virtual void SetCoolToolBarDragging(CControlBar* pBar, BOOL bDragging);
};

// The installed seam; the default one answers "none". Never null.
COXDockingSeam& OXGetDockingSeam();
// Installs a seam (null puts the default back) and returns the previous one, or null when
// the default was installed. The caller keeps ownership and removes its seam before it goes.
COXDockingSeam* OXSetDockingSeam(COXDockingSeam* pSeam);

// Whether pObject is of the class registered under lpszClassName or derived from it;
// FALSE when no class of that name is registered (yet).
BOOL OXIsKindOfClassName(const CObject* pObject, const char* lpszClassName);
// The cool toolbar (menu bars included) and the menu bar, by their run-time class names.
inline BOOL OXIsCoolToolBar(const CObject* pObject) { return OXIsKindOfClassName(pObject, "COXCoolToolBar"); }
inline BOOL OXIsMenuBar(const CObject* pObject) { return OXIsKindOfClassName(pObject, "COXMenuBar"); }
