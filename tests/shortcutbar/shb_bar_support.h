#pragma once
// Fixture of the shortcut bar's own tests: a bar in the recording parent, a log of the
// notifications the parent hears (code, group by name, item), answers the case chooses per
// code, image lists of solid colours, and mouse input in the bar's client coordinates.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/afx/gdi/image_list.h"
#include "tests/shortcutbar/shb_ui_support.h"
#include "toolkit/docking/shb_bar.h"
#include "toolkit/docking/shb_list.h"

class COXSkinTable;

namespace shbtest {

// A solid, opaque image list: one image per colour.
HIMAGELIST SolidImages(int cx, int cy, const std::vector<COLORREF>& colours);

class BarTest : public ShbUiTest {
protected:
    BarTest();
    ~BarTest() override;
    void SetUp() override;
    void TearDown() override;

    // Creates the bar at (0, 0) of the parent's client area.
    void MakeBar(DWORD barStyle, int width = 200, int height = 300);
    // Appends groups with these titles (their names in the log).
    std::vector<HSHBGROUP> AddGroups(const std::vector<std::wstring>& titles);
    // The titles in display order.
    std::vector<std::wstring> TitlesInOrder() const;
    std::string NameOf(HSHBGROUP h) const;

    // Mouse input at a point of the bar's (or a window's) client area.
    void MoveTo(int x, int y, HWND in = nullptr);
    void Press(int x, int y, HWND in = nullptr);
    void Release(int x, int y, HWND in = nullptr);
    void Click(int x, int y, HWND in = nullptr);
    // Moves the virtual clock and lets due timers run.
    static void Wait(uint64_t ms);
    // The log since the last call (and clears it).
    std::vector<std::string> TakeLog();

    // The application's skins (Classic, Office XP, Office 2003), made current by name.
    void UseSkin(const wchar_t* name);

    std::unique_ptr<COXShortcutBar> bar;
    std::map<HSHBGROUP, std::string> names;
    // Non-zero answers per notification code; `onNotify` runs first and may answer itself.
    std::map<UINT, LRESULT> answers;
    std::function<bool(NMSHORTCUTBAR&, LRESULT&)> onNotify;
    // Codes not logged (drawing, tooltips and the like flood the log).
    std::vector<UINT> quiet{SHBN_DRAWHEADER, SHBN_DRAWITEM};
    std::vector<std::string> log;
    std::vector<std::unique_ptr<CImageList>> imageLists;

private:
    std::unique_ptr<COXSkinTable> m_skins;
};

} // namespace shbtest
