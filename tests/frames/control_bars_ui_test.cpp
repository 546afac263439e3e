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
#include "platform/base/resource.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/paint.h"
#include "platform/user/menu.h"
#include "tests/frames/frames_test_support.h"
#include "toolkit/skins/skin.h"
#include "toolkit/skins/skin_table.h"

namespace zyn::test {
namespace {

constexpr UINT IDD_PANE = 0x6A00;
constexpr UINT IDC_LABEL = 0x6A01;
constexpr UINT IDC_FIELD = 0x6A02;

// 120 x 30 dialog units: an empty label at (4, 4) 60 x 10 and an edit beside it.
std::vector<uint8_t> PaneTemplate()
{
    std::vector<uint16_t> w;
    auto dword = [&](DWORD v) {
        w.push_back(static_cast<uint16_t>(v & 0xFFFF));
        w.push_back(static_cast<uint16_t>(v >> 16));
    };
    dword(WS_CHILD | WS_VISIBLE);
    dword(0);
    w.push_back(2);
    for (int v : {0, 0, 120, 30, 0, 0, 0})   // rectangle, no menu, class, title
        w.push_back(static_cast<uint16_t>(v));
    for (const auto& [id, cls, x] : {std::tuple{IDC_LABEL, 0x82, 4}, std::tuple{IDC_FIELD, 0x81, 70}}) {
        if (w.size() % 2)
            w.push_back(0);
        dword(WS_CHILD | WS_VISIBLE);
        dword(0);
        for (int v : {x, 4, 44 + (x == 4 ? 20 : 0), 10})
            w.push_back(static_cast<uint16_t>(v));
        w.push_back(static_cast<uint16_t>(id));
        w.push_back(0xFFFF);
        w.push_back(static_cast<uint16_t>(cls));
        w.push_back(0);   // no text
        w.push_back(0);   // no creation data
    }
    const auto* bytes = reinterpret_cast<const uint8_t*>(w.data());
    return {bytes, bytes + w.size() * 2};
}

// The colour of the recording skin's background at a bar client column: 3-pixel
// stripes cycling through 20 reds.
COLORREF Stripe(int x) { return RGB(12 * ((x / 3) % 20), 40, 200); }

// Records what the bar asks of its skin and paints the stripes as its background.
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
    void DrawGripper(CDC*, const RECT* rect, CDialogBar*) override
    {
        calls.push_back(L"gripper " + std::to_wstring(rect->right) + L"x" + std::to_wstring(rect->bottom));
    }
    void DrawNonClientArea(CDC*, const RECT*, CDialogBar*) override {}
    BOOL CallOnEraseBkgnd() override { return TRUE; }
    std::vector<std::wstring> calls;
};

// A skin of the test's making: only a dialog-bar skin, or none at all.
class TestSkin : public COXSkin {
public:
    explicit TestSkin(COXDialogBarSkin* pDialogBarSkin)
    {
        m_strName = L"Test";
        m_pDialogBarSkin.reset(pDialogBarSkin);
    }
};

COXSkin* g_skin = nullptr;
COXSkin* CurrentTestSkin() { return g_skin; }

// The skin the bars find while it lives; none after.
class SkinInPlace {
public:
    explicit SkinInPlace(COXSkin* pSkin)
    {
        g_skin = pSkin;
        OXSetSkinSource(&CurrentTestSkin);
    }
    ~SkinInPlace()
    {
        OXSetSkinSource(nullptr);
        g_skin = nullptr;
    }
};

// A visual-styles module answering IsThemeActive with `active`.
class StylesModule {
public:
    StylesModule() : m_module(base::RegisterBuiltinModule(L"UxTheme.dll", {{"IsThemeActive", base::ExportAddress(&Active)}})) {}
    ~StylesModule() { base::UnregisterBuiltinModule(m_module); }
    StylesModule(const StylesModule&) = delete;
    StylesModule& operator=(const StylesModule&) = delete;
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
        static const bool added = [] {
            return base::AddResource(nullptr, RT_DIALOG, MAKEINTRESOURCEW(IDD_PANE), LANG_NEUTRAL, PaneTemplate());
        }();
        ASSERT_TRUE(added);
        OXSetSkinSource(nullptr);
        m_objects = gdi::LiveObjectCount();
    }
    void TearDown() override
    {
        for (CFrameWnd* f : {frame, other}) {
            if (f && ::IsWindow(f->m_hWnd))
                f->DestroyWindow();
        }
        app.m_pMainWnd = nullptr;
        Pump();
        AfxUnlockTempMaps();
        FramesTest::TearDown();
        EXPECT_EQ(gdi::LiveObjectCount(), m_objects) << "GDI objects leaked";
    }
    CFrameWnd* MakeFrame(bool main = true)
    {
        auto* f = new CFrameWnd;
        if (!f->Create(nullptr, main ? L"Main" : L"Other", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                main ? CRect(100, 100, 700, 500) : CRect(720, 100, 1200, 500)))
            return nullptr;
        f->EnableDocking(CBRS_ALIGN_ANY);
        (main ? frame : other) = f;
        if (main)
            app.m_pMainWnd = f;
        return f;
    }
    // A bar made on a frame, docked at its top.
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
    CFrameWnd* frame = nullptr;
    CFrameWnd* other = nullptr;

private:
    size_t m_objects = 0;
};

