// The suite's control-bar bases: the skinned dialog bar (the skin it paints with,
// background then gripper, labels on the painted background while a visual style is
// active), the dialog bar with an initialisation hook (its result, one call per create,
// Close taken off a floating frame only), and the size-bar registry.
#include <typeinfo>

#include "frames/init_dialog_bar.h"
#include "frames/zyn_ctrl_bar.h"
#include "platform/afx/afxres.h"
#include "platform/afx/ddx.h"
#include "platform/afx/frame.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/miniframe.h"
#include "platform/afx/winapp.h"
#include "platform/base/module.h"
#include "platform/gdi/builtin_modules.h"
#include "platform/base/resource.h"
#include "platform/base/utf16.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/menu.h"
#include "platform/user/paint.h"
#include "tests/frames/frames_test_support.h"
#include "tests/support/golden.h"
#include "toolkit/skins/skin.h"
#include "toolkit/skins/skin_table.h"

namespace zyn::test {
namespace {

constexpr UINT IDD_PANE = 0x6A00, IDC_LABEL = 0x6A01, IDC_FIELD = 0x6A02;

// 120 x 30 dialog units: an empty label at (4, 4), 64 x 10, and an edit at (70, 4).
std::vector<uint8_t> PaneTemplate()
{
    // Style WS_CHILD | WS_VISIBLE (0x50000000) as two words, low first, in the header
    // and in each item.
    std::vector<uint16_t> w = {0, 0x5000, 0, 0, 2, 0, 0, 120, 30, 0, 0, 0};
    for (const auto& [id, cls, x, cx] : {std::tuple{IDC_LABEL, 0x82, 4, 64}, std::tuple{IDC_FIELD, 0x81, 70, 44}}) {
        if (w.size() % 2)
            w.push_back(0);
        for (int v : {0, 0x5000, 0, 0, x, 4, cx, 10, static_cast<int>(id), 0xFFFF, cls, 0, 0})
            w.push_back(static_cast<uint16_t>(v));
    }
    const auto* bytes = reinterpret_cast<const uint8_t*>(w.data());
    return {bytes, bytes + w.size() * 2};
}

// The recording skin's background at a bar client column: 3-pixel stripes of 20 reds.
COLORREF Stripe(int x) { return RGB(12 * ((x / 3) % 20), 40, 200); }

class RecordingSkin : public COXDialogBarSkin {
public:
    void DrawBackground(CDC* dc, CDialogBar* bar) override
    {
        calls.push_back(L"background");
        CRect r;
        bar->GetClientRect(&r);
        for (int x = 0; x < r.right; x += 3)
            dc->FillSolidRect(x, 0, 3, r.bottom, Stripe(x));
    }
    void DrawGripper(CDC*, const RECT* r, CDialogBar*) override
    {
        calls.push_back(L"gripper " + std::to_wstring(r->right) + L"x" + std::to_wstring(r->bottom));
    }
    void DrawNonClientArea(CDC*, const RECT*, CDialogBar*) override {}
    BOOL CallOnEraseBkgnd() override { return TRUE; }
    std::vector<std::wstring> calls;
};

// A skin holding only the given dialog-bar skin (or none), current while it lives.
COXSkin* g_skin = nullptr;
class TestSkin : public COXSkin {
public:
    explicit TestSkin(COXDialogBarSkin* pDialogBarSkin)
    {
        m_pDialogBarSkin.reset(pDialogBarSkin);
    }
};
class SkinInPlace {
public:
    explicit SkinInPlace(COXSkin* pSkin)
    {
        g_skin = pSkin;
        OXSetSkinSource([] { return g_skin; });
    }
    ~SkinInPlace() { OXSetSkinSource(nullptr), g_skin = nullptr; }
};

// A visual-styles module answering IsThemeActive with `active`, in place of the
// platform's own (whose style is on).
class StylesModule {
public:
    StylesModule()
        : m_module((base::UnregisterBuiltinModule(L"UxTheme.dll"),
              base::RegisterBuiltinModule(L"UxTheme.dll", {{"IsThemeActive", base::ExportAddress(&Active)}})))
    {
    }
    ~StylesModule()
    {
        base::UnregisterBuiltinModule(m_module);
        gdi::RegisterDrawingModules();
    }
    StylesModule(const StylesModule&) = delete;
    static BOOL Active() { return active; }
    static inline BOOL active = TRUE;

private:
    HMODULE m_module;
};

class PaneBar : public CInitDialogBar {
public:
    BOOL OnInitDialogBar() override
    {
        ++inits;
        windowAtInit = ::IsWindow(m_hWnd) != FALSE;
        return CInitDialogBar::OnInitDialogBar() && initResult;
    }
    void DoDataExchange(CDataExchange* pDX) override { exchanges.push_back(pDX->m_bSaveAndValidate != FALSE); }
    using SkinnedDialogBar::GetDialogBarSkin;
    using SkinnedDialogBar::m_themedBackground;

