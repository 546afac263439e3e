// The menu bar as the toolbar skins paint it, before its own class exists: a bar whose
// run-time class is named "COXMenuBar" (a stand-in here) is a menu bar; its texts and
// caption buttons come through the access the menu bar's unit installs (a recording
// stand-in here). The caption buttons of a maximised MDI child are drawn only when the
// bar's frame really is an MDI frame with a maximised active child.
#include <map>
#include <vector>

#include "platform/afx/mdi.h"
#include "platform/afx/winapp.h"
#include "platform/gdi/wingdi.h"
#include "tests/toolbarskins/tbskin_support.h"
#include "toolkit/skins/menubar_paint.h"
#include "toolkit/skins/skin_2003.h"
#include "toolkit/skins/skin_classic.h"

namespace tbtest {
namespace {

// A bar whose run-time class carries the menu bar's name (registered nowhere).
class CFakeMenuBar : public CSkinTestBar {
public:
    static CRuntimeClass classCOXMenuBar;
    CRuntimeClass* GetRuntimeClass() const override { return &classCOXMenuBar; }
};
CRuntimeClass CFakeMenuBar::classCOXMenuBar = {
    "COXMenuBar", static_cast<int>(sizeof(CFakeMenuBar)), 0xFFFF, nullptr, &COXCoolToolBar::GetThisClass, nullptr};

// A bar derived from the menu bar.
class CDerivedMenuBar : public CFakeMenuBar {
public:
    static CRuntimeClass classCDerivedMenuBar;
    CRuntimeClass* GetRuntimeClass() const override { return &classCDerivedMenuBar; }
};
CRuntimeClass* FakeMenuBarClass() { return &CFakeMenuBar::classCOXMenuBar; }
CRuntimeClass CDerivedMenuBar::classCDerivedMenuBar = {
    "CDerivedMenuBar", static_cast<int>(sizeof(CDerivedMenuBar)), 0xFFFF, nullptr, &FakeMenuBarClass, nullptr};

class FakeAccess : public COXMenuBarPaintAccess {
public:
    std::map<int, CString> items;
    std::vector<int> asked;
    bool shows = true;
    OXMENUBARBUTTONS buttons;

    BOOL GetItemText(COXCoolToolBar*, int index, CString& text) override
    {
        asked.push_back(index);
        const auto it = items.find(index);
        if (it == items.end())
            return FALSE;
        text = it->second;
        return TRUE;
    }
    BOOL GetMenuButtons(COXMenuBar*, OXMENUBARBUTTONS& out) override
    {
        out = buttons;
        return shows;
    }
};

class MenuBarTest : public TbSkinTest {
protected:
    void SetUp() override
    {
        TbSkinTest::SetUp();
        m_previous = OXSetMenuBarPaintAccess(&access);
    }
    void TearDown() override
    {
        OXSetMenuBarPaintAccess(m_previous);
        TbSkinTest::TearDown();
    }
    static COXMenuBar* AsMenuBar(CFakeMenuBar& bar) { return reinterpret_cast<COXMenuBar*>(&bar); }