TEST_F(ControlBars, TheDialogBarSkinIsTheCurrentSkinsElseTheBarsOwnClassicOne)
{
    ASSERT_NE(MakeFrame(), nullptr);
    PaneBar bar;
    ASSERT_TRUE(MakeBar(bar, frame));

    // No current skin: a Classic skin of the bar's own, made once and kept.
    COXDialogBarSkin* own = bar.GetDialogBarSkin();
    EXPECT_EQ(typeid(*own), typeid(COXDialogBarSkinClassic));
    EXPECT_EQ(bar.GetDialogBarSkin(), own);

    COXSkinTable table;
    table.AddStandardSkins();
    ASSERT_TRUE(table.SetCurrentSkin(L"Office XP"));
    TestSkin bare(nullptr);
    const struct {
        const char* what;
        COXSkin* skin;
        COXDialogBarSkin* want;
    } rows[] = {
        {"Office XP current", table.GetCurrentSkin(), table.GetCurrentSkin()->GetDialogBarSkin()},
        {"a skin without a dialog-bar skin", &bare, own},
        {"no skin again", nullptr, own},
    };
    for (const auto& row : rows) {
        SkinInPlace in(row.skin);
        EXPECT_EQ(bar.GetDialogBarSkin(), row.want) << row.what;
    }

    // A bar first painted under a skin has made no skin of its own.
    PaneBar second;
    {
        SkinInPlace in(table.GetCurrentSkin());
        ASSERT_TRUE(second.Create(frame, IDD_PANE, CBRS_BOTTOM, AFX_IDW_DIALOGBAR + 1));
        second.UpdateWindow();
        EXPECT_FALSE(second.HasFallbackSkin());
    }
}

// The skin paints the background and then the gripper over the whole client area; a
// label shows that background while a visual style is active, the face colour otherwise,
// and WM_THEMECHANGED makes the bar ask again.
TEST_F(ControlBars, PaintingThroughTheSkinAndLabelsOnThePaintedBackground)
{
    auto* recording = new RecordingSkin;
    TestSkin skin(recording);
    SkinInPlace in(&skin);
    ASSERT_NE(MakeFrame(), nullptr);
    PaneBar bar;
    ASSERT_TRUE(MakeBar(bar, frame, CBRS_TOP | CBRS_GRIPPER));
    EXPECT_TRUE(bar.IsGripper());
    CRect client;
    bar.GetClientRect(&client);
    recording->calls.clear();
    bar.Invalidate();
    bar.UpdateWindow();
    ASSERT_GE(recording->calls.size(), 2u);
    EXPECT_EQ(recording->calls[0], L"background");
    EXPECT_EQ(recording->calls[1],
        L"gripper " + std::to_wstring(client.Width()) + L"x" + std::to_wstring(client.Height()));

    CWnd* label = bar.GetDlgItem(IDC_LABEL);
    ASSERT_NE(label, nullptr);
    CRect lr;
    label->GetWindowRect(&lr);
    bar.ScreenToClient(&lr);
    ASSERT_GT(lr.Width(), 6);
    // The label's row of pixels, screen coordinates, and what each shows.
    const auto labelRow = [&] {
        std::vector<COLORREF> px;
        CRect s = lr;
        bar.ClientToScreen(&s);
        HDC screen = ::GetDC(nullptr);
        for (int x = s.left; x < s.right; ++x)
            px.push_back(::GetPixel(screen, x, s.top + 2));
        ::ReleaseDC(nullptr, screen);
        return px;
    };
    const auto repaint = [&] {
        label->Invalidate();
        Pump();
    };
    std::vector<COLORREF> stripes, face(static_cast<size_t>(lr.Width()), ::GetSysColor(COLOR_BTNFACE));
    for (int x = lr.left; x < lr.right; ++x)
        stripes.push_back(Stripe(x));

    repaint();
    EXPECT_EQ(labelRow(), face) << "no visual-styles module";
    {
        StylesModule styles;
        StylesModule::active = TRUE;
        repaint();
        EXPECT_EQ(labelRow(), face) << "the answer is kept until the theme changes";
        bar.SendMessage(WM_THEMECHANGED);
        repaint();
        EXPECT_EQ(labelRow(), stripes) << "style active";
        EXPECT_TRUE(bar.m_themedBackground.HasBrush());

        // An edit keeps its own colours.
        CDC* pDC = CDC::FromHandle(::GetDC(bar.m_hWnd));
        const HBRUSH editBrush = reinterpret_cast<HBRUSH>(bar.SendMessage(WM_CTLCOLOREDIT,
            reinterpret_cast<WPARAM>(pDC->GetSafeHdc()), reinterpret_cast<LPARAM>(bar.GetDlgItem(IDC_FIELD)->m_hWnd)));
        ::ReleaseDC(bar.m_hWnd, pDC->GetSafeHdc());
        EXPECT_NE(editBrush, bar.m_themedBackground.GetCtlColorBrush(nullptr, nullptr));

        StylesModule::active = FALSE;
        bar.SendMessage(WM_THEMECHANGED);
        EXPECT_FALSE(bar.m_themedBackground.HasBrush()) << "the picture outlived the theme change";
        repaint();
        EXPECT_EQ(labelRow(), face) << "style switched off";
        StylesModule::active = TRUE;
    }
    bar.DestroyWindow();
}

