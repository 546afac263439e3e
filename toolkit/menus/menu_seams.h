#pragma once
// What the bitmap menus and the menu skins need of classes that come later: the cool
// toolbar and the menu bar, the bitmap-menu organizer of the main window (with its
// recently used items), and the customisation popup window. Each is an interface that
// the later class's unit installs once; until then nothing is installed and every
// question answers "none": no bar to drop a popup from, no organizer (so no item is ever
// hidden), no customisation popup, no toolbar images. Tests install their own stand-ins.
#include <vector>

#include "platform/base/wintypes.h"
#include "platform/gdi/imagelist.h"

class CDC;
class CFrameWnd;
class CMenu;
class COXBitmapMenu;
class COXBitmapMenuPopupWnd;
class COXCoolToolBar;

// A cool toolbar or menu bar, as the bitmap menu's TrackPopupMenu and the 2003 shadowed
// item window use it.
class COXCommandBarAccess {
public:
    virtual ~COXCommandBarAccess() = default;
    // The bar's toolbar window.
    virtual HWND GetBarWindow(COXCoolToolBar* bar) = 0;
    // The control-bar style (CBRS_ALIGN_* among it).
    virtual DWORD GetBarStyle(COXCoolToolBar* bar) = 0;
    // Index of the first pressed button, -1 when none is.
    virtual int FindPressedButton(COXCoolToolBar* bar) = 0;
    // The command whose drop-down arrow was pressed last, -1 before the first.
    virtual int GetLastDropDownCommand(COXCoolToolBar* bar) = 0;
    // Index of the button of a command, -1 when none.
    virtual int CommandToIndex(COXCoolToolBar* bar, UINT nID) = 0;
    // A button's rectangle in the bar's client coordinates.
    virtual BOOL GetItemRect(COXCoolToolBar* bar, int nIndex, RECT* rect) = 0;
    // Whether the bar is a menu bar.
    virtual BOOL IsMenuBar(COXCoolToolBar* bar) = 0;
    // A menu bar's rectangle of the maximised MDI child's icon, in the bar's window
    // coordinates; FALSE (or an empty rectangle) when it shows none.
    virtual BOOL GetMdiChildIconRect(COXCoolToolBar* bar, RECT* rect) = 0;
    // Paints one button's icon and text (not its background) through the bar's toolbar
    // skin into rect of dc.
    virtual void DrawButton(COXCoolToolBar* bar, CDC* dc, int nIndex, const RECT& rect) = 0;
};

// The bitmap-menu organizer of the application's main window, as far as painting asks.
class COXMenuOrganizerAccess {
public:
    virtual ~COXMenuOrganizerAccess() = default;
    virtual BOOL IsShowOnlyRecentlyUsedItems() = 0;
    // Whether the item at a position of a menu is among the recently used ones.
    virtual BOOL IsRecentlyUsed(CMenu* menu, int nPos) = 0;

    // What customising a menu asks of the organizer. The defaults do no organizer work:
    // the menus then give the items they get records of their own (text, no image).
    // Converts a bitmap menu again after its items changed (a conversion that is not the
    // first).
    virtual void ReconvertMenu(COXBitmapMenu* /*menu*/) {}
    // Wraps a popup that no bitmap menu wraps yet in one the organizer keeps, and
    // converts it; that bitmap menu, or null.
    virtual COXBitmapMenu* WrapMenu(HMENU /*hMenu*/) { return nullptr; }
    // Keeps a popup made for dropped items, to destroy it with the organizer.
    virtual void KeepCreatedMenu(HMENU /*hMenu*/) {}
    // Makes the item at a position recently used, or not; FALSE when that cannot be done.
    virtual BOOL SetRecentlyUsed(CMenu* /*menu*/, int /*nPos*/, BOOL /*bRecentlyUsed*/) { return FALSE; }
};

// The customisation popup window of a bitmap menu.
class COXCustomizePopupAccess {
public:
    virtual ~COXCustomizePopupAccess() = default;
    virtual HWND GetPopupWindow(COXBitmapMenuPopupWnd* popup) = 0;
    virtual COXBitmapMenu* GetPopupMenu(COXBitmapMenuPopupWnd* popup) = 0;
    // The popup window lays its menu out anew (the menu's items changed).
    virtual void OnMenuChanged(COXBitmapMenuPopupWnd* /*popup*/) {}
};

// The images of a frame's toolbars, as the organizer gives menu items the images of the
// toolbar buttons with the same commands (COXBitmapMenuOrganizer::AutoSetMenuImage).
struct OXTOOLBARIMAGES {
    struct Button {
        UINT nID = 0;
        int nImage = 0;
    };
    HIMAGELIST hImageList = nullptr;    // the bar's images (TB_GETIMAGELIST)
    HIMAGELIST hHotImageList = nullptr; // its hot images (TB_GETHOTIMAGELIST), null when none
    std::vector<Button> buttons;        // its buttons that are not separators, in order
};
class COXToolBarImageAccess {
public:
    virtual ~COXToolBarImageAccess() = default;
    // The frame's control bars that are toolbars with an image list, in the frame's order.
    virtual std::vector<OXTOOLBARIMAGES> GetToolBarImages(CFrameWnd* frame) = 0;
};

// The installed accesses (null: none). Each setter returns the previous one; the caller
// keeps ownership and removes its access before it goes.
COXCommandBarAccess* OXSetCommandBarAccess(COXCommandBarAccess* access);
COXCommandBarAccess* OXGetCommandBarAccess();
// The organizer is found afresh at each question (the main window may change).
using OXMenuOrganizerFinder = COXMenuOrganizerAccess* (*)();
OXMenuOrganizerFinder OXSetMenuOrganizerFinder(OXMenuOrganizerFinder finder);
COXMenuOrganizerAccess* OXFindMainMenuOrganizer();
COXCustomizePopupAccess* OXSetCustomizePopupAccess(COXCustomizePopupAccess* access);
COXCustomizePopupAccess* OXGetCustomizePopupAccess();
COXToolBarImageAccess* OXSetToolBarImageAccess(COXToolBarImageAccess* access);
COXToolBarImageAccess* OXGetToolBarImageAccess();
