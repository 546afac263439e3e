#pragma once
// Fixture of the organizer tests: the menu fixture's fresh desktop, an application object
// with a profile in the test's registry, and a main frame whose menu bar holds every kind
// of item; snapshots of whole menu trees to compare before and after; the menu loop
// opened on the frame's bar by the keyboard.
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/afx/frame.h"
#include "platform/afx/gdi/bitmap.h"
#include "platform/afx/winapp.h"
#include "tests/menus/menu_test_support.h"
#include "toolkit/menus/organizer.h"

namespace zyn::test {

// Commands of the frame's menus.
inline constexpr UINT ID_O_NEW = 0x8301, ID_O_OPEN = 0x8302, ID_O_PRINT = 0x8303, ID_O_PICTURE = 0x8304,
                      ID_O_RADIO = 0x8305, ID_O_OWNER = 0x8306, ID_O_EXIT = 0x8307, ID_O_FIRST = 0x8310,
                      ID_O_UNDO = 0x8320, ID_O_REDO = 0x8321, ID_O_DEEP = 0x8330;

// One item as a menu holds it, the submenu's items following at depth + 1.
struct ItemSnap {
    int depth = 0;
    UINT type = 0, state = 0, id = 0;
    std::wstring text;
    HMENU sub = nullptr;
    ULONG_PTR data = 0;
    ULONG_PTR typeData = 0; // bitmap and owner-drawn items
    HBITMAP bitmap = nullptr;
    bool operator==(const ItemSnap&) const = default;
};
void PrintTo(const ItemSnap& s, std::ostream* os);
std::vector<ItemSnap> SnapMenu(HMENU menu, int depth = 0);

// The main frame. Its bar:
//   0 &File  -> 0 "&New\tCtrl+N", 1 "&Open..." checked, 2 separator, 3 "&Print" grayed,
//               4 "Recent &Files" -> "&1 first.txt", 5 a bitmap item, 6 "&Radio" radio-
//               checked, 7 an owner-drawn item of the frame's own (data 0x1234),
//               8 "E&xit" with item data 77
//   1 &Edit  -> 0 "&Undo", 1 "&Redo", 2 "&More" -> 0 "&Deeper" -> 0 "D&eep command"
// Its commands are recorded, and so is WM_OX_RECENTLYUSEDCHANGED.
class OrganizerFrame : public CFrameWnd {
public:
    OrganizerFrame();
    HMENU bar = nullptr, file = nullptr, recent = nullptr, edit = nullptr, more = nullptr, deeper = nullptr;
    CBitmap picture;
    std::vector<UINT> commands;
    int changedNotes = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
};

class OrganizerTest : public MenuTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Opens the bar on a popup by its mnemonic and runs the menu loop until the script is
    // dry (the queued idle actions play the user).
    void OpenBar(wchar_t mnemonic);
    std::unique_ptr<CWinApp> m_app;
    OrganizerFrame* m_frame = nullptr; // deletes itself with its window
};

// The position of the first item of a menu with a command, -1 when none.
int PositionOf(HMENU menu, UINT id);
// The commands of a menu's items in order (submenus: -1, separators: 0).
std::vector<UINT> IdsOf(HMENU menu);

} // namespace zyn::test
