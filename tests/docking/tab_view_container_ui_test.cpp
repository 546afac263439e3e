// The 3D tab view container: pages from windows and from a view class (the active view's
// document, WM_INITIALUPDATE once), the active page kept through inserts and deletes, IDs
// of destroyed pages reused once, a class page that cannot be made leaving nothing, the
// placeholder tab after a lone wide tab, a drag over the tabs activating pages, and
// WM_DESTROY freeing every page (the fixture finds no window, object or GDI leak).
#include <string>
#include <vector>

#include "platform/afx/doc.h"
#include "platform/afx/view.h"
#include "tests/docking/tab_test_support.h"
#include "toolkit/docking/tab_view_container.h"

namespace docktest {
namespace {

class CountedView : public CView {
    DECLARE_DYNCREATE(CountedView)
public:
    CountedView() { ++alive; }
    ~CountedView() override { --alive; }
    void OnDraw(CDC*) override {}
    void OnInitialUpdate() override { ++initialUpdates; }
    int initialUpdates = 0;
    static inline int alive = 0;
};
IMPLEMENT_DYNCREATE(CountedView, CView)

// A view whose window refuses to be made (it deletes itself, as views do).
class RefusedView : public CView {
    DECLARE_DYNCREATE(RefusedView)
public:
    RefusedView() { ++alive; }
    ~RefusedView() override { --alive; }
    void OnDraw(CDC*) override {}
    BOOL PreCreateWindow(CREATESTRUCT&) override { return FALSE; }
    static inline int alive = 0;
};
IMPLEMENT_DYNCREATE(RefusedView, CView)

// A plain window class page that refuses to be made: its object is the container's to free.
class RefusedWnd : public CWnd {
    DECLARE_DYNCREATE(RefusedWnd)
public:
    RefusedWnd() { ++alive; }
    ~RefusedWnd() override { --alive; }
    BOOL PreCreateWindow(CREATESTRUCT&) override { return FALSE; }
    static inline int alive = 0;
};
IMPLEMENT_DYNCREATE(RefusedWnd, CWnd)

// A plain window class page that can be made.
class PlainPage : public CWnd {
    DECLARE_DYNCREATE(PlainPage)
public:
    PlainPage() { ++alive; }
    ~PlainPage() override { --alive; }
    static inline int alive = 0;
};
IMPLEMENT_DYNCREATE(PlainPage, CWnd)

class Container : public COX3DTabViewContainer {
public:
    COX3DTabViewDropTarget& Target() { return m_dropTarget; }
};

class TabViewContainer : public DockTabTest {
protected:
    void SetUp() override
    {
        DockTabTest::SetUp();
        parent = MakePlainWindow(WS_POPUP | WS_VISIBLE, CRect(0, 0, 500, 400));
        ASSERT_TRUE(box.Create(CWnd::FromHandle(parent), CRect(10, 10, 410, 310), WS_CHILD | WS_VISIBLE, 200));
    }
    void TearDown() override
    {
        if (box.m_hWnd)
            box.DestroyWindow();
        if (parent && ::IsWindow(parent))
            ::DestroyWindow(parent);
        DockTabTest::TearDown();
        EXPECT_EQ(CountedView::alive, 0);
        EXPECT_EQ(PlainPage::alive, 0);
    }
    HWND Page(const wchar_t* name)
    {
        HWND h = MakePlainWindow(WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), parent);
        ::SetWindowTextW(h, name);
        pages.push_back(h);
        return h;
    }
    // The title of the active page's tab.
    std::wstring Active() const { return std::wstring(box.GetPageTitle(box.GetActivePageIndex()).GetString()); }