    BOOL initResult = TRUE;
    int inits = 0;
    bool windowAtInit = false;
    std::vector<bool> exchanges;   // m_bSaveAndValidate of each exchange
};

class ControlBars : public FramesTest {
protected:
    void SetUp() override
    {
        FramesTest::SetUp();
        static const bool added =
            base::AddResource(nullptr, RT_DIALOG, MAKEINTRESOURCEW(IDD_PANE), LANG_NEUTRAL, PaneTemplate());
        ASSERT_TRUE(added);
        OXSetSkinSource(nullptr);
        m_objects = gdi::LiveObjectCount();
    }
    void TearDown() override
    {
        for (CFrameWnd* f : {frame, other})
            if (f && ::IsWindow(f->m_hWnd))
                f->DestroyWindow();
        app.m_pMainWnd = nullptr;
        Pump();
        AfxUnlockTempMaps();
        FramesTest::TearDown();
        EXPECT_EQ(gdi::LiveObjectCount(), m_objects) << "GDI objects leaked";
    }
    // The main frame, or another one beside it; both dock on every side.
    CFrameWnd* MakeFrame(bool main = true)
    {
        auto* f = new CFrameWnd;
        if (!f->Create(nullptr, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(main ? 100 : 720, 100, main ? 700 : 1200, 500)))
            return nullptr;
        f->EnableDocking(CBRS_ALIGN_ANY);
        (main ? frame : other) = f;
        if (main)
            app.m_pMainWnd = f;
        return f;
    }
    // A bar made on a frame and docked at its top.
    static bool MakeBar(PaneBar& bar, CFrameWnd* f, DWORD style = CBRS_TOP)
    {
        if (!bar.Create(f, IDD_PANE, style, AFX_IDW_DIALOGBAR))
            return false;
        bar.EnableDocking(CBRS_ALIGN_ANY);
        f->DockControlBar(&bar);
        f->RecalcLayout();
        Pump();
        return true;
    }
    // A system menu as its IDs, 0 for a separator.
    static std::vector<UINT> MenuOf(CWnd* pWnd)
    {
        std::vector<UINT> ids;
        const HMENU menu = ::GetSystemMenu(pWnd->m_hWnd, FALSE);
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i)
            ids.push_back((::GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR) ? 0 : ::GetMenuItemID(menu, i));
        return ids;
    }

