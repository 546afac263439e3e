#pragma once
// CZynCtrlBar: the sizeable docking bar the suite's applications derive their docking
// panes from (a size control bar with no data of its own), and CCtrlbarMap, a registry
// of such bars by their control ID that does not own them.
//
// The bar's two operations that every host-derived bar supplies belong to the hosts'
// own interfaces; the library never calls them, so this base does not declare them.
#include <map>
#include <utility>

#include "toolkit/docking/size_control_bar.h"

class CZynCtrlBar : public COXSizeControlBar {
    DECLARE_DYNAMIC(CZynCtrlBar)
public:
    // nStyle: the size-dock style bits (SZBARF_*); by default the context menu.
    explicit CZynCtrlBar(int nStyle = SZBARF_CONTEXT_MENU);
    ~CZynCtrlBar() override;

    DECLARE_MESSAGE_MAP()
};

// Bars by control ID, in ID order. Copies copy the pointers.
class CCtrlbarMap : public std::map<UINT, CZynCtrlBar*> {
public:
    CCtrlbarMap() = default;
    CCtrlbarMap(const CCtrlbarMap&) = default;
    CCtrlbarMap& operator=(const CCtrlbarMap&) = default;
    virtual ~CCtrlbarMap() = default;

    // The bar registered under id, null when none.
    CZynCtrlBar* Find(UINT id) const;
    // Registers a bar under its window's control ID: (the entry, true) when added,
    // (the entry already there, false) when the ID is taken, (end, false) for a null bar
    // or one without a window.
    std::pair<iterator, bool> Insert(CZynCtrlBar* pBar);
};
