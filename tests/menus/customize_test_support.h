#pragma once
// Fixture and helpers of the menu-customisation tests: the bitmap-menu fixture with OLE
// on the thread (and checks that no drop target or COM object is left), a customisation
// window that records the customisation notifications and vetoes chosen events, a
// customisation popup that traces the drag-and-drop messages it gets, text-only menus,
// and a menu written out item by item for comparisons.
#include <set>
#include <string>
#include <vector>

#include "platform/afx/ole/afxole.h"
#include "tests/menus/menu_test_support.h"
#include "toolkit/menus/bitmap_menu_popup_wnd.h"
#include "toolkit/menus/menu_seams.h"

namespace zyn::test {

// The messages a traced popup got, as "<name> <hex message>" (scrolls as "<name> V<code>").
struct DragTrace {
    static std::vector<std::string>& Lines();
    static void Clear() { Lines().clear(); }
};

// A customisation popup that traces the drop source's and drop target's messages and
// WM_VSCROLL.
class CTracingPopup : public COXBitmapMenuPopupWnd {
public:
    explicit CTracingPopup(std::string name) : m_name(std::move(name)) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::string m_name;
};

// The customisation window: records each customisation event with the popup it came
// from, answers the vetoed events with 1.
class CCustomizeWnd : public CMenuOwnerWnd {
public:
    struct Event {
        UINT event;
        HWND from;
        UINT_PTR id;
        WPARAM wParam;
    };
    std::vector<Event> events;
    std::set<UINT> veto;
    std::vector<UINT> Codes() const;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The organizer as customisation asks it: recently used items by command.
class CustomizeOrganizer : public COXMenuOrganizerAccess {
public:
    std::set<UINT> notRecentlyUsed;
    BOOL showOnly = TRUE;
    std::vector<HMENU> kept;
    BOOL IsShowOnlyRecentlyUsedItems() override { return showOnly; }
    BOOL IsRecentlyUsed(CMenu* menu, int pos) override { return notRecentlyUsed.count(menu->GetMenuItemID(pos)) == 0; }
    BOOL SetRecentlyUsed(CMenu* menu, int pos, BOOL used) override;
    void KeepCreatedMenu(HMENU hMenu) override { kept.push_back(hMenu); }
    static inline CustomizeOrganizer* current = nullptr;
    static COXMenuOrganizerAccess* Find() { return current; }
};

// Text-only items, each owner-drawn with a record of the menu's: ID 0 a separator.
struct TextItem {
    UINT id;
    const wchar_t* text;
};
void FillTextMenu(COXBitmapMenu& menu, const std::vector<TextItem>& items);

// A menu item by item: "<ID in hex> <text>", "-" for a separator, "> <text>" for an item
// opening a submenu followed by the submenu's lines indented by two spaces. Text from the
// bitmap menu's record where the menu has one.
std::vector<std::wstring> Describe(HMENU hMenu, int indent = 0);

class CustomizeTest : public MenuTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The screen point at the centre of an item of a popup window, as it is scrolled now.
    static CPoint ItemCentre(const COXBitmapMenuPopupWnd& popup, int item);

private:
    size_t m_com = 0;
};

} // namespace zyn::test