    CWinApp app{L"ControlBarsTest"};
    CFrameWnd *frame = nullptr, *other = nullptr;

private:
    size_t m_objects = 0;
};

// No current skin, or one without a dialog-bar skin: a Classic skin of the bar's own,
// made once and kept; otherwise the current skin's.
TEST_F(ControlBars, TheDialogBarSkinIsTheCurrentSkinsElseTheBarsOwnClassicOne)
{
    ASSERT_NE(MakeFrame(), nullptr);
    PaneBar bar, second;
    ASSERT_TRUE(MakeBar(bar, frame));
    COXDialogBarSkin* own = bar.GetDialogBarSkin();
    EXPECT_EQ(typeid(*own), typeid(COXDialogBarSkinClassic));

    COXSkinTable table;
    table.AddStandardSkins();
    ASSERT_TRUE(table.SetCurrentSkin(L"Office XP"));
    COXSkin* xp = table.GetCurrentSkin();
    TestSkin bare(nullptr);
    const struct {
        const char* what;
        COXSkin* skin;
        COXDialogBarSkin* want;
    } rows[] = {{"Office XP", xp, xp->GetDialogBarSkin()}, {"a skin without one", &bare, own}, {"no skin", nullptr, own}};
    for (const auto& row : rows) {
        SkinInPlace in(row.skin);
        EXPECT_EQ(bar.GetDialogBarSkin(), row.want) << row.what;
    }
    SkinInPlace in(xp);
    ASSERT_TRUE(MakeBar(second, frame, CBRS_BOTTOM));
    EXPECT_FALSE(second.HasFallbackSkin()) << "painted under a skin, yet made its own";
}

// The skin paints the background, then the gripper over the whole client area. A label
// shows that background while a visual style is active, the face colour otherwise;
// WM_THEMECHANGED makes the bar ask again.
TEST_F(ControlBars, PaintingThroughTheSkinAndLabelsOnThePaintedBackground)
{
    auto* recording = new RecordingSkin;
    TestSkin skin(recording);
    SkinInPlace in(&skin);
    ASSERT_NE(MakeFrame(), nullptr);
    PaneBar bar;
    ASSERT_TRUE(MakeBar(bar, frame, CBRS_TOP | CBRS_GRIPPER));
    EXPECT_TRUE(bar.IsGripper());
    CRect client, lr;
    bar.GetClientRect(&client);
    recording->calls.clear();
    bar.Invalidate();
    bar.UpdateWindow();
    EXPECT_EQ(recording->calls, (std::vector<std::wstring>{L"background", L"gripper " +
        std::to_wstring(client.Width()) + L"x" + std::to_wstring(client.Height())}));

    // The label by handle: it has no window object, and a temporary one would not outlive
    // the idle pass of the pumps below.
    const HWND label = ::GetDlgItem(bar.m_hWnd, IDC_LABEL);
    ::GetWindowRect(label, &lr);
    bar.ScreenToClient(&lr);
    ASSERT_GT(lr.Width(), 6);
    std::vector<COLORREF> stripes, face(static_cast<size_t>(lr.Width()), ::GetSysColor(COLOR_BTNFACE));
    for (int x = lr.left; x < lr.right; ++x)
        stripes.push_back(Stripe(x));
    // The label repainted, then a row of its pixels read from the screen.
    const auto labelRow = [&] {
        ::InvalidateRect(label, nullptr, TRUE);
        Pump();
        CPoint at(lr.left, lr.top + 2);
        bar.ClientToScreen(&at);
        std::vector<COLORREF> px;
        HDC screen = ::GetDC(nullptr);
        for (int x = 0; x < lr.Width(); ++x)
            px.push_back(::GetPixel(screen, at.x + x, at.y));
        ::ReleaseDC(nullptr, screen);
        return px;
    };
    EXPECT_EQ(labelRow(), stripes) << "the platform's style is on";
    StylesModule styles;
    StylesModule::active = FALSE;
    EXPECT_EQ(labelRow(), stripes) << "the answer is kept until the theme changes";
    bar.SendMessage(WM_THEMECHANGED);
    EXPECT_EQ(labelRow(), face) << "style off";
    StylesModule::active = TRUE;
    bar.SendMessage(WM_THEMECHANGED);
    EXPECT_EQ(labelRow(), stripes) << "style active";

    // An edit keeps its own colours.
    HDC dc = ::GetDC(bar.m_hWnd);
    const auto edit = reinterpret_cast<HBRUSH>(bar.SendMessage(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
        reinterpret_cast<LPARAM>(bar.GetDlgItem(IDC_FIELD)->m_hWnd)));
    ::ReleaseDC(bar.m_hWnd, dc);
    EXPECT_NE(edit, bar.m_themedBackground.GetCtlColorBrush(nullptr, nullptr));

    StylesModule::active = FALSE;
    bar.SendMessage(WM_THEMECHANGED);
    EXPECT_FALSE(bar.m_themedBackground.HasBrush()) << "the picture outlived the theme change";
    EXPECT_EQ(labelRow(), face) << "style switched off";
    StylesModule::active = TRUE;
    bar.DestroyWindow();
}

TEST_F(ControlBars, CreateRunsTheHookOnceAndSucceedsOnlyWithIt)
{
    ASSERT_NE(MakeFrame(), nullptr);
    const struct {
        const char* what;
        bool byName;   // the string form with the template's resource ID
        UINT templ;
        BOOL hook;     // what the derived hook answers
        BOOL created;
        int inits;     // and a window left
    } rows[] = {
        {"by ID", false, IDD_PANE, TRUE, TRUE, 1},
        {"by name", true, IDD_PANE, TRUE, TRUE, 1},
        {"the hook fails: the window stays", false, IDD_PANE, FALSE, FALSE, 1},
        {"no such template", false, 0x6AFF, TRUE, FALSE, 0},
        {"no such template by name", true, 0x6AFF, TRUE, FALSE, 0},
    };
    for (const auto& row : rows) {
        PaneBar bar;
        bar.initResult = row.hook;
        const BOOL created = row.byName ? bar.Create(frame, MAKEINTRESOURCEW(row.templ), CBRS_TOP, AFX_IDW_DIALOGBAR)
                                        : bar.Create(frame, row.templ, CBRS_TOP, AFX_IDW_DIALOGBAR);
        EXPECT_EQ(created, row.created) << row.what;
        EXPECT_EQ(bar.inits, row.inits) << row.what;
        EXPECT_EQ(::IsWindow(bar.m_hWnd) != FALSE, row.inits == 1) << row.what;
        EXPECT_EQ(bar.windowAtInit, row.inits == 1) << row.what;
        // The default hook gives the controls the members' values.
        EXPECT_EQ(bar.exchanges, std::vector<bool>(static_cast<size_t>(row.inits), false)) << row.what;
    }
}

// Close leaves a floating frame's system menu with its separator, once; a bar docked in
// the main frame, or in another frame, changes no menu.
TEST_F(ControlBars, DisableCloseButtonOnlyOnAFloatingFrame)
{
    ASSERT_NE(MakeFrame(true), nullptr);
    ASSERT_NE(MakeFrame(false), nullptr);
    PaneBar inMain, inOther;
    ASSERT_TRUE(MakeBar(inMain, frame));
    ASSERT_TRUE(MakeBar(inOther, other));
    const std::vector<UINT> mainMenu = MenuOf(frame), otherMenu = MenuOf(other);
    ASSERT_EQ(mainMenu.back(), static_cast<UINT>(SC_CLOSE));
    inMain.DisableCloseButton();
    inOther.DisableCloseButton();
    EXPECT_EQ(MenuOf(frame), mainMenu) << "docked in the main frame";
    EXPECT_EQ(MenuOf(other), otherMenu) << "docked in another frame";

    frame->FloatControlBar(&inMain, CPoint(300, 600));
    CWnd* floating = inMain.GetParent()->GetParent();
    ASSERT_TRUE(floating->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)));
    ASSERT_EQ(MenuOf(floating), (std::vector<UINT>{SC_MOVE, 0, SC_CLOSE}));
    for (int call = 1; call <= 2; ++call) {
        inMain.DisableCloseButton();
        EXPECT_EQ(MenuOf(floating), std::vector<UINT>{SC_MOVE}) << "call " << call;
    }
}

