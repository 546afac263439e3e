#pragma once
// Fixture and helpers of the bitmap-menu tests: a fresh desktop and window system per case
// on the virtual clock in scripted mode, the current skin chosen by the case (Classic,
// Office XP, Office 2003 or none), a white owner window that hands owner-drawn items to
// its bitmap menus, a sample menu with every kind of item, and leak checks on windows,
// hooks, GDI objects and DCs.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/afx/gdi/bitmap.h"
#include "platform/afx/gdi/image_list.h"
#include "platform/afx/wnd.h"
#include "platform/base/clock.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/driver.h"
#include "platform/user/menu.h"
#include "platform/user/modal.h"
#include "platform/user/popup_menu.h"
#include "platform/user/winuser.h"
#include "toolkit/menus/bitmap_menu.h"
#include "toolkit/skins/menu_skin.h"
#include "toolkit/skins/skin.h"
#include "tests/support/pump.h"

namespace zyn::test {

enum class SkinKind { None, Classic, XP, Office2003 };
const char* SkinName(SkinKind kind);

// The skin a case paints with, installed as the toolkit's current skin for the case.
class CurrentSkin {
public:
    explicit CurrentSkin(SkinKind kind);
    ~CurrentSkin();
    CurrentSkin(const CurrentSkin&) = delete;
    CurrentSkin& operator=(const CurrentSkin&) = delete;
    COXSkin* skin() const { return m_skin.get(); }
    COXMenuSkin* menuSkin() const { return m_skin ? m_skin->GetMenuSkin() : COXBitmapMenu::GetMenuSkin(); }

private:
    std::unique_ptr<COXSkin> m_skin;
};

// A top-level window painting its client white (or its colour) that routes WM_MEASUREITEM
// of owner-drawn menu items to the bitmap menu holding the item, as the organizer does.
class CMenuOwnerWnd : public CWnd {
public:
    explicit CMenuOwnerWnd(COLORREF colour = RGB(255, 255, 255))
        : m_colour(colour)
    {
    }
    BOOL CreateOwner(const RECT& rect);
    void AddMenu(COXBitmapMenu* menu) { m_menus.push_back(menu); }
    // Called at each WM_INITMENUPOPUP (the popup, its index).
    std::function<void(HMENU, UINT)> onInitMenuPopup;

protected:
    afx_msg void OnPaint();
    afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    DECLARE_MESSAGE_MAP()

private:
    COLORREF m_colour;
    std::vector<COXBitmapMenu*> m_menus;
};

// Images of the tests: 16 x 16, magenta transparent. Index 0 a blue square with a yellow
// centre (inset 3), 1 its hot form (green square), 2 a red frame. The default list holds
// the check mark (0) and the bullet (1) as black shapes.
struct MenuImages {
    MenuImages();
    CImageList images;
    CImageList defaults;
};

// The sample menu: every kind of item, each owner-drawn with a record.
//   0 "&New\tCtrl+N"   image 0 (hot 1)
//   1 "&Open..."        checked, the default check mark
//   2 separator
//   3 "&Print\tCtrl+P" disabled, image 2
//   4 "Recent &Files"   opens a submenu ("&1 first.txt")
//   5 "&Bold"           checked, image 0
//   6 "E&xit"           a bullet image record, not checked (so nothing shown)
//   7 the expansion item (empty text, default image)
inline constexpr UINT ID_NEW = 0x8101, ID_OPEN = 0x8102, ID_PRINT = 0x8103, ID_BOLD = 0x8104, ID_EXIT = 0x8105,
                      ID_FIRST_FILE = 0x8110;
struct SampleMenu {
    SampleMenu(const MenuImages& images, bool withExpansion = true);
    COXBitmapMenu menu;
    COXBitmapMenu sub;
    std::vector<std::unique_ptr<COXImageInfo>> imageInfos;
};

// Appends an owner-drawn item whose record the menu owns.
void AppendOwnerDrawn(COXBitmapMenu& menu, UINT flags, UINT_PTR id, COXImageInfo* image, const wchar_t* text);

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void Pump() { zyn::test::PumpMessages(); }
    static COLORREF ScreenPixel(int x, int y);
    // The popup windows open now.
    static HWND OnlyPopup();

private:
    size_t m_objects = 0;
    size_t m_dcs = 0;
    size_t m_hooks = 0;
};

// The width DrawText gives a text in the menu font (bold for a default item).
int MenuTextWidth(const std::wstring& s, bool bold = false);
// The height of "A" in the menu font.
int MenuTextHeightA();

} // namespace zyn::test
