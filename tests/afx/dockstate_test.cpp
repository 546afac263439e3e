// The dock state: saved through the application profile, applied to a frame built again
// (every bar back on its side, row, order, place, floating position and visibility),
// bars the frame no longer has skipped, malformed state refused whole with the frame
// left as it was; and dialog bars built from a template, their controls updated in the
// idle pass and their commands reaching the frame.
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>

#include "platform/afx/dlgbar.h"
#include "platform/afx/dockstate.h"
#include "platform/base/resource.h"
#include "platform/base/tchar.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/user/button.h"
#include "platform/user/dialog.h"
#include "tests/afx/dock_test_support.h"

namespace zyn::test {
namespace {

constexpr UINT ID_A = 0xE860, ID_B = 0xE861, ID_C = 0xE862, ID_D = 0xE863, ID_E = 0xE864;
const wchar_t* const kLayout = L"Layout";

// Where a bar is, as the user would describe it.
struct Place {
    UINT side = 0;          // dock bar ID, 0xE81F floating
    int index = -1;         // position in the dock bar's array
    CRect rect;             // in the dock bar (docked) or the floating frame's window (screen)
    bool visible = false;
    bool operator==(const Place&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Place& p)
{
    return os << "side " << std::hex << p.side << std::dec << " at " << p.index << " (" << p.rect.left << ","
              << p.rect.top << "," << p.rect.right << "," << p.rect.bottom << ") " << (p.visible ? "shown" : "hidden");
}

Place PlaceOf(const CControlBar& bar)
{
    Place p;
    p.visible = bar.IsWindowVisible() != FALSE;
    if (!bar.m_pDockBar)
        return p;
    p.side = static_cast<UINT>(bar.m_pDockBar->GetDlgCtrlID());
    p.index = bar.m_pDockBar->FindBar(const_cast<CControlBar*>(&bar));
    if (bar.IsFloating()) {
        p.rect = ScreenRect(*bar.GetParentFrame());
        p.visible = p.visible && bar.GetParentFrame()->IsWindowVisible();
    } else {
        p.rect = RectIn(*bar.m_pDockBar, bar);
    }
    return p;
}

class StateTest : public DockTest {
protected:
    void SetUp() override
    {
        DockTest::SetUp();
        std::free(const_cast<wchar_t*>(app.m_pszProfileName));
        app.m_pszProfileName = wcsdup(L"DockState.INI");
    }
    // A frame with five bars, all docked at the top on rows of their own (the default
    // layout a program sets up before it loads a saved one); `skip` is left out.
    void Build(UINT skip = 0)
    {
        bars.clear();
        ASSERT_TRUE(MakeFrame());
        frame->EnableDocking(CBRS_ALIGN_ANY);
        for (UINT id : {ID_A, ID_B, ID_C, ID_D, ID_E}) {
            if (id == skip)
                continue;
            auto bar = std::make_unique<CTestBar>(CSize(100, 30));
            ASSERT_TRUE(bar->Make(frame, id, CBRS_TOP));
            bar->EnableDocking(CBRS_ALIGN_ANY);
            frame->DockControlBar(bar.get());
            bars[id] = std::move(bar);
        }
        frame->RecalcLayout();
    }
    // The user's layout: a and b on one row at the top (b at x 150), c on the left, d
    // floating at (760, 560), e at the bottom and hidden.
    void Arrange()
    {
        CDockBar* top = Side(AFX_IDW_DOCKBAR_TOP);
        frame->DockControlBar(bars[ID_A].get(), top);
        frame->RecalcLayout();
        CRect r(150, 0, 250, 30);
        top->ClientToScreen(&r);
        frame->DockControlBar(bars[ID_B].get(), top, &r);
        frame->DockControlBar(bars[ID_C].get(), AFX_IDW_DOCKBAR_LEFT);
        frame->FloatControlBar(bars[ID_D].get(), CPoint(760, 560));
        frame->DockControlBar(bars[ID_E].get(), AFX_IDW_DOCKBAR_BOTTOM);
        frame->ShowControlBar(bars[ID_E].get(), FALSE, FALSE);
        frame->RecalcLayout();
        Idle(app);
    }
    std::map<UINT, Place> Places()
    {
        std::map<UINT, Place> out;
        for (auto& [id, bar] : bars)
            out[id] = PlaceOf(*bar);
        return out;
    }
    void Rebuild(UINT skip = 0)
    {
        frame->DestroyWindow();
        frame = nullptr;
        Pump();
        Build(skip);
    }
public:
    using DockTest::app;   // the spoiling steps below reach the profile
    // The profile section that holds the record of bar `id`.
    CString SectionOf(UINT id)
    {
        const int n = static_cast<int>(app.GetProfileInt(L"Layout-Summary", L"Bars", 0));
        for (int i = 0; i < n; ++i) {
            CString s;
            s.Format(L"Layout-Bar%d", i);
            if (app.GetProfileInt(s, L"BarID", 0) == id)
                return s;
        }
        ADD_FAILURE() << "no record for " << id;
        return L"none";
    }