TEST_F(ControlBars, TheRegistryKeysBarsByTheirControlId)
{
    ASSERT_NE(MakeFrame(), nullptr);
    CZynCtrlBar first, second, same, windowless(0);
    EXPECT_EQ(first.GetSizeDockStyle(), SZBARF_CONTEXT_MENU) << "the default style";
    EXPECT_EQ(windowless.GetSizeDockStyle(), 0u);
    for (const auto& [bar, id] : {std::pair{&first, 0x120u}, std::pair{&second, 0x110u}, std::pair{&same, 0x120u}})
        ASSERT_TRUE(bar->Create(frame, L"", id, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 100, 80)));

    CCtrlbarMap map;
    const struct {
        const char* what;
        CZynCtrlBar* bar;
        bool added;
        CZynCtrlBar* under;   // what the entry returned holds; null for end()
    } rows[] = {
        {"a bar", &first, true, &first},
        {"another", &second, true, &second},
        {"an ID taken", &same, false, &first},
        {"a bar without a window", &windowless, false, nullptr},
        {"null", nullptr, false, nullptr},
    };
    for (const auto& row : rows) {
        const auto [it, added] = map.Insert(row.bar);
        EXPECT_EQ(added, row.added) << row.what;
        EXPECT_EQ(it == map.end() ? nullptr : it->second, row.under) << row.what;
    }
    EXPECT_EQ(map.begin()->first, 0x110u) << "in ID order";
    const CCtrlbarMap copy = map;
    for (CZynCtrlBar* bar : {&first, &second, &same})
        bar->DestroyWindow();
    EXPECT_EQ(copy.size(), 2u);
    EXPECT_EQ(copy.Find(0x120), &first) << "the registry does not follow the windows";
    EXPECT_EQ(copy.Find(0x130), nullptr);
}

} // namespace
} // namespace zyn::test