    HWND parent = nullptr;
    Container box;
    std::vector<HWND> pages;
};

TEST_F(TabViewContainer, TheSamePageStaysActiveThroughInsertsAndDeletes)
{
    struct Step {
        const char* what;
        char op;           // 'a' add, 'i' insert at, 'd' delete at
        int index;
        const wchar_t* title;
        BOOL activate;
        int active;        // expected active index afterwards
        const wchar_t* activeTitle;
    };
    const Step steps[] = {
        {"first page, activated", 'a', 0, L"A", TRUE, 0, L"A"},
        {"second, not activated", 'a', 0, L"B", FALSE, 0, L"A"},
        {"third, activated", 'a', 0, L"C", TRUE, 2, L"C"},
        {"insert before the active one", 'i', 0, L"D", FALSE, 3, L"C"},
        {"insert at the active index", 'i', 3, L"E", FALSE, 4, L"C"},
        {"insert after it", 'i', 5, L"F", FALSE, 4, L"C"},
        {"delete one before it", 'd', 0, nullptr, FALSE, 3, L"C"},
        {"delete the active one: the next", 'd', 3, nullptr, FALSE, 3, L"F"},
        {"delete the active last one: page 0", 'd', 3, nullptr, FALSE, 0, L"A"},
        {"delete after it", 'd', 2, nullptr, FALSE, 0, L"A"},
        {"delete the active first one", 'd', 0, nullptr, FALSE, 0, L"B"},
        {"delete the only one", 'd', 0, nullptr, FALSE, -1, L""},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        if (step.op == 'a')
            ASSERT_TRUE(box.AddPage(CWnd::FromHandle(Page(step.title)), step.title, -1, 0, step.activate));
        else if (step.op == 'i')
            ASSERT_TRUE(box.InsertPage(step.index, CWnd::FromHandle(Page(step.title)), step.title, -1, 0, FALSE));
        else
            ASSERT_TRUE(box.DeletePage(step.index, TRUE));
        EXPECT_EQ(box.GetActivePageIndex(), step.active);
        EXPECT_EQ(Active(), step.activeTitle);
        if (step.active >= 0) {
            EXPECT_EQ(box.GetCurSel(), step.active);
            EXPECT_TRUE(box.GetActivePage()->IsWindowVisible()) << "the active page is hidden";
            EXPECT_EQ(box.GetActivePage()->GetParent(), &box);
        }
    }
    EXPECT_FALSE(box.InsertPage(1, CWnd::FromHandle(Page(L"X")), L"X")) << "past the end";
    EXPECT_FALSE(box.DeletePage(0)) << "no pages";
    EXPECT_FALSE(box.SetActivePageIndex(0));
}

TEST_F(TabViewContainer, ClassPagesShareTheActiveViewsDocumentAndReuseFreedIdsOnce)
{
    CDocument doc;
    doc.m_bAutoDelete = FALSE; // on the stack: its last view going must not delete it
    CCreateContext context;
    context.m_pCurrentDoc = &doc;
    ASSERT_TRUE(box.AddPage(RUNTIME_CLASS(CountedView), &context, L"first"));
    ASSERT_TRUE(box.AddPage(RUNTIME_CLASS(CountedView), nullptr, L"second"));
    ASSERT_TRUE(box.AddPage(RUNTIME_CLASS(CountedView), nullptr, L"third"));
    for (int i = 0; i < 3; ++i) {
        auto* view = static_cast<CountedView*>(box.GetPage(i));
        EXPECT_EQ(view->GetDocument(), &doc) << "page " << i;
        EXPECT_EQ(view->initialUpdates, 1) << "page " << i;
        EXPECT_EQ(view->GetDlgCtrlID(), i + 1) << "page " << i;
    }
    // Page 2 (ID 2) goes: the next class page takes ID 2, the one after a new ID.
    ASSERT_TRUE(box.DeletePage(1, TRUE));
    ASSERT_TRUE(box.AddPage(RUNTIME_CLASS(PlainPage), nullptr, L"fourth"));
    ASSERT_TRUE(box.AddPage(RUNTIME_CLASS(PlainPage), nullptr, L"fifth"));
    EXPECT_EQ(box.GetPage(2)->GetDlgCtrlID(), 2);
    EXPECT_EQ(box.GetPage(3)->GetDlgCtrlID(), 4);

    // Pages that cannot be made leave no tab, no object and no spent ID.
    const int count = box.GetPageCount();
    EXPECT_FALSE(box.AddPage(RUNTIME_CLASS(RefusedView), nullptr, L"refused view"));
    EXPECT_FALSE(box.AddPage(RUNTIME_CLASS(RefusedWnd), nullptr, L"refused window"));
    EXPECT_EQ(RefusedView::alive, 0);
    EXPECT_EQ(RefusedWnd::alive, 0);
    EXPECT_EQ(box.GetPageCount(), count);
    EXPECT_EQ(box.GetUniqueId(), 5u) << "a failed page spent an ID";
    // The container's end frees every page, views and plain windows alike.
    box.DestroyWindow();
}

TEST_F(TabViewContainer, ALoneWideTabGetsAPlaceholderThatGoesWhenItFits)
{
    ASSERT_TRUE(box.AddPage(CWnd::FromHandle(Page(L"p")), L"A rather long title for a lone tab"));
    struct Row {
        int width;
        int tabs;
        bool pageHasTab;
    };
    const Row rows[] = {{400, 1, true}, {150, 2, false}, {400, 1, true}};
    for (const Row& row : rows) {
        box.SetWindowPos(nullptr, 0, 0, row.width, 300, SWP_NOMOVE | SWP_NOZORDER);
        box.UpdatePages();
        CRect tab;
        box.GetItemRect(0, &tab);
        SCOPED_TRACE(testing::Message() << "width " << row.width << ", tab " << tab.Width());
        EXPECT_EQ(box.GetItemCount(), row.tabs);
        EXPECT_EQ(box.GetPageCount() - (row.tabs - 1), 1);
        EXPECT_EQ(box.GetPage(1), nullptr) << "the placeholder has a page";
    }
}

TEST_F(TabViewContainer, DraggingOverTabsActivatesTheirPagesOnce)
{
    for (const wchar_t* t : {L"A", L"B", L"C"})
        ASSERT_TRUE(box.AddPage(CWnd::FromHandle(Page(t)), t, -1, 0, FALSE));
    ASSERT_TRUE(box.SetActivePageIndex(0));
    auto centre = [&](int i) {
        CRect r;
        box.GetItemRect(i, &r);
        return r.CenterPoint();
    };
    COX3DTabViewDropTarget& target = box.Target();
    struct Step {
        int tab;          // -1: the page area
        bool accept;
        int active;
    };
    const Step steps[] = {{2, true, 2}, {2, true, 2}, {-1, true, 2}, {1, false, 2}, {1, true, 1}, {0, true, 0}};
    for (const Step& step : steps) {
        box.AcceptDraggedObject(step.accept);
        const CPoint pt = step.tab >= 0 ? centre(step.tab) : box.GetPageRect().CenterPoint();
        EXPECT_EQ(target.OnDragOver(&box, nullptr, 0, pt), DROPEFFECT_NONE);
        EXPECT_EQ(box.GetActivePageIndex(), step.active) << "over tab " << step.tab;
    }
    // The last tab is remembered: a user choice in between is not undone by staying over it.
    box.SetActivePageIndex(2);
    target.OnDragOver(&box, nullptr, 0, centre(0));
    EXPECT_EQ(box.GetActivePageIndex(), 2);
    target.OnDragLeave(&box);
    target.OnDragOver(&box, nullptr, 0, centre(0));
    EXPECT_EQ(box.GetActivePageIndex(), 0) << "leaving forgets the tab";
}

TEST_F(TabViewContainer, DestroyingTheContainerDestroysEveryPage)
{
    for (const wchar_t* t : {L"A", L"B"})
        ASSERT_TRUE(box.AddPage(CWnd::FromHandle(Page(t)), t));
    ASSERT_TRUE(box.AddPage(RUNTIME_CLASS(PlainPage), nullptr, L"C"));
    ASSERT_TRUE(box.AddPage(RUNTIME_CLASS(CountedView), nullptr, L"D"));
    box.DestroyWindow();
    for (HWND h : pages)
        EXPECT_FALSE(::IsWindow(h));
    EXPECT_EQ(PlainPage::alive, 0);
    EXPECT_EQ(CountedView::alive, 0);
}

TEST_F(TabViewContainer, MadeAsAViewItTakesTheViewStyleAndItsName)
{
    Container view;
    ASSERT_TRUE(view.Create(L"AfxFrameOrView", L"Pages", WS_CHILD | WS_BORDER, CRect(0, 0, 200, 100),
        CWnd::FromHandle(parent), 201));
    // Child, visible, focus never, multi-line, hot track, bottom; the window style bits of
    // the request are not kept.
    EXPECT_EQ(view.GetStyle() & ~static_cast<DWORD>(WS_CLIPSIBLINGS), 0x50008242u);
    CString name;
    view.GetWindowText(name);
    EXPECT_EQ(name, L"Pages");
    EXPECT_TRUE(view.GetExStyle() & WS_EX_CONTROLPARENT);
    EXPECT_TRUE(box.GetExStyle() & WS_EX_CONTROLPARENT);
    view.DestroyWindow();
}

} // namespace
} // namespace docktest