TEST_F(ControlBars, CreateRunsTheHookOnceAndSucceedsOnlyWithIt)
{
    ASSERT_NE(MakeFrame(), nullptr);
    const struct {
        const char* what;
        bool byName;          // the string form with the template's resource ID
        UINT templ;
        BOOL hook;            // what the derived hook answers
        BOOL created;
        int inits;
        bool window;
    } rows[] = {
        {"by ID, hook succeeds", false, IDD_PANE, TRUE, TRUE, 1, true},
        {"by name, hook succeeds", true, IDD_PANE, TRUE, TRUE, 1, true},
        {"hook fails: the window stays", false, IDD_PANE, FALSE, FALSE, 1, true},
        {"no such template: no hook", false, 0x6AFF, TRUE, FALSE, 0, false},
        {"no such template by name", true, 0x6AFF, TRUE, FALSE, 0, false},
    };
    for (const auto& row : rows) {
        PaneBar bar;
        bar.initResult = row.hook;
        const BOOL created = row.byName ? bar.Create(frame, MAKEINTRESOURCEW(row.templ), CBRS_TOP, AFX_IDW_DIALOGBAR)
                                        : bar.Create(frame, row.templ, CBRS_TOP, AFX_IDW_DIALOGBAR);
        EXPECT_EQ(created, row.created) << row.what;
        EXPECT_EQ(bar.inits, row.inits) << row.what;
        EXPECT_EQ(::IsWindow(bar.m_hWnd) != FALSE, row.window) << row.what;
        if (row.inits) {
            EXPECT_TRUE(bar.windowAtInit) << row.what;
            EXPECT_EQ(bar.exchanges, std::vector<bool>{false}) << row.what << ": the controls take the members' values";
        }
        if (::IsWindow(bar.m_hWnd))
            bar.DestroyWindow();
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
    ASSERT_NE(std::find(mainMenu.begin(), mainMenu.end(), static_cast<UINT>(SC_CLOSE)), mainMenu.end());

    inMain.DisableCloseButton();
    inOther.DisableCloseButton();
    EXPECT_EQ(MenuOf(frame), mainMenu) << "docked in the main frame";
    EXPECT_EQ(MenuOf(other), otherMenu) << "docked in another frame";

    frame->FloatControlBar(&inMain, CPoint(300, 600));
    Pump();
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
    ASSERT_TRUE(first.Create(frame, L"First", 0x120, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 100, 80)));
    ASSERT_TRUE(second.Create(frame, L"Second", 0x110, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 100, 80)));
    ASSERT_TRUE(same.Create(frame, L"Same", 0x120, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 100, 80)));

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
    EXPECT_EQ(map.size(), 2u);
    EXPECT_EQ(map.begin()->first, 0x110u) << "in ID order";
    const CCtrlbarMap copy = map;
    EXPECT_EQ(copy.Find(0x120), &first);
    EXPECT_EQ(copy.Find(0x110), &second);
    EXPECT_EQ(copy.Find(0x130), nullptr);
    for (CZynCtrlBar* bar : {&first, &second, &same})
        bar->DestroyWindow();
    EXPECT_EQ(map.Find(0x120), &first) << "the registry does not follow the windows";
}

} // namespace
} // namespace zyn::test
