#pragma once
// What the toolbar skins need of the menu bar, a cool toolbar whose buttons are the
// top-level items of a menu. The menu bar's class comes later than the skins, so they
// know it two ways: by its run-time class name (a bar whose class, or a base of it, is
// named "COXMenuBar" is a menu bar: painted in the button face, without icons, with the
// items' own texts), and through an access that the menu bar's unit installs for the
// parts only it can give (the item texts, the frame and the caption buttons of a
// maximised MDI child). Until the access is installed a menu bar's buttons show their
// toolbar texts and no caption buttons are drawn.
#include "platform/afx/gdi/geometry.h"
#include "platform/base/cstring.h"
#include "platform/base/wintypes.h"

class CObject;
class CWnd;
class COXCoolToolBar;
class COXMenuBar;

// The caption buttons a menu bar shows for a maximised MDI child.
struct OXMENUBARBUTTONS {
    CWnd* pBar = nullptr;     // the menu bar's window object
    CWnd* pFrame = nullptr;   // the frame the bar belongs to (the skins check it is an MDI frame)
    // In the bar's window coordinates; an empty rectangle: that button is not shown.
    CRect rectClose{0, 0, 0, 0};
    CRect rectRestore{0, 0, 0, 0};
    CRect rectMinimize{0, 0, 0, 0};
    // The button held down: -4 close, -3 restore, -2 minimise; any other value: none.
    int nPressed = 0;
};

class COXMenuBarPaintAccess {
public:
    virtual ~COXMenuBarPaintAccess() = default;
    // The text of the top-level menu item at index (0-based); FALSE when there is none.
    virtual BOOL GetItemText(COXCoolToolBar* bar, int index, CString& text) = 0;
    // The caption buttons; FALSE when the bar shows none.
    virtual BOOL GetMenuButtons(COXMenuBar* menuBar, OXMENUBARBUTTONS& buttons) = 0;
};

// Installs an access (null removes it) and returns the previous one; the caller keeps
// ownership and removes its access before it goes.
COXMenuBarPaintAccess* OXSetMenuBarPaintAccess(COXMenuBarPaintAccess* access);
COXMenuBarPaintAccess* OXGetMenuBarPaintAccess();

// Whether the object's class, or one of its bases, is the menu bar's ("COXMenuBar").
bool OXIsMenuBar(const CObject* object);
