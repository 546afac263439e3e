// The program's toolbars: the creation recipe (the caption's ID as the bar's ID whatever
// ID is passed, styles, docking, caption, sizes and colours from the image size, labels
// hidden, the recipe run once), creations that fail, labels switched on and off with the
// bar and its frame laid out again, the bar shown, hidden, floated and brought back by its
// frame's saved layout, and the toolbar registry.
#include <string>
#include <vector>

#include "app/zyncmn_resources.h"
#include "frames/zyn_toolbar.h"
#include "platform/afx/afxres.h"
#include "platform/afx/frame.h"
#include "platform/afx/winapp.h"
#include "platform/comctl/commctrl.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/imagelist.h"
#include "tests/frames/frames_test_support.h"
#include "tests/frames/program_toolbars_ids.h"

namespace zyn::test {
namespace {

// A program toolbar of the test resources; records each run of the recipe's last step.
class CToolsBar : public CZynToolbar {
public:
    explicit CToolsBar(UINT caption = IDS_TB_TOOLS, UINT resource = IDR_TB_TOOLS, int cx = 16, int cy = 15)
        : CZynToolbar(cx, cy), m_caption(caption), m_resource(resource)
    {
    }
    UINT CaptionResourceID() const override { return m_caption; }
    UINT ToolbarResourceID() const override { return m_resource; }
    BOOL DoPostCreate() override { return ++postCreates, CZynToolbar::DoPostCreate(); }
    int postCreates = 0;

private:
    UINT m_caption, m_resource;
};

std::vector<std::wstring> Texts(const CToolBar& bar)
{
    std::vector<std::wstring> out;
    const int n = static_cast<int>(bar.SendMessage(TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < n; ++i)
        out.emplace_back(static_cast<LPCWSTR>(bar.GetButtonText(i)));
    return out;
}

CString WindowText(const CWnd& wnd)
{
    CString s;
    wnd.GetWindowText(s);
    return s;
}

class ProgramToolbars : public FramesTest {
protected:
    void SetUp() override
    {
        FramesTest::SetUp();
        ASSERT_NE(resources::RegisterZynCommonResources(), nullptr);
        std::free(const_cast<wchar_t*>(app.m_pszProfileName));
        app.m_pszProfileName = wcsdup(L"ProgramToolbars.INI");
        m_objects = gdi::LiveObjectCount();
        m_lists = gdi::LiveImageListCount();
    }
    void TearDown() override
    {
        if (frame && ::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        app.m_pMainWnd = nullptr;
        Pump();
        AfxUnlockTempMaps();
        FramesTest::TearDown();
        EXPECT_EQ(gdi::LiveObjectCount(), m_objects) << "GDI objects leaked";
        EXPECT_EQ(gdi::LiveImageListCount(), m_lists) << "image lists leaked";
    }
    // The main frame (600 x 400 at (100, 100)), docking on every side.
    CFrameWnd* MakeFrame()
    {
        if (frame && ::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        frame = new CFrameWnd;   // deletes itself with its window
        if (!frame->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 100, 700, 500)))
            return frame = nullptr;
        frame->EnableDocking(CBRS_ALIGN_ANY);
        app.m_pMainWnd = frame;
        return frame;
    }
    // The bar made on the frame with any ID and docked at the top.
    static bool Dock(CFrameWnd* f, CZynToolbar& bar, UINT nID = 0x7001)
    {
        if (!bar.Create(f, WS_CHILD | WS_VISIBLE | CBRS_TOP, nID))
            return false;
        f->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
        f->RecalcLayout();
        Pump();
        return true;
    }

    CWinApp app{L"ProgramToolbarsTest"};
    CFrameWnd* frame = nullptr;

private:
    size_t m_objects = 0, m_lists = 0;
};

// Expected values from the recipe (button = image + (7, 6), the style bits 0x400034, navy
// and blue texts, labels hidden) and the resources (five items, 12 on the main toolbar).
TEST_F(ProgramToolbars, CreationFollowsTheRecipeOnceOrFails)
{
    ASSERT_NE(MakeFrame(), nullptr);
    CWnd orphan;
    const struct {
        const char* what;
        bool extended, main;
        UINT caption, resource;
        int cx;   // image width; the height is the resources' 15 (20 on the main toolbar)
        CWnd* parent;
        BOOL made;
        const wchar_t* text;
        int items;
        CSize button;
    } rows[] = {
        {"Create", false, false, IDS_TB_TOOLS, IDR_TB_TOOLS, 16, frame, TRUE, L"Door tools", 5, CSize(23, 21)},
        {"CreateEx", true, false, IDS_TB_TOOLS, IDR_TB_TOOLS, 16, frame, TRUE, L"Door tools", 5, CSize(23, 21)},
        {"the main toolbar", false, true, 11383, 10038, 20, frame, TRUE, L"Standard", 12, CSize(27, 26)},
        {"no caption string", false, false, IDS_TB_NOCAPTION, IDR_TB_TOOLS, 16, frame, TRUE, L"", 5, CSize(23, 21)},
        {"no toolbar resource", false, false, IDS_TB_TOOLS, IDR_TB_MISSING, 16, frame, FALSE, nullptr, 0, {}},
        {"images cut for another size", true, false, IDS_TB_TOOLS, IDR_TB_TOOLS, 20, frame, FALSE, nullptr, 5, {}},
        {"no parent window", false, false, IDS_TB_TOOLS, IDR_TB_TOOLS, 16, &orphan, FALSE, nullptr, 0, {}},
    };
    for (const auto& row : rows) {
        CToolsBar tools(row.caption, row.resource, row.cx, 15);
        CToolbarMain main;
        CZynToolbar& bar = row.main ? static_cast<CZynToolbar&>(main) : tools;
        const UINT anyID = 0x7100 + static_cast<UINT>(&row - rows);
        const BOOL made = row.extended
            ? bar.CreateEx(row.parent, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect(0, 0, 0, 0), anyID)
            : bar.Create(row.parent, WS_CHILD | WS_VISIBLE | CBRS_TOP, anyID);
        EXPECT_EQ(made, row.made) << row.what;
        EXPECT_EQ(bar.SendMessage(TB_BUTTONCOUNT, 0, 0), row.items) << row.what;
        EXPECT_EQ(row.main ? 1 : tools.postCreates, row.items ? 1 : 0)
            << row.what << ": the recipe runs once, after loading";
        if (!row.made) {
            bar.DestroyWindow();
            continue;
        }
        EXPECT_EQ(bar.GetDlgCtrlID(), static_cast<int>(row.caption)) << row.what;
        EXPECT_EQ(WindowText(bar), CString(row.text)) << row.what;
        EXPECT_EQ(bar.GetBarStyle() & 0x400034u, 0x400034u) << row.what;
        EXPECT_EQ(bar.m_dwDockStyle & CBRS_ALIGN_ANY, CBRS_ALIGN_ANY) << row.what;
        EXPECT_TRUE(bar.GetDockingFlag()) << row.what;
        EXPECT_EQ(bar.GetButtonsSize(), row.button) << row.what;
        EXPECT_EQ(bar.GetButtonsMinMaxWidth(), CSize(0, row.button.cx)) << row.what;
        EXPECT_EQ(bar.GetDefaultTextColor(), RGB(0, 0, 128)) << row.what;
        EXPECT_EQ(bar.GetHotTextColor(), RGB(0, 0, 255)) << row.what;
        EXPECT_EQ(bar.GetTextType(), COXCoolToolBar::TTID_NOTEXT) << row.what;
        EXPECT_EQ(Texts(bar), std::vector<std::wstring>(static_cast<size_t>(row.items))) << row.what;
        EXPECT_EQ(bar.GetTextRows(), 0) << row.what;
        bar.DestroyWindow();
    }
}

// Labels on: the second lines of the command strings, a button whose command has none
// keeping its own text (also after the labels were off in between, unless the host emptied
// it), one text row, buttons up to 5 x 16 wide; off: empty texts, no row, the recipe's
// 23 x 21. The docked bar's height follows its buttons both ways.
TEST_F(ProgramToolbars, LabelsOnAndOffWithTheFrameLaidOutAgain)
{
    ASSERT_NE(MakeFrame(), nullptr);
    CToolsBar bar;
    ASSERT_TRUE(Dock(frame, bar));
    ASSERT_TRUE(bar.SetButtonText(4, L"Own"));
    CRect hidden;
    bar.GetWindowRect(&hidden);
    const struct {
        const char* what;
        void (*act)(CToolsBar&);
        bool shown;
        const wchar_t* own;   // button 4's text while shown
    } steps[] = {
        {"ShowText(true)", [](CToolsBar& b) { b.ShowText(true); }, true, L"Own"},
        {"ShowText(true) again", [](CToolsBar& b) { b.ShowText(true); }, true, L"Own"},
        {"toggled off", [](CToolsBar& b) { b.ToggleShowText(); }, false, nullptr},
        {"toggled on", [](CToolsBar& b) { b.ToggleShowText(); }, true, L"Own"},
        {"emptied by the host, off and on", [](CToolsBar& b) { b.SetButtonText(4, L""), b.ShowText(false),
            b.ShowText(true); }, true, L""},
        {"ShowText(false)", [](CToolsBar& b) { b.ShowText(false); }, false, nullptr},
    };
    for (const auto& step : steps) {
        step.act(bar);
        Pump();
        EXPECT_EQ(bar.TextIsShown(), step.shown) << step.what;
        EXPECT_EQ(bar.GetTextType(), step.shown ? COXCoolToolBar::TTID_TOOLTIP : COXCoolToolBar::TTID_NOTEXT)
            << step.what;
        std::vector<std::wstring> texts(5);
        if (step.shown)
            texts = {L"Open door", L"Lock", L"", L"Bell", step.own};
        EXPECT_EQ(Texts(bar), texts) << step.what;
        EXPECT_EQ(bar.GetTextRows(), step.shown ? 1 : 0) << step.what;
        EXPECT_EQ(bar.GetButtonsMinMaxWidth(), CSize(0, step.shown ? 80 : 23)) << step.what;
        const CSize button = bar.GetButtonsSize();
        CRect now;
        bar.GetWindowRect(&now);
        EXPECT_TRUE(step.shown ? button.cy > 21 && button.cx <= 80 : button == CSize(23, 21)) << step.what;
        EXPECT_EQ(now.Height() - hidden.Height(), button.cy - 21) << step.what << ": the frame did not lay out again";
    }
}

// The frame shows and hides the bar by its ID (the caption's), floats it under its
// caption, and its saved layout brings the bar back on a rebuilt frame: the ID is the same
// however the bar was made.
TEST_F(ProgramToolbars, ShownHiddenAndFloatedThroughTheFrameAndItsSavedLayout)
{
    ASSERT_NE(MakeFrame(), nullptr);
    auto bar = std::make_unique<CToolsBar>();
    ASSERT_TRUE(Dock(frame, *bar, 0x7001));
    EXPECT_EQ(frame->GetControlBar(IDS_TB_TOOLS), bar.get());
    const struct {
        const char* what;
        void (*act)(CFrameWnd*, CToolsBar&);
        bool visible;
    } steps[] = {
        {"ShowControlBar hides", [](CFrameWnd* f, CToolsBar& b) { f->ShowControlBar(&b, FALSE, FALSE); }, false},
        {"the bar command shows", [](CFrameWnd* f, CToolsBar&) { f->OnBarCheck(IDS_TB_TOOLS); }, true},
        {"the bar command hides", [](CFrameWnd* f, CToolsBar&) { f->OnBarCheck(IDS_TB_TOOLS); }, false},
        {"a delayed show", [](CFrameWnd* f, CToolsBar& b) { f->ShowControlBar(&b, TRUE, TRUE); }, true},
    };
    for (const auto& step : steps) {
        step.act(frame, *bar);
        frame->RecalcLayout();
        Pump();
        EXPECT_EQ(bar->IsWindowVisible() != FALSE, step.visible) << step.what;
    }

    frame->FloatControlBar(bar.get(), CPoint(300, 600));
    Pump();
    ASSERT_TRUE(bar->IsFloating());
    CFrameWnd* floating = bar->GetParentFrame();
    ASSERT_NE(floating, frame);
    EXPECT_EQ(WindowText(*floating), CString(L"Door tools")) << "the floating frame's title";
    frame->ShowControlBar(bar.get(), FALSE, FALSE);
    frame->SaveBarState(L"Bars");

    // A rebuilt frame, the bar made with another ID: the saved layout still finds it.
    bar.reset();
    ASSERT_NE(MakeFrame(), nullptr);
    Pump();
    CToolsBar again;
    ASSERT_TRUE(Dock(frame, again, 0x7777));
    ASSERT_TRUE(again.IsWindowVisible());
    ASSERT_TRUE(frame->LoadBarState(L"Bars"));
    frame->RecalcLayout();
    Pump();
    EXPECT_TRUE(again.IsFloating()) << "the saved place";
    EXPECT_FALSE(again.IsWindowVisible()) << "the saved visibility";
}

// The registry keys toolbars by their control ID, so two classes with one caption collide.
TEST_F(ProgramToolbars, TheRegistryKeysToolbarsByTheCaptionsId)
{
    ASSERT_NE(MakeFrame(), nullptr);
    CToolsBar first, sameCaption, windowless;
    CToolbarMain main;
    ASSERT_TRUE(first.Create(frame, WS_CHILD | CBRS_TOP, 1));
    ASSERT_TRUE(sameCaption.Create(frame, WS_CHILD | CBRS_TOP, 2));
    ASSERT_TRUE(main.Create(frame, WS_CHILD | CBRS_TOP, 3));

    CToolbarMap map;
    const struct {
        const char* what;
        CZynToolbar* bar;
        bool added;
        CZynToolbar* under;   // what the entry returned holds; null for end()
    } rows[] = {
        {"a toolbar", &first, true, &first},
        {"the main toolbar", &main, true, &main},
        {"the same caption", &sameCaption, false, &first},
        {"without a window", &windowless, false, nullptr},
        {"null", nullptr, false, nullptr},
    };
    for (const auto& row : rows) {
        const auto [it, added] = map.Insert(row.bar);
        EXPECT_EQ(added, row.added) << row.what;
        EXPECT_EQ(it == map.end() ? nullptr : it->second, row.under) << row.what;
    }
    ASSERT_EQ(map.size(), 2u);
    EXPECT_EQ(map.begin()->second, &first) << "in ID order: 4301 before 11383";
    EXPECT_EQ(map.Find(11383), &main);
    EXPECT_EQ(map.Find(IDS_TB_NOCAPTION), nullptr);
    for (CWnd* bar : {static_cast<CWnd*>(&first), static_cast<CWnd*>(&sameCaption), static_cast<CWnd*>(&main)})
        bar->DestroyWindow();
}

} // namespace
} // namespace zyn::test
