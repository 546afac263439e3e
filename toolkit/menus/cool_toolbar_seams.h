#pragma once
// Where the cool toolbar's live bar drag asks the docking unit: which dock bar would take
// the bar under a screen point, and docking it there. Until the docking unit installs its
// own seam the default answers "no docking", so a dragged bar floats under the cursor.
#include "platform/afx/gdi/geometry.h"

class CDockBar;
class COXCoolToolBar;

class COXCoolBarDragSeam {
public:
    COXCoolBarDragSeam() = default;
    COXCoolBarDragSeam(const COXCoolBarDragSeam&) = delete;
    COXCoolBarDragSeam& operator=(const COXCoolBarDragSeam&) = delete;
    virtual ~COXCoolBarDragSeam() = default;

    // The dock bar of the bar's frame that would take the bar at ptScreen; null: none.
    virtual CDockBar* GetAppropriateDockBar(COXCoolToolBar* /*pBar*/, CPoint /*ptScreen*/) { return nullptr; }
    // Docks the bar into pDockBar at rect (screen coordinates).
    virtual void DockControlBar(COXCoolToolBar* /*pBar*/, CDockBar* /*pDockBar*/, const CRect& /*rect*/) {}
};

// The installed seam (never null: the default answers "no docking").
COXCoolBarDragSeam& OXGetCoolBarDragSeam();
// Installs a seam (null puts the default back); the previous one, null for the default.
// The caller keeps ownership and removes its seam before it goes.
COXCoolBarDragSeam* OXSetCoolBarDragSeam(COXCoolBarDragSeam* pSeam);
