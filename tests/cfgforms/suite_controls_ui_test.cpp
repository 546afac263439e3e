// The suite's control stand-ins: the check box read and set as a bool, and the themed
// background: whether a visual style is active (asked of the visual-styles library once
// until the theme changes) and the brush that shows the parent's background under a label,
// aligned with the label wherever it stands.
#include <map>

#include "platform/afx/gdi/dc.h"
#include "platform/base/module.h"
#include "platform/gdi/builtin_modules.h"
#include "platform/gdi/wingdi.h"
#include "platform/suite/controls/check_box.h"
#include "platform/suite/controls/themed_background.h"
#include "tests/cfgforms/cfgforms_support.h"

namespace zyn::test {
namespace {

constexpr COLORREF kLeft = RGB(200, 30, 30), kRight = RGB(20, 40, 210);

// A parent whose background is two colours, split at x = 100.
LRESULT SplitParentProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_ERASEBKGND) {
        const HDC dc = reinterpret_cast<HDC>(wp);
        RECT r{};
        ::GetClientRect(h, &r);
        const HBRUSH left = CreateSolidBrush(kLeft), right = CreateSolidBrush(kRight);
        RECT a{0, 0, 100, r.bottom}, b{100, 0, r.right, r.bottom};
        FillRect(dc, &a, left);
        FillRect(dc, &b, right);
        DeleteObject(left);
        DeleteObject(right);
        return 1;
    }
    return DefWindowProcW(h, m, wp, lp);
}

int g_themeAsked = 0;
BOOL FakeIsThemeActive()
{
    ++g_themeAsked;
    return TRUE;
}

using SuiteControlsTest = CfgFormsTest;

TEST_F(SuiteControlsTest, TheCheckBoxReadsAndSetsItsStateAsABool)
{
    CCheckBox box;
    EXPECT_FALSE(box.IsChecked()) << "no window";
    box.SetChecked(true); // nothing happens
    ASSERT_TRUE(box.Create(L"Armed", WS_CHILD | WS_VISIBLE | BS_AUTO3STATE, CRect(0, 0, 80, 16), m_main, 7));
    box.SetChecked(true);
    EXPECT_TRUE(box.IsChecked());
    EXPECT_EQ(box.GetCheck(), BST_CHECKED);
    box.SetCheck(BST_INDETERMINATE);
    EXPECT_FALSE(box.IsChecked()) << "the third state is not checked";
    box.Click(); // indeterminate → unchecked for an automatic three-state box
    EXPECT_FALSE(box.IsChecked());
    box.Click();
    EXPECT_TRUE(box.IsChecked());
    box.DestroyWindow();
}

TEST_F(SuiteControlsTest, ThemeActiveIsAskedOnceUntilTheThemeChanges)
{
    Zyn::Ctl::ThemedControlBackgroundHelper helper;
    EXPECT_TRUE(helper.IsThemeActive()) << "the platform's style is on";
    ASSERT_TRUE(base::UnregisterBuiltinModule(L"UxTheme.dll"));
    helper.MarkThemeChanged();
    EXPECT_FALSE(helper.IsThemeActive()) << "no visual-styles library";
    g_themeAsked = 0;
    const HMODULE theme = base::RegisterBuiltinModule(L"UxTheme.dll",
        std::map<std::string, void*>{{"IsThemeActive", base::ExportAddress(&FakeIsThemeActive)}});
    ASSERT_NE(theme, nullptr);
    EXPECT_FALSE(helper.IsThemeActive()) << "the first answer is kept";
    helper.MarkThemeChanged();
    EXPECT_TRUE(helper.IsThemeActive());
    EXPECT_TRUE(helper.IsThemeActive());
    EXPECT_EQ(g_themeAsked, 1);
    base::UnregisterBuiltinModule(theme);
    gdi::RegisterDrawingModules();
}

TEST_F(SuiteControlsTest, TheBrushShowsTheParentsBackgroundUnderTheControl)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = &SplitParentProc;
    wc.lpszClassName = L"SplitParent";
    ASSERT_NE(RegisterClassW(&wc), 0);
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, L"SplitParent", L"", WS_POPUP | WS_VISIBLE, 10, 10, 200, 60, nullptr, nullptr));
    CStatic straddling, right, stranger;
    ASSERT_TRUE(straddling.Create(L"", WS_CHILD | WS_VISIBLE, CRect(98, 5, 130, 20), &parent, 1));
    ASSERT_TRUE(right.Create(L"", WS_CHILD | WS_VISIBLE, CRect(150, 30, 190, 50), &parent, 2));
    ASSERT_TRUE(stranger.Create(L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), m_main, 3));

    Zyn::Ctl::ThemedControlBackgroundHelper helper;
    const HDC screen = ::GetDC(nullptr);
    const HDC mem = CreateCompatibleDC(screen);
    const HBITMAP bits = CreateCompatibleBitmap(screen, 8, 4);
    const HGDIOBJ old = SelectObject(mem, bits);
    CDC* dc = CDC::FromHandle(mem);
    EXPECT_EQ(helper.GetCtlColorBrush(dc, &right), nullptr) << "no parent yet";
    helper.SetParent(&parent);
    EXPECT_EQ(helper.GetCtlColorBrush(dc, &stranger), nullptr) << "not the parent's control";
    // Painted with the brush, a control's first pixels are the parent's pixels under them:
    // the straddling label starts two pixels left of the split.
    struct Case {
        CStatic* control;
        std::vector<COLORREF> row;
    };
    for (const Case& c : {Case{&straddling, {kLeft, kLeft, kRight, kRight}}, Case{&right, {kRight, kRight, kRight, kRight}}}) {
        const HBRUSH brush = helper.GetCtlColorBrush(dc, c.control);
        ASSERT_NE(brush, nullptr);
        EXPECT_EQ(GetBkMode(mem), TRANSPARENT);
        RECT all{0, 0, 8, 4};
        FillRect(mem, &all, brush);
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(GetPixel(mem, x, 0), c.row[static_cast<size_t>(x)]) << "control " << c.control->GetDlgCtrlID() << " x " << x;
    }
    // A resized parent is painted again; the helper keeps one brush at a time.
    parent.SetWindowPos(nullptr, 0, 0, 300, 60, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_NE(helper.GetCtlColorBrush(dc, &right), nullptr);
    SelectObject(mem, old);
    DeleteObject(bits);
    DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
    stranger.DestroyWindow();
    parent.DestroyWindow();
    helper.SetParent(nullptr); // frees the picture before the fixture counts GDI objects
    AfxUnlockTempMaps();
}

} // namespace
} // namespace zyn::test