    std::map<UINT, std::unique_ptr<CTestBar>> bars;
};

TEST_F(StateTest, SavedLayoutComesBackOnARebuiltFrame)
{
    Build();
    Arrange();
    const auto saved = Places();
    // Worked by hand: b keeps x 150 on a's row; c is the left side's only bar; e stays in
    // the bottom array while hidden.
    EXPECT_EQ(saved.at(ID_A), (Place{AFX_IDW_DOCKBAR_TOP, 1, CRect(-2, -2, 98, 28), true}));
    EXPECT_EQ(saved.at(ID_B), (Place{AFX_IDW_DOCKBAR_TOP, 2, CRect(150, -2, 250, 28), true}));
    EXPECT_EQ(saved.at(ID_C).side, AFX_IDW_DOCKBAR_LEFT);
    EXPECT_EQ(saved.at(ID_D).side, AFX_IDW_DOCKBAR_FLOAT);
    EXPECT_EQ(saved.at(ID_D).rect.TopLeft(), CPoint(760, 560));
    EXPECT_EQ(saved.at(ID_E), (Place{AFX_IDW_DOCKBAR_BOTTOM, 1, saved.at(ID_E).rect, false}));
    frame->SaveBarState(kLayout);

    Rebuild();
    EXPECT_NE(Places(), saved) << "the default layout differs";
    ASSERT_TRUE(frame->LoadBarState(kLayout));
    frame->RecalcLayout();
    Idle(app);
    const auto loaded = Places();
    for (const auto& [id, place] : saved)
        EXPECT_EQ(loaded.at(id), place) << std::hex << id;
    EXPECT_EQ(bars[ID_D]->m_pDockContext->m_uMRUDockID, AFX_IDW_DOCKBAR_TOP)
        << "the floating bar still knows where it was docked";

    // Saving a shorter state removes the sections the longer one left.
    Rebuild(ID_E);
    frame->SaveBarState(kLayout);
    const int n = static_cast<int>(app.GetProfileInt(L"Layout-Summary", L"Bars", 0));
    CString beyond;
    beyond.Format(L"Layout-Bar%d", n);
    EXPECT_EQ(app.GetProfileInt(beyond, L"BarID", 12345), 12345u);
}

// A floating bar saved at a place no monitor shows (a monitor that went, or a damaged
// value within the coordinate cap) comes back moved the least distance onto the work area.
TEST_F(StateTest, AFloatingBarSavedOffEveryScreenComesBackOntoIt)
{
    Build();
    Arrange();
    frame->SaveBarState(kLayout);
    app.WriteProfileInt(SectionOf(AFX_IDW_DOCKBAR_FLOAT), L"XPos", 30000);
    app.WriteProfileInt(SectionOf(AFX_IDW_DOCKBAR_FLOAT), L"YPos", 30000);
    Rebuild();
    ASSERT_TRUE(frame->LoadBarState(kLayout));
    Idle(app);
    CFrameWnd* pFloat = bars[ID_D]->GetDockingFrame();
    ASSERT_NE(pFloat, frame);
    CRect rect;
    pFloat->GetWindowRect(&rect);
    EXPECT_EQ(rect.BottomRight(), CPoint(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
}

TEST_F(StateTest, RecordsOfMissingBarsAreSkippedWithNothingLeft)
{
    Build();
    Arrange();
    const auto saved = Places();
    frame->SaveBarState(kLayout);
    // Without c (docked left) and d (floating): the others come back, no empty floating
    // frame is kept for d.
    Rebuild(ID_D);
    bars.erase(ID_C);   // the bar object and its window go
    ASSERT_EQ(frame->GetControlBar(ID_C), nullptr);
    ASSERT_TRUE(frame->LoadBarState(kLayout));
    frame->RecalcLayout();
    for (UINT id : {ID_A, ID_B, ID_E})
        EXPECT_EQ(PlaceOf(*bars[id]), saved.at(id)) << std::hex << id;
    int owned = 0;
    for (HWND h = GetWindow(GetDesktopWindow(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        owned += GetWindow(h, GW_OWNER) == frame->m_hWnd;
    EXPECT_EQ(owned, 0) << "no floating frame without a bar";
    EXPECT_EQ(Side(AFX_IDW_DOCKBAR_LEFT)->GetBarCount(), 1) << "the missing bar's entry is dropped";
}

TEST_F(StateTest, MalformedStateIsRefusedWholeAndTheFrameIsLeftAlone)
{
    Build();
    Arrange();
    frame->SaveBarState(kLayout);
    const auto arranged = Places();
    struct Row {
        const char* name;
        std::function<void(StateTest&)> spoil;
        const wchar_t* entry;   // the entry the refusal names ("": nothing saved, none)
    };
    const Row rows[] = {
        {"summary missing", [](StateTest& t) { t.app.WriteProfileString(L"Layout-Summary", nullptr, nullptr); }, L""},
        {"count above the cap", [](StateTest& t) { t.app.WriteProfileInt(L"Layout-Summary", L"Bars", 513); }, L"Bars"},
        {"count beyond the sections",
            [](StateTest& t) {
                t.app.WriteProfileInt(L"Layout-Summary", L"Bars",
                    static_cast<int>(t.app.GetProfileInt(L"Layout-Summary", L"Bars", 0)) + 1);
            }, L"BarID"},
        {"no screen size", [](StateTest& t) { t.app.WriteProfileString(L"Layout-Summary", L"ScreenCX", nullptr); }, L"ScreenCX"},
        {"bar ID zero", [](StateTest& t) { t.app.WriteProfileInt(t.SectionOf(ID_A), L"BarID", 0); }, L"BarID"},
        {"bar ID too large", [](StateTest& t) { t.app.WriteProfileInt(t.SectionOf(ID_A), L"BarID", 0x10000); }, L"BarID"},
        {"visible not a flag", [](StateTest& t) { t.app.WriteProfileInt(t.SectionOf(ID_B), L"Visible", 2); }, L"Visible"},
        {"coordinate beyond the cap", [](StateTest& t) { t.app.WriteProfileInt(t.SectionOf(ID_B), L"XPos", 40000); }, L"XPos"},
        {"a plain bar floating", [](StateTest& t) { t.app.WriteProfileInt(t.SectionOf(ID_A), L"Floating", 1); }, L"Floating"},
        {"a docked dock bar with the floating ID",
            [](StateTest& t) { t.app.WriteProfileInt(t.SectionOf(AFX_IDW_DOCKBAR_TOP), L"BarID", AFX_IDW_DOCKBAR_FLOAT); }, L"BarID"},
        {"rectangle inside out",
            [](StateTest& t) {
                t.app.WriteProfileInt(t.SectionOf(ID_A), L"MRUDockLeftPos", 500);
                t.app.WriteProfileInt(t.SectionOf(ID_A), L"MRUDockRightPos", 10);
            }, L"MRUDockRightPos"},
        {"float style with foreign bits",
            [](StateTest& t) { t.app.WriteProfileInt(t.SectionOf(ID_A), L"MRUFloatStyle", 0x00800000); }, L"MRUFloatStyle"},
        {"docking values missing",
            [](StateTest& t) { t.app.WriteProfileString(t.SectionOf(ID_A), L"MRUFloatYPos", nullptr); }, L"MRUFloatYPos"},
        {"list entry out of range",
            [](StateTest& t) { t.app.WriteProfileInt(t.SectionOf(AFX_IDW_DOCKBAR_TOP), L"Bar#0", 0x20000); }, L"Bar#0"},
        {"list longer than the cap",
            [](StateTest& t) { t.app.WriteProfileInt(t.SectionOf(AFX_IDW_DOCKBAR_TOP), L"Bars", 5000); }, L"Bars"},
        {"list truncated",
            [](StateTest& t) { t.app.WriteProfileString(t.SectionOf(AFX_IDW_DOCKBAR_TOP), L"Bar#1", nullptr); }, L"Bar#1"},
    };
    for (const Row& row : rows) {
        frame->SaveBarState(kLayout);
        row.spoil(*this);
        CDockState state;
        EXPECT_FALSE(state.LoadState(kLayout)) << row.name;
        EXPECT_EQ(state.GetRefusedEntry(), CString(row.entry)) << row.name;
        EXPECT_EQ(state.GetRefusedSection().IsEmpty(), !*row.entry) << row.name;
        EXPECT_EQ(state.m_arrBarInfo.GetSize(), 0) << row.name << ": nothing of it is kept";
        EXPECT_FALSE(frame->LoadBarState(kLayout)) << row.name;
        frame->RecalcLayout();
        EXPECT_EQ(Places(), arranged) << row.name;
    }
    // The unspoilt state loads.
    frame->SaveBarState(kLayout);
    CDockState state;
    EXPECT_TRUE(state.LoadState(kLayout));
    EXPECT_EQ(state.GetScreenSize(), CSize(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
}

// ---- dialog bars ---------------------------------------------------------------------------------------------------

constexpr UINT IDD_BAR = 9100, IDC_NAME = 300, IDC_GO = 301, IDC_STOP = 302, IDC_MISSING = 303;

// An in-memory template: 200 x 20 dialog units, an edit and three push buttons.
std::vector<uint8_t> BarTemplate()
{
    std::vector<uint16_t> w;
    auto dword = [&](DWORD v) {
        w.push_back(static_cast<uint16_t>(v & 0xFFFF));
        w.push_back(static_cast<uint16_t>(v >> 16));
    };
    auto align = [&] {
        if (w.size() % 2)
            w.push_back(0);
    };
    dword(WS_CHILD | WS_VISIBLE);
    dword(0);
    w.push_back(4);
    for (int v : {0, 0, 200, 20})
        w.push_back(static_cast<uint16_t>(v));
    w.push_back(0);   // menu
    w.push_back(0);   // class
    w.push_back(0);   // title
    struct Item {
        UINT id;
        uint16_t cls;
        const wchar_t* text;
        int x;
    };
    for (const Item& item : {Item{IDC_NAME, 0x81, L"", 2}, Item{IDC_GO, 0x80, L"Go", 70},
             Item{IDC_STOP, 0x80, L"Stop", 112}, Item{IDC_MISSING, 0x80, L"Other", 154}}) {
        align();
        dword(WS_CHILD | WS_VISIBLE | (item.cls == 0x80 ? BS_PUSHBUTTON : 0));
        dword(0);
        for (int v : {item.x, 2, 40, 12})
            w.push_back(static_cast<uint16_t>(v));
        w.push_back(static_cast<uint16_t>(item.id));
        w.push_back(0xFFFF);
        w.push_back(item.cls);
        for (const wchar_t* p = item.text; *p; ++p)
            w.push_back(static_cast<uint16_t>(*p));
        w.push_back(0);
        w.push_back(0);   // no creation data
    }
    std::vector<uint8_t> bytes(w.size() * 2);
    std::memcpy(bytes.data(), w.data(), bytes.size());
    return bytes;
}

class CCommandFrame : public CFrameWnd {
public:
    int stops = 0;
    afx_msg void OnUpdateGo(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    afx_msg void OnStop() { ++stops; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCommandFrame, CFrameWnd)
    ON_UPDATE_COMMAND_UI(IDC_GO, &CCommandFrame::OnUpdateGo)
    ON_COMMAND(IDC_STOP, &CCommandFrame::OnStop)
END_MESSAGE_MAP()

class CInitBar : public CDialogBar {
public:
    int inits = 0;
    afx_msg LRESULT OnInit(WPARAM wParam, LPARAM lParam)
    {
        ++inits;
        return CDialogBar::OnInitDialog(wParam, lParam);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CInitBar, CDialogBar)
    ON_MESSAGE(WM_INITDIALOG, &CInitBar::OnInit)
END_MESSAGE_MAP()

TEST_F(DockTest, DialogBarFromATemplateWithItsControlsUpdatedWhenIdle)
{
    static const bool added = [] {
        return base::AddResource(nullptr, RT_DIALOG, MAKEINTRESOURCEW(IDD_BAR), LANG_NEUTRAL, BarTemplate());
    }();
    ASSERT_TRUE(added);
    auto* cmd = new CCommandFrame;
    ASSERT_TRUE(cmd->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 100, 700, 500)));
    frame = cmd;
    app.m_pMainWnd = frame;
    CInitBar bar;
    EXPECT_FALSE(bar.Create(frame, 9999, CBRS_TOP, AFX_IDW_DIALOGBAR)) << "no such template";
    ASSERT_TRUE(bar.Create(frame, IDD_BAR, CBRS_TOP, AFX_IDW_DIALOGBAR));
    EXPECT_EQ(bar.inits, 1) << "WM_INITDIALOG reached the bar's map";
    EXPECT_EQ(bar.GetDlgCtrlID(), static_cast<int>(AFX_IDW_DIALOGBAR));
    EXPECT_EQ(frame->GetControlBar(AFX_IDW_DIALOGBAR), &bar);
    // The template's size in pixels, from the dialog base units of the system font.
    const LONG units = GetDialogBaseUnits();
    const CSize expected(MulDiv(200, LOWORD(units), 4), MulDiv(20, HIWORD(units), 8));
    EXPECT_EQ(bar.m_sizeDefault, expected);
    EXPECT_EQ(bar.CalcFixedLayout(FALSE, TRUE), expected);
    EXPECT_EQ(bar.CalcFixedLayout(TRUE, TRUE), CSize(32767, expected.cy));
    EXPECT_EQ(bar.CalcFixedLayout(TRUE, FALSE), CSize(expected.cx, 32767));
    frame->RecalcLayout();
    CRect c;
    frame->GetClientRect(&c);
    EXPECT_EQ(RectIn(*frame, bar), CRect(0, 0, c.Width(), expected.cy)) << "stretched along the top";

    Idle(app);
    EXPECT_TRUE(IsWindowEnabled(bar.GetDlgItem(IDC_NAME)->m_hWnd)) << "an edit is never disabled for want of a handler";
    EXPECT_FALSE(IsWindowEnabled(bar.GetDlgItem(IDC_GO)->m_hWnd)) << "its update handler disabled it";
    EXPECT_TRUE(IsWindowEnabled(bar.GetDlgItem(IDC_STOP)->m_hWnd)) << "it has a command handler";
    EXPECT_FALSE(IsWindowEnabled(bar.GetDlgItem(IDC_MISSING)->m_hWnd)) << "a button nobody handles";

    // A button's command goes to the frame.
    bar.GetDlgItem(IDC_STOP)->SendMessage(BM_CLICK);
    EXPECT_EQ(cmd->stops, 1);

    // The bar paints in the button-face colour.
    Pump();
    frame->UpdateWindow();
    bar.UpdateWindow();
    CRect br = ScreenRect(bar);
    const std::vector<COLORREF> px = ScreenPixels(CRect(br.right - 4, br.top + 2, br.right - 3, br.top + 3));
    EXPECT_EQ(px.at(0), GetSysColor(COLOR_BTNFACE));
}

} // namespace
} // namespace zyn::test