namespace zyn::test {
namespace {

constexpr UINT IDD_BORDERED = 0x6A10, IDC_BORDERED = 0x6A11, IDC_GROUP = 0x6A12;

// A 120 x 16 dialog-unit bar template of two controls without text: style, x, y, cx, cy,
// ID and class atom of each.
struct TemplateItem {
    int styleLow, styleHigh, x, y, cx, cy;
    UINT id;
    int atom;
};
std::vector<uint8_t> TwoControlTemplate(const TemplateItem& a, const TemplateItem& b)
{
    std::vector<uint16_t> w = {0, 0x5000, 0, 0, 2, 0, 0, 120, 16, 0, 0, 0};
    for (const TemplateItem* item : {&a, &b}) {
        if (w.size() % 2)
            w.push_back(0);
        for (int v : {item->styleLow, item->styleHigh, 0, 0, item->x, item->y, item->cx, item->cy,
                 static_cast<int>(item->id), 0xFFFF, item->atom, 0, 0})
            w.push_back(static_cast<uint16_t>(v));
    }
    const auto* bytes = reinterpret_cast<const uint8_t*>(w.data());
    return {bytes, bytes + w.size() * 2};
}

// An edit with WS_BORDER at (10, 2), 60 x 12, as a resource script's EDITTEXT makes it,
// and a group box (no frame of its own, nothing painted inside it) at (76, 1), 40 x 14.
std::vector<uint8_t> BorderedTemplate()
{
    return TwoControlTemplate({0x0000, 0x5081, 10, 2, 60, 12, IDC_BORDERED, 0x81}, {0x0007, 0x5000, 76, 1, 40, 14, IDC_GROUP, 0x80});
}

class BorderedBar : public CInitDialogBar {};

// An edit's border is drawn once the bar is first shown and painted, whatever the skin:
// the bar's own painting must not cover it (a one-pixel frame of the window-frame colour).
// Inside a group box, which paints only its line and caption, the bar's background shows.
TEST_F(ControlBars, AnEditsBorderShowsOnTheFirstPaintInEverySkin)
{
    static const bool added =
        base::AddResource(nullptr, RT_DIALOG, MAKEINTRESOURCEW(IDD_BORDERED), LANG_NEUTRAL, BorderedTemplate());
    ASSERT_TRUE(added);
    COXSkinTable table;
    table.AddStandardSkins();
    for (const wchar_t* name : {L"Classic", L"Office XP", L"Office 2003"}) {
        ASSERT_TRUE(table.SetCurrentSkin(name));
        SkinInPlace in(table.GetCurrentSkin());
        ASSERT_NE(MakeFrame(), nullptr);
        BorderedBar bar;
        ASSERT_TRUE(bar.Create(frame, IDD_BORDERED, CBRS_TOP | CBRS_GRIPPER, AFX_IDW_DIALOGBAR));
        frame->RecalcLayout();
        Pump();
        CRect r;
        bar.GetDlgItem(IDC_BORDERED)->GetWindowRect(&r);
        const COLORREF want = ::GetSysColor(COLOR_WINDOWFRAME);
        HDC screen = ::GetDC(nullptr);
        int wrong = 0;
        for (int x = r.left; x < r.right; ++x)
            wrong += (::GetPixel(screen, x, r.top) != want) + (::GetPixel(screen, x, r.bottom - 1) != want);
        for (int y = r.top; y < r.bottom; ++y)
            wrong += (::GetPixel(screen, r.left, y) != want) + (::GetPixel(screen, r.right - 1, y) != want);
        ::ReleaseDC(nullptr, screen);
        EXPECT_EQ(wrong, 0) << base::ToUtf8(name) << ": border pixels not in the frame colour";
        frame->DestroyWindow();
        frame = nullptr;
        app.m_pMainWnd = nullptr;
        Pump();
    }
    auto* recording = new RecordingSkin;
    TestSkin skin(recording);
    SkinInPlace in(&skin);
    ASSERT_NE(MakeFrame(), nullptr);
    BorderedBar bar;
    ASSERT_TRUE(bar.Create(frame, IDD_BORDERED, CBRS_TOP, AFX_IDW_DIALOGBAR));
    frame->RecalcLayout();
    Pump();
    CRect group;
    bar.GetDlgItem(IDC_GROUP)->GetWindowRect(&group);
    bar.ScreenToClient(&group);
    const CPoint inside = group.CenterPoint();
    CDC* dc = bar.GetDC();
    EXPECT_EQ(dc->GetPixel(inside), Stripe(inside.x)) << "the background inside the group box";
    bar.ReleaseDC(dc);
}

constexpr UINT IDD_LABELLED = 0x6A20, IDC_CAPTION = 0x6A21, IDC_CHECK = 0x6A22;

// A label at (4, 3), 30 x 10, and an automatic check box at (40, 2), 70 x 12.
std::vector<uint8_t> LabelledTemplate()
{
    return TwoControlTemplate({0x0000, 0x5000, 4, 3, 30, 10, IDC_CAPTION, 0x82}, {0x0003, 0x5001, 40, 2, 70, 12, IDC_CHECK, 0x80});
}

// Under the skins that paint the bar themselves, a label and a check box show the bar's
// own background: each pixel row inside them is the bar's row just beside them.
TEST_F(ControlBars, LabelsAndCheckBoxesSitOnTheSkinnedBar)
{
    static const bool added =
        base::AddResource(nullptr, RT_DIALOG, MAKEINTRESOURCEW(IDD_LABELLED), LANG_NEUTRAL, LabelledTemplate());
    ASSERT_TRUE(added);
    COXSkinTable table;
    table.AddStandardSkins();
    for (const auto& [name, golden] : {std::pair{L"Office XP", "labelled_bar_xp"}, std::pair{L"Office 2003", "labelled_bar_2003"}}) {
        SCOPED_TRACE(golden);
        ASSERT_TRUE(table.SetCurrentSkin(name));
        SkinInPlace in(table.GetCurrentSkin());
        ASSERT_NE(MakeFrame(), nullptr);
        BorderedBar bar;
        ASSERT_TRUE(bar.Create(frame, IDD_LABELLED, CBRS_TOP | CBRS_GRIPPER, AFX_IDW_DIALOGBAR));
        frame->RecalcLayout();
        Pump();
        HDC screen = ::GetDC(nullptr);
        for (const UINT id : {IDC_CAPTION, IDC_CHECK}) {
            CRect r;
            bar.GetDlgItem(id)->GetWindowRect(&r);
            int wrong = 0;
            for (int y = r.top; y < r.bottom; ++y)
                wrong += ::GetPixel(screen, r.right - 2, y) != ::GetPixel(screen, r.right + 1, y);
            EXPECT_EQ(wrong, 0) << "control " << id << ": rows unlike the bar beside it";
        }
        ::ReleaseDC(nullptr, screen);
        CRect barRect;
        bar.GetWindowRect(&barRect);
        EXPECT_TRUE(MatchesGoldenScreen("frames", golden, barRect));
        frame->DestroyWindow();
        frame = nullptr;
        app.m_pMainWnd = nullptr;
        Pump();
    }
}

} // namespace
} // namespace zyn::test