    FakeAccess access;

private:
    COXMenuBarPaintAccess* m_previous = nullptr;
};

TEST_F(MenuBarTest, KnownByTheClassName)
{
    CFakeMenuBar menuBar;
    CDerivedMenuBar derived;
    CSkinTestBar plain;
    EXPECT_TRUE(OXIsMenuBar(&menuBar));
    EXPECT_TRUE(OXIsMenuBar(&derived));
    EXPECT_FALSE(OXIsMenuBar(&plain));
    EXPECT_FALSE(OXIsMenuBar(nullptr));
}

// XP: the button face everywhere (no background colour), no icons, and each drop-down
// item's text from its menu item (command - 1); a hot item's frame is open at the bottom.
TEST_F(MenuBarTest, XPPaintsTheMenuBarInTheButtonFace)
{
    COXSkinXP skin;
    CFakeMenuBar bar;
    ASSERT_TRUE(bar.Make(&parent, CRect(20, 20, 320, 60)));
    bar.skin = skin.GetToolbarSkin();
    bar.Add({CSkinTestBar::Button(1, -1, BTNS_DROPDOWN), CSkinTestBar::Button(2, 0, BTNS_DROPDOWN),
        CSkinTestBar::Button(3, -1, BTNS_DROPDOWN), CSkinTestBar::Button(0, -1, BTNS_DROPDOWN)});
    access.items = {{0, L"File"}, {2, L"Edit"}};
    bar.Send(TB_SETHOTITEM, 0);
    bar.Repaint();
    EXPECT_EQ(ClientPixel(bar, 200, 10), kFace);
    EXPECT_EQ(ClientPixel(bar, 5, 20), kXPBorder) << "the hot item's frame ends a row early";
    EXPECT_EQ(ClientPixel(bar, 5, 21), kFace);
    EXPECT_EQ(ClientPixel(bar, 1, 1), kXPHot);
    // Text pixels: anything but the face in an item that has nothing else to show.
    const auto marked = [&](const CRect& item) {
        int n = 0;
        for (int x = item.left; x < item.right; ++x)
            for (int y = item.top; y < item.bottom; ++y)
                n += ClientPixel(bar, x, y) != kFace;
        return n;
    };
    EXPECT_EQ(marked(bar.Item(1)), 0) << "no icon, and no text for an item the menu lacks";
    EXPECT_GT(marked(bar.Item(2)), 0) << "\"Edit\" is drawn";
    EXPECT_EQ(marked(bar.Item(3)), 0) << "no text for a command that names no item";
    ASSERT_FALSE(access.asked.empty());
    for (int index : access.asked)
        EXPECT_TRUE(index >= 0 && index <= 2) << "asked for item " << index;

    // Without the access a menu bar's buttons show their own toolbar texts.
    OXSetMenuBarPaintAccess(nullptr);
    access.asked.clear();
    bar.SetText(0, L"Own"); // the item with command 0
    bar.Repaint();
    EXPECT_TRUE(access.asked.empty());
    EXPECT_GT(marked(bar.Item(3)), 0);
    OXSetMenuBarPaintAccess(&access);
}

// The caption buttons of a maximised MDI child: drawn (as the skin object's caption
// buttons, or the system's for Classic) only for an MDI frame with a maximised active
// child and a close button to show.
class MenuButtonsTest : public MenuBarTest {
protected:
    void SetUp() override
    {
        MenuBarTest::SetUp();
        app = std::make_unique<CWinApp>(L"TbSkins");
        mdi = new CMDIFrameWnd; // deletes itself with its window
        ASSERT_TRUE(mdi->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 600, 400), nullptr,
            nullptr, 0, nullptr));
        app->m_pMainWnd = mdi;
        child = new CMDIChildWnd; // deletes itself with its window
        ASSERT_TRUE(child->Create(nullptr, L"child", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 150),
            mdi));
        plainFrame = new CFrameWnd;
        ASSERT_TRUE(plainFrame->Create(nullptr, L"Plain", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
        ASSERT_TRUE(bar.Make(&parent, CRect(20, 20, 320, 60)));
        access.buttons.pBar = &bar;
        access.buttons.pFrame = mdi;
        access.buttons.rectClose = CRect(260, 4, 276, 18);
        access.buttons.rectRestore = CRect(242, 4, 258, 18);
        access.buttons.rectMinimize = CRect(226, 4, 242, 18);
    }
    void TearDown() override
    {
        bar.DestroyWindow();
        if (plainFrame->m_hWnd)
            plainFrame->DestroyWindow();
        if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd)
            app->m_pMainWnd->DestroyWindow();
        app.reset();
        MenuBarTest::TearDown();
    }
    void Maximize(bool on)
    {
        if (on)
            mdi->MDIMaximize(child);
        else
            mdi->MDIRestore(child);
        BOOL maximized = FALSE;
        ASSERT_EQ(mdi->MDIGetActive(&maximized), child);
        ASSERT_EQ(maximized != FALSE, on);
    }

    std::unique_ptr<CWinApp> app;
    CMDIFrameWnd* mdi = nullptr;
    CMDIChildWnd* child = nullptr;
    CFrameWnd* plainFrame = nullptr;
    CFakeMenuBar bar;
};

TEST_F(MenuButtonsTest, DrawnOnlyForAMaximisedChildOfAnMdiFrame)
{
    COXSkinClassic classic;
    COXSkinXP xp;
    COXSkin2003 office2003;
    struct Condition {
        const char* name;
        bool maximized;
        bool mdiFrame;
        bool closeShown;
        bool accessShows;
        bool drawn;
    } conditions[] = {
        {"maximised child", true, true, true, true, true},
        {"child not maximised", false, true, true, true, false},
        {"a frame that is no MDI frame", true, false, true, true, false},
        {"no close button", true, true, false, true, false},
        {"the bar shows no buttons", true, true, true, false, false},
    };
    struct SkinRow {
        const char* name;
        COXToolbarSkin* skin;
    } skins[] = {{"Classic", classic.GetToolbarSkin()}, {"XP", xp.GetToolbarSkin()},
        {"2003", office2003.GetToolbarSkin()}};
    for (const SkinRow& s : skins) {
        for (const Condition& c : conditions) {
            SCOPED_TRACE(std::string(s.name) + ": " + c.name);
            Maximize(c.maximized);
            access.buttons.pFrame = c.mdiFrame ? static_cast<CWnd*>(mdi) : plainFrame;
            access.buttons.rectClose = c.closeShown ? CRect(260, 4, 276, 18) : CRect(0, 0, 0, 0);
            access.shows = c.accessShows;
            Sentinel dc(300, 30, kFace);
            s.skin->DrawMenuButtons(dc.dc(), AsMenuBar(bar));
            EXPECT_EQ(dc.Untouched() != 300 * 30, c.drawn);
        }
    }
}

