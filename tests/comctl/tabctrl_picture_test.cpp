// The tab control's kept pictures: whatever changes (selection, text, the image list's
// pixels behind its back, system colours, font, enabled state, hot tracking), the pixels a
// WM_PAINT leaves on the screen are those the control draws directly, without pictures,
// into a WM_PRINTCLIENT bitmap: that drawing is the reference every step is held to.
#include <functional>
#include <vector>

#include "platform/gdi/imagelist.h"
#include "platform/user/control_common.h"
#include "tests/support/golden.h"
#include "tests/comctl/tab_updown_support.h"

namespace zyn::test {
namespace {

constexpr int kX = 10, kY = 10;   // the control's place in the parent (= the screen)

class TabPicture : public TabUpDownTest {
protected:
    static constexpr int kW = 420, kH = 160;

    void TearDown() override
    {
        if (!savedColors.empty())
            SetSysColors(static_cast<int>(colorIds.size()), colorIds.data(), savedColors.data());
        for (HFONT f : fonts)
            DeleteObject(f);
        for (HIMAGELIST l : lists)
            ImageList_Destroy(l);
        for (HBITMAP b : solids)
            DeleteObject(b);
        TabUpDownTest::TearDown();
    }

    // A list of 16 x 16 images, one solid colour each.
    HIMAGELIST Images(std::initializer_list<COLORREF> colors)
    {
        HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 4);
        for (COLORREF c : colors)
            EXPECT_GE(ImageList_Add(list, Solid(c), nullptr), 0);
        for (HBITMAP b : solids)
            DeleteObject(b);
        solids.clear();
        lists.push_back(list);
        return list;
    }
    HBITMAP Solid(COLORREF c)
    {
        HDC screen = GetDC(nullptr);
        HBITMAP bmp = CreateCompatibleBitmap(screen, 16, 16);
        HDC mem = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(mem, bmp);
        HBRUSH brush = CreateSolidBrush(c);
        const RECT all{0, 0, 16, 16};
        FillRect(mem, &all, brush);
        DeleteObject(brush);
        SelectObject(mem, old);
        DeleteDC(mem);
        ReleaseDC(nullptr, screen);
        solids.push_back(bmp);
        return bmp;
    }
    HWND Make(DWORD style, int count, HIMAGELIST list)
    {
        HWND tab = MakeTab(style, kX, kY, kW, kH);
        if (list)
            SendMessageW(tab, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
        for (int i = 0; i < count; ++i)
            Insert(tab, i, i % 3 == 1 ? L"A&&B " + std::to_wstring(i) : L"Tab " + std::to_wstring(i), list ? i % 2 : -1);
        return tab;
    }
    // Repaints the control through WM_PAINT (unless `repaint` is false: the screen as the
    // last change left it) and checks the screen against the direct drawing; the first
    // differing pixel is named.
    void Check(HWND tab, const std::string& step, bool repaint = true)
    {
        if (repaint) {
            InvalidateRect(tab, nullptr, FALSE);
            UpdateWindow(tab);
        }
        const GoldenPicture shown = CaptureScreen(RECT{kX, kY, kX + kW, kY + kH});
        HDC screen = GetDC(nullptr);
        HBITMAP bmp = CreateCompatibleBitmap(screen, kW, kH);
        ReleaseDC(nullptr, screen);
        HDC mem = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(mem, bmp);
        SendMessageW(tab, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT);
        SelectObject(mem, old);
        DeleteDC(mem);
        const GoldenPicture drawn = CaptureBitmap(bmp);
        DeleteObject(bmp);

        ASSERT_EQ(drawn.pixels.size(), shown.pixels.size()) << step;
        for (size_t i = 0; i < drawn.pixels.size(); ++i) {
            if (shown.pixels[i] != drawn.pixels[i]) {
                ADD_FAILURE() << step << ": pixel (" << i % kW << ", " << i / kW << ") shows " << std::hex
                              << shown.pixels[i] << ", drawn directly " << drawn.pixels[i];
                return;
            }
        }
    }
    void SetColor(int id, COLORREF c)
    {
        if (savedColors.empty()) {
            for (int i : colorIds)
                savedColors.push_back(GetSysColor(i));
        }
        SetSysColors(1, &id, &c);
    }

    std::vector<int> colorIds{COLOR_3DFACE, COLOR_BTNTEXT, COLOR_3DHIGHLIGHT, COLOR_HOTLIGHT};
    std::vector<COLORREF> savedColors;
    std::vector<HFONT> fonts;
    std::vector<HIMAGELIST> lists;
    std::vector<HBITMAP> solids;
};

// Every side and look, with images and "&&" titles over several rows, each repainted as
// first made, again (from the pictures), and after the selection moved the rows and went
// back (the tabs' two pictures).
TEST_F(TabPicture, EverySideAndLookMatchesTheDirectDrawing)
{
    struct Row {
        const char* what;
        DWORD style;
    };
    const Row rows[] = {
        {"top, multi-line", TCS_MULTILINE},
        {"bottom, multi-line", TCS_MULTILINE | TCS_BOTTOM},
        {"left", TCS_MULTILINE | TCS_VERTICAL},
        {"right", TCS_MULTILINE | TCS_VERTICAL | TCS_RIGHT},
        {"buttons", TCS_MULTILINE | TCS_BUTTONS},
        {"flat buttons", TCS_MULTILINE | TCS_BUTTONS | TCS_FLATBUTTONS | TCS_HOTTRACK},
        {"ragged, hot tracking", TCS_MULTILINE | TCS_RAGGEDRIGHT | TCS_HOTTRACK},
    };
    HIMAGELIST list = Images({RGB(200, 0, 0), RGB(0, 0, 200)});
    for (const Row& row : rows) {
        HWND tab = Make(row.style, 14, list);
        const std::string what = row.what;
        Check(tab, what + ", first paint");
        Check(tab, what + ", painted again");
        SendMessageW(tab, TCM_SETCURSEL, 9, 0);
        Check(tab, what + ", tab 9 selected");
        SendMessageW(tab, TCM_SETCURSEL, 0, 0);
        Check(tab, what + ", tab 0 selected again");
        const RECT r = ItemRect(tab, 4);
        const POINT over = ScreenOf(tab, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        MoveTo(over.x, over.y);
        Check(tab, what + ", mouse over tab 4");
        MoveTo(590, 390);
        Check(tab, what + ", mouse gone");
        DestroyWindow(tab);
    }
}

// Each change that alters a tab's pixels, including those the control is not told of (an
// image list changed behind its back, system colours), shows at the next paint.
TEST_F(TabPicture, EveryChangeShowsAtTheNextPaint)
{
    HIMAGELIST list = Images({RGB(200, 0, 0), RGB(0, 0, 200)});
    HWND tab = Make(TCS_MULTILINE, 10, list);
    Check(tab, "first paint");
    struct Step {
        const char* what;
        std::function<void()> change;
    };
    const Step steps[] = {
        {"text changed", [&] {
             TCITEMW item{};
             item.mask = TCIF_TEXT;
             item.pszText = const_cast<LPWSTR>(L"Renamed");
             SendMessageW(tab, TCM_SETITEMW, 2, reinterpret_cast<LPARAM>(&item));
         }},
        {"image index changed", [&] {
             TCITEMW item{};
             item.mask = TCIF_IMAGE;
             item.iImage = 1;
             SendMessageW(tab, TCM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
         }},
        {"image replaced in the list", [&] { ImageList_Replace(list, 1, Solid(RGB(0, 160, 0)), nullptr); }},
        {"list background colour", [&] { ImageList_SetBkColor(list, RGB(255, 255, 0)); }},
        {"image drawn into the list's own bitmap", [&] {
             IMAGEINFO info{};
             ASSERT_TRUE(ImageList_GetImageInfo(list, 0, &info));
             HDC mem = CreateCompatibleDC(nullptr);
             HGDIOBJ old = SelectObject(mem, info.hbmImage);
             HBRUSH brush = CreateSolidBrush(RGB(255, 0, 255));
             FillRect(mem, &info.rcImage, brush);
             DeleteObject(brush);
             SelectObject(mem, old);
             DeleteDC(mem);
         }},
        {"face colour", [&] { SetColor(COLOR_3DFACE, RGB(180, 190, 200)); }},
        {"text colour", [&] { SetColor(COLOR_BTNTEXT, RGB(120, 0, 60)); }},
        {"bold font", [&] {
             LOGFONTW lf{};
             GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
             lf.lfWeight = FW_BOLD;
             fonts.push_back(CreateFontIndirectW(&lf));
             SendMessageW(tab, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.back()), TRUE);
         }},
        {"highlighted", [&] { SendMessageW(tab, TCM_HIGHLIGHTITEM, 3, MAKELPARAM(TRUE, 0)); }},
        {"disabled", [&] { EnableWindow(tab, FALSE); }},
        {"enabled", [&] { EnableWindow(tab, TRUE); }},
        {"list taken away", [&] { SendMessageW(tab, TCM_SETIMAGELIST, 0, 0); }},
    };
    for (const Step& step : steps) {
        step.change();
        Check(tab, step.what);
    }
    DestroyWindow(tab);
}

// Fixed-width tabs narrower than their titles: a title runs over the next tab, which a
// copy of the tab's own rectangle cannot repeat, so those tabs are drawn every time. The
// selected tab is drawn last, so its title shows over its neighbour.
TEST_F(TabPicture, TitlesWiderThanTheirTabsStillOverlapTheNextTab)
{
    HWND tab = Make(TCS_FIXEDWIDTH | TCS_FORCELABELLEFT, 0, nullptr);
    SendMessageW(tab, TCM_SETITEMSIZE, 0, MAKELPARAM(40, 20));
    for (int i = 0; i < 5; ++i)
        Insert(tab, i, i % 2 ? L"WWWWWWWWWWWW" : L"ab");
    Check(tab, "first paint");
    SendMessageW(tab, TCM_SETCURSEL, 1, 0);
    Check(tab, "tab 1 selected");
    Check(tab, "again");
    const RECT r1 = ItemRect(tab, 1), r2 = ItemRect(tab, 2);
    ASSERT_LE(r2.left, r1.right + 2) << "neighbours";
    bool inked = false;
    for (int y = r2.top + 4; y < r2.bottom - 3 && !inked; ++y)
        for (int x = r1.right + 3; x < r1.right + 20 && !inked; ++x)
            inked = ScreenPixel(kX + x, kY + y) != GetSysColor(COLOR_3DFACE) &&
                    ScreenPixel(kX + x, kY + y) != GetSysColor(COLOR_3DHIGHLIGHT);
    EXPECT_TRUE(inked) << "tab 1's title reaches into tab 2";
    DestroyWindow(tab);
}

// A click on a tab in another row moves the rows: the pixels of the rows that only moved
// are moved on the screen, the rest painted. What shows is the direct drawing, in every
// side and with buttons (whose rows stay), for clicks far and near, also when something
// else drew on the control or a window covered part of it meanwhile.
TEST_F(TabPicture, RowChangesMovePixelsThatMatchTheDirectDrawing)
{
    struct Row {
        const char* what;
        DWORD style;
        bool rotates;
    };
    const Row rows[] = {
        {"top", TCS_MULTILINE, true},
        {"bottom", TCS_MULTILINE | TCS_BOTTOM, true},
        {"left", TCS_MULTILINE | TCS_VERTICAL, true},
        {"right", TCS_MULTILINE | TCS_VERTICAL | TCS_RIGHT, true},
        {"buttons", TCS_MULTILINE | TCS_BUTTONS, false},
    };
    HIMAGELIST list = Images({RGB(200, 0, 0), RGB(0, 0, 200)});
    for (const Row& row : rows) {
        HWND tab = Make(row.style, 16, list);
        const std::string what = row.what;
        const auto click = [&](int index) {
            const RECT r = ItemRect(tab, index);
            const uint64_t before = user::DcUseOf(tab).handedOut;
            ClickAt(tab, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
            return user::DcUseOf(tab).handedOut - before;
        };
        click(0); // takes the focus, which repaints everything
        Check(tab, what + ", first paint");
        ASSERT_GT(SendMessageW(tab, TCM_GETROWCOUNT, 0, 0), 2) << what;
        bool moved = false;
        for (int index : {9, 2, 15, 14, 5, 6, 0, 11}) {
            const uint64_t dcs = click(index);
            ASSERT_EQ(SendMessageW(tab, TCM_GETCURSEL, 0, 0), index) << what;
            // One DC to move pixels and one to paint.
            moved = moved || dcs == 2;
            Check(tab, what + ", tab " + std::to_string(index) + " clicked", false);
        }
        EXPECT_EQ(moved, row.rotates) << what;

        // Drawn over by someone else: nothing of it may move.
        HDC dc = GetDC(tab);
        const RECT all{0, 0, kW, kH};
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        FillRect(dc, &all, red);
        DeleteObject(red);
        ReleaseDC(tab, dc);
        click(9);
        Check(tab, what + ", clicked after a foreign drawing", false);

        // Partly covered: what was under the window is painted when it goes.
        const POINT at = ScreenOf(tab, POINT{kW / 3, 0});
        HWND cover = CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_VISIBLE | SS_BLACKRECT, at.x, at.y, 60, kH / 2,
            parent, nullptr, nullptr, nullptr);
        ASSERT_NE(cover, nullptr);
        UpdateWindow(cover);
        click(2);
        click(15);
        DestroyWindow(cover);
        Pump();
        UpdateWindow(parent);
        UpdateWindow(tab);
        Check(tab, what + ", clicked while partly covered", false);
        DestroyWindow(tab);
    }
}

} // namespace
} // namespace zyn::test