// What is drawn: Classic draws the system's caption buttons, inactive where the child
// lacks the box and pushed where the bar says; XP and 2003 the skin object's flat ones.
TEST_F(MenuButtonsTest, WhatEachSkinDraws)
{
    Maximize(true);
    child->ModifyStyle(WS_MINIMIZEBOX, 0);
    const CRect close(260, 4, 276, 18), restore(242, 4, 258, 18), minimize(226, 4, 242, 18);
    const auto same = [](Sentinel& a, Sentinel& b, const CRect& r) {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (a.at(x, y) != b.at(x, y))
                    return false;
        return true;
    };
    {
        SCOPED_TRACE("Classic");
        COXToolbarSkinClassic skin;
        access.buttons.nPressed = -3;
        Sentinel drawn(300, 30, kFace), want(300, 30, kFace);
        skin.DrawMenuButtons(drawn.dc(), AsMenuBar(bar));
        CRect r = close;
        want.dc()->DrawFrameControl(&r, DFC_CAPTION, DFCS_CAPTIONCLOSE);
        r = restore;
        want.dc()->DrawFrameControl(&r, DFC_CAPTION, DFCS_CAPTIONRESTORE | DFCS_PUSHED);
        r = minimize;
        want.dc()->DrawFrameControl(&r, DFC_CAPTION, DFCS_CAPTIONMIN | DFCS_INACTIVE);
        EXPECT_TRUE(same(drawn, want, close));
        EXPECT_TRUE(same(drawn, want, restore));
        EXPECT_TRUE(same(drawn, want, minimize));
        Sentinel active(300, 30, kFace);
        r = minimize;
        active.dc()->DrawFrameControl(&r, DFC_CAPTION, DFCS_CAPTIONMIN);
        EXPECT_FALSE(same(active, want, minimize)) << "the inactive look differs";
    }
    {
        SCOPED_TRACE("XP");
        COXSkinXP xp;
        Sentinel drawn(300, 30, kFace), want(300, 30, kFace);
        xp.GetToolbarSkin()->DrawMenuButtons(drawn.dc(), AsMenuBar(bar));
        CRect r = close;
        xp.DrawFrameButton(want.dc(), r, DFCS_CAPTIONCLOSE, FALSE, FALSE, kFace, &bar);
        r = restore;
        xp.DrawFrameButton(want.dc(), r, DFCS_CAPTIONRESTORE, FALSE, FALSE, kFace, &bar);
        r = minimize;
        xp.DrawFrameButton(want.dc(), r, DFCS_CAPTIONMIN, FALSE, FALSE, kFace, &bar);
        EXPECT_TRUE(same(drawn, want, CRect(0, 0, 300, 30)));
    }
    {
        SCOPED_TRACE("no restore or minimise button");
        access.buttons.rectRestore.SetRectEmpty();
        access.buttons.rectMinimize.SetRectEmpty();
        COXToolbarSkinClassic skin;
        Sentinel drawn(300, 30, kFace);
        skin.DrawMenuButtons(drawn.dc(), AsMenuBar(bar));
        int outside = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 300; ++x)
                outside += !close.PtInRect(CPoint(x, y)) && drawn.at(x, y) != kFace;
        EXPECT_EQ(outside, 0);
    }
}

// 2003: the menu bar's background continues the frame's dock-bar gradient, 2 pixels
// further left than the frame's edge: the parent (the frame here) is 20 pixels left of
// the bar's window, so client column x shows band column x + 22 of the 640-column half.
TEST_F(MenuBarTest, Office2003BackgroundContinuesTheFrameGradient)
{
    COXSkin2003 skin;
    ASSERT_FALSE(skin.IsThemed());
    CFakeMenuBar bar;
    ASSERT_TRUE(bar.Make(&parent, CRect(20, 20, 320, 60)));
    bar.skin = skin.GetToolbarSkin();
    bar.Add({CSkinTestBar::Button(1, -1, BTNS_DROPDOWN)});
    bar.Repaint();
    // Without a visual style the left colour is the button face and the right one
    // Blend(WINDOW .8, BTNFACE .2); the library's gradient may lie a level below the
    // hand-drawn one, so each channel is allowed one level less.
    for (int x : {30, 100, 286}) {
        const COLORREF want = Lerp(k2003DockbarLeft, k2003DockbarRight, x + 22, 640);
        const COLORREF got = ClientPixel(bar, x, 10);
        for (int shift : {0, 8, 16}) {
            const int w = (want >> shift) & 0xFF, g = (got >> shift) & 0xFF;
            EXPECT_TRUE(g == w || g == w - 1) << "x " << x << ": " << Hex(got) << " for " << Hex(want);
        }
    }
    // The menu bar keeps no rounded body in its non-client area: a floating menu bar's
    // ring and body are all the dock-bar background (the button face).
    Sentinel dc(300, 40);
    const CRect window(0, 0, 300, 40);
    skin.GetToolbarSkin()->DrawNonClientArea(dc.dc(), &window, &bar);
    EXPECT_EQ(dc.at(2, 20), kFace);
    EXPECT_EQ(dc.at(100, 2), kFace);
}

} // namespace
} // namespace tbtest
