// The shortcut-bar drop source and drop target: each callback offered to a window as a
// private message with its action record, claimed and unclaimed answers, a whole drag
// through both adapters, and the target's auto-scroll of a window that is not a view on
// the virtual clock.
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "platform/afx/scrollview.h"
#include "platform/gdi/wingdi.h"
#include "platform/base/clock.h"
#include "platform/base/globalmem.h"
#include "platform/user/modal.h"
#include "tests/ole/ole_test_support.h"
#include "toolkit/docking/shb_drop_source.h"
#include "toolkit/docking/shb_drop_target.h"

namespace zyn::test {
namespace {

using user::MouseButton;
using Lines = std::vector<std::string>;

std::string Hex(UINT v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%X", v);
    return buf;
}

struct Claim {
    LRESULT ret;     // what the handler returns (non-zero claims)
    LRESULT result;  // what it leaves in the record
};

class ShbTest : public OleTest {
protected:
    void SetUp() override
    {
        OleTest::SetUp();
        MakeWindows();
        Install(m_target, "target", m_targetClaims, &m_lastTarget);
        Install(m_source, "source", m_sourceClaims, &m_lastSource);
    }

    // Records the private messages a window gets (with a copy of the record) and answers
    // them from `claims`.
    template <typename Record>
    void Install(CRecWnd& wnd, std::string who, std::map<UINT, Claim>& claims, Record* last)
    {
        wnd.answer = [who, &claims, last](UINT msg, WPARAM wp, LPARAM lp, LRESULT& r) {
            if (msg < SHBDTM_DRAGENTER || msg > SHBDSM_QUERYCONTINUEDRAG)
                return false;
            Trace::Add(Hex(msg) + " " + who + (wp ? " wparam!" : ""));
            auto* rec = reinterpret_cast<Record*>(lp);
            *last = *rec;
            auto it = claims.find(msg);
            if (it == claims.end()) {
                r = 0;
                return true;
            }
            rec->result = it->second.result;
            r = it->second.ret;
            return true;
        };
    }

    std::map<UINT, Claim> m_targetClaims, m_sourceClaims;
    SHBDROPTARGETACTION m_lastTarget{};
    SHBDROPSOURCEACTION m_lastSource{};
};

TEST_F(ShbTest, TargetOffersEachCallWithItsRecordAndFallsBackWhenUnclaimed)
{
    COXSHBDropTarget t;
    COleDataObject data; // any object will do: only its address travels
    const CPoint pt(3, 4);
    constexpr DROPEFFECT NOT_HANDLED = static_cast<DROPEFFECT>(-1);
    struct Row {
        const char* name;
        UINT msg;
        bool claimed;
        LRESULT answer;
        std::function<LRESULT()> call;
        LRESULT expected;
        bool hasData;
        DWORD keys;
        CPoint point;
        DROPEFFECT effect, list;
    };
    CWnd* w = &m_target;
    const Row rows[] = {
        {"enter unclaimed", SHBDTM_DRAGENTER, false, 0, [&] { return LRESULT(t.OnDragEnter(w, &data, 9, pt)); },
            DROPEFFECT_NONE, true, 9, pt, 0, 0},
        {"enter claimed", SHBDTM_DRAGENTER, true, DROPEFFECT_COPY, [&] { return LRESULT(t.OnDragEnter(w, &data, 9, pt)); },
            DROPEFFECT_COPY, true, 9, pt, 0, 0},
        {"over unclaimed", SHBDTM_DRAGOVER, false, 0, [&] { return LRESULT(t.OnDragOver(w, &data, 1, pt)); },
            DROPEFFECT_NONE, true, 1, pt, 0, 0},
        {"over claimed", SHBDTM_DRAGOVER, true, DROPEFFECT_LINK, [&] { return LRESULT(t.OnDragOver(w, &data, 1, pt)); },
            DROPEFFECT_LINK, true, 1, pt, 0, 0},
        {"drop unclaimed", SHBDTM_DROP, false, 0, [&] { return LRESULT(t.OnDrop(w, &data, DROPEFFECT_MOVE, pt)); },
            FALSE, true, 0, pt, DROPEFFECT_MOVE, 0},
        {"drop claimed", SHBDTM_DROP, true, TRUE, [&] { return LRESULT(t.OnDrop(w, &data, DROPEFFECT_MOVE, pt)); },
            TRUE, true, 0, pt, DROPEFFECT_MOVE, 0},
        {"dropex unclaimed", SHBDTM_DROPEX, false, 0,
            [&] { return LRESULT(t.OnDropEx(w, &data, DROPEFFECT_MOVE, DROPEFFECT_COPY | DROPEFFECT_MOVE, pt)); },
            LRESULT(NOT_HANDLED), true, 0, pt, DROPEFFECT_MOVE, DROPEFFECT_COPY | DROPEFFECT_MOVE},
        {"dropex claimed", SHBDTM_DROPEX, true, DROPEFFECT_COPY,
            [&] { return LRESULT(t.OnDropEx(w, &data, DROPEFFECT_MOVE, DROPEFFECT_COPY | DROPEFFECT_MOVE, pt)); },
            DROPEFFECT_COPY, true, 0, pt, DROPEFFECT_MOVE, DROPEFFECT_COPY | DROPEFFECT_MOVE},
        {"leave", SHBDTM_DRAGLEAVE, false, 0, [&] { t.OnDragLeave(w); return LRESULT(0); }, 0, false, 0, CPoint(0, 0), 0, 0},
        {"scroll unclaimed", SHBDTM_DRAGSCROLL, false, 0, [&] { return LRESULT(t.OnDragScroll(w, 4, pt)); },
            DROPEFFECT_NONE, false, 4, pt, 0, 0},
        {"scroll answered without scrolling", SHBDTM_DRAGSCROLL, true, DROPEFFECT_COPY,
            [&] { return LRESULT(t.OnDragScroll(w, 4, pt)); }, DROPEFFECT_COPY, false, 4, pt, 0, 0},
    };
    for (const Row& r : rows) {
        m_targetClaims.clear();
        if (r.claimed)
            m_targetClaims[r.msg] = Claim{1, r.answer};
        Trace::Clear();
        std::memset(static_cast<void*>(&m_lastTarget), 0xCC, sizeof m_lastTarget);
        EXPECT_EQ(r.call(), r.expected) << r.name;
        EXPECT_EQ(Trace::Lines(), Lines{Hex(r.msg) + " target"}) << r.name;
        EXPECT_EQ(m_lastTarget.pWnd, w) << r.name;
        EXPECT_EQ(m_lastTarget.pDataObject, r.hasData ? &data : nullptr) << r.name;
        EXPECT_EQ(m_lastTarget.dwKeyState, r.keys) << r.name;
        EXPECT_EQ(m_lastTarget.point, r.point) << r.name;
        EXPECT_EQ(m_lastTarget.dropEffect, r.effect) << r.name;
        EXPECT_EQ(m_lastTarget.dropEffectList, r.list) << r.name;
        EXPECT_EQ(m_lastTarget.result, 0) << r.name << ": the record arrives zero-filled";
    }
    // The scroll message's own return value does not count: only the answer left.
    m_targetClaims.clear();
    m_targetClaims[SHBDTM_DRAGSCROLL] = Claim{0, DROPEFFECT_LINK};
    EXPECT_EQ(t.OnDragScroll(w, 0, pt), DROPEFFECT_LINK);
    // A record that names no window reaches nobody.
    SHBDROPTARGETACTION none{};
    Trace::Clear();
    EXPECT_EQ(t.SendSHBDTMessage(SHBDTM_DRAGENTER, &none), 0);
    EXPECT_EQ(t.OnDragEnter(nullptr, &data, 0, pt), DROPEFFECT_NONE);
    EXPECT_TRUE(Trace::Lines().empty());
}

TEST_F(ShbTest, SourceOffersEachCallToItsOwner)
{
    COXSHBDropSource s;
    EXPECT_EQ(s.GetOwner(), nullptr);
    // Without an owner nobody is asked: the class library's defaults answer.
    s.m_dwButtonDrop = MK_LBUTTON;
    s.m_dwButtonCancel = MK_RBUTTON;
    Trace::Clear();
    EXPECT_EQ(s.QueryContinueDrag(FALSE, MK_LBUTTON), S_OK);
    EXPECT_EQ(s.QueryContinueDrag(FALSE, 0), DRAGDROP_S_DROP);
    EXPECT_EQ(s.GiveFeedback(DROPEFFECT_COPY), DRAGDROP_S_USEDEFAULTCURSORS);
    EXPECT_TRUE(Trace::Lines().empty());

    EXPECT_EQ(s.SetOwner(&m_source), nullptr);
    EXPECT_EQ(s.SetOwner(&m_source), &m_source) << "answers the previous owner";
    struct Row {
        const char* name;
        UINT msg;
        bool claimed;
        LRESULT answer;
        std::function<LRESULT()> call;
        LRESULT expected;
        CWnd* wnd;
        DWORD keys;
        BOOL esc;
        DROPEFFECT effect;
    };
    const Row rows[] = {
        {"query unclaimed", SHBDSM_QUERYCONTINUEDRAG, false, 0,
            [&] { return LRESULT(s.QueryContinueDrag(TRUE, MK_LBUTTON | MK_SHIFT)); }, DRAGDROP_S_CANCEL, nullptr,
            MK_LBUTTON | MK_SHIFT, TRUE, 0},
        {"query claimed", SHBDSM_QUERYCONTINUEDRAG, true, S_OK,
            [&] { return LRESULT(s.QueryContinueDrag(TRUE, MK_LBUTTON)); }, S_OK, nullptr, MK_LBUTTON, TRUE, 0},
        {"feedback unclaimed", SHBDSM_GIVEFEEDBACK, false, 0, [&] { return LRESULT(s.GiveFeedback(DROPEFFECT_MOVE)); },
            DRAGDROP_S_USEDEFAULTCURSORS, nullptr, 0, FALSE, DROPEFFECT_MOVE},
        {"feedback claimed", SHBDSM_GIVEFEEDBACK, true, S_OK, [&] { return LRESULT(s.GiveFeedback(DROPEFFECT_MOVE)); },
            S_OK, nullptr, 0, FALSE, DROPEFFECT_MOVE},
        {"begin claimed", SHBDSM_BEGINDRAG, true, FALSE, [&] { return LRESULT(s.OnBeginDrag(&m_inner)); }, FALSE,
            &m_inner, 0, FALSE, 0},
    };
    for (const Row& r : rows) {
        m_sourceClaims.clear();
        if (r.claimed)
            m_sourceClaims[r.msg] = Claim{1, r.answer};
        Trace::Clear();
        EXPECT_EQ(r.call(), r.expected) << r.name;
        EXPECT_EQ(Trace::Lines(), Lines{Hex(r.msg) + " source"}) << r.name;
        EXPECT_EQ(m_lastSource.pWnd, r.wnd) << r.name;
        EXPECT_EQ(m_lastSource.dwKeyState, r.keys) << r.name;
        EXPECT_EQ(m_lastSource.bEscapePressed, r.esc) << r.name;
        EXPECT_EQ(m_lastSource.dropEffect, r.effect) << r.name;
        EXPECT_EQ(m_lastSource.result, 0) << r.name;
    }

    // An owner that starts the drag itself still gets a drag that waits for the release:
    // the buttons are known, so the first query does not drop at once.
    m_sourceClaims.clear();
    m_sourceClaims[SHBDSM_BEGINDRAG] = Claim{1, TRUE};
    PressAt(100, 100);
    s.m_dwButtonDrop = s.m_dwButtonCancel = 0;
    EXPECT_TRUE(s.OnBeginDrag(&m_source));
    EXPECT_EQ(s.m_dwButtonDrop, static_cast<DWORD>(MK_LBUTTON));
    EXPECT_EQ(s.QueryContinueDrag(FALSE, MK_LBUTTON), S_OK);
    EXPECT_EQ(s.QueryContinueDrag(FALSE, MK_LBUTTON | MK_RBUTTON), DRAGDROP_S_CANCEL);
}

TEST_F(ShbTest, WholeDragThroughBothAdaptersInOrder)
{
    COXSHBDropSource source;
    source.SetOwner(&m_source);
    COXSHBDropTarget target;
    ASSERT_TRUE(target.Register(&m_target));
    // The target window takes enter, over, leave and drop, as the toolkit's windows do.
    m_targetClaims[SHBDTM_DRAGENTER] = Claim{1, DROPEFFECT_MOVE};
    m_targetClaims[SHBDTM_DRAGOVER] = Claim{1, DROPEFFECT_MOVE};
    m_targetClaims[SHBDTM_DRAGLEAVE] = Claim{1, 0};
    m_targetClaims[SHBDTM_DROP] = Claim{1, TRUE};
    auto* data = new COleDataSource;
    data->CacheGlobalData(CF_UNICODETEXT, GlobalAlloc(GMEM_MOVEABLE, 2));
    PressAt(100, 100);
    Move(100, 160);
    Move(600, 250);
    Move(605, 250);
    Move(300, 500); // out and in again
    Move(605, 250);
    Button(MouseButton::Left, false);
    Trace::Clear();
    EXPECT_EQ(data->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE, nullptr, &source), DROPEFFECT_MOVE);
    data->InternalRelease();
    EXPECT_EQ(Trace::Lines(), (Lines{
        "80B4 source",                                        // begin: unclaimed, the default waits
        "80B5 source", "80B3 source",                         // over the source: no target
        "80B5 source", "80B0 target", "80AD target", "80B3 source",
        "80B5 source", "80B0 target", "80AF target", "80B3 source",
        "80B5 source", "80AE target", "80B3 source",
        "80B5 source", "80B0 target", "80AD target", "80B3 source",
        "80B5 source", "80B2 target", "80B1 target",          // drop-ex unclaimed, then drop
    }));
    EXPECT_EQ(m_lastTarget.dropEffect, DROPEFFECT_MOVE);
    EXPECT_NE(m_lastTarget.pDataObject, nullptr);
    EXPECT_EQ(m_lastTarget.point, CPoint(205, 230));
    target.Revoke();
}

// Auto-scroll, driven through the target's OLE interface at chosen times.
class ShbScrollTest : public ShbTest {
protected:
    void MakeScroller(DWORD style, bool info, int nMax, UINT nPage)
    {
        m_scroller.answer = [this](UINT msg, WPARAM wp, LPARAM lp, LRESULT& r) {
            if (msg == WM_HSCROLL || msg == WM_VSCROLL) {
                Trace::Add(std::string(msg == WM_HSCROLL ? "H" : "V") + std::to_string(wp));
                r = 0;
                return true;
            }
            if (msg < SHBDTM_DRAGENTER || msg > SHBDTM_DROPEX)
                return false;
            auto* rec = reinterpret_cast<SHBDROPTARGETACTION*>(lp);
            Trace::Add(Hex(msg) + (rec->pDataObject ? " data" : ""));
            if (msg == SHBDTM_DRAGSCROLL)
                rec->result = static_cast<LRESULT>(DROPEFFECT_SCROLL); // "scroll for me"
            else if (msg == SHBDTM_DRAGENTER || msg == SHBDTM_DRAGOVER)
                rec->result = DROPEFFECT_MOVE;
            r = 1;
            return true;
        };
        ASSERT_TRUE(m_scroller.CreateEx(0, AfxRegisterWndClass(0), L"scroller", WS_CHILD | WS_VISIBLE | style, 100,
            300, 200, 150, m_frame.m_hWnd, nullptr));
        if (info) {
            SCROLLINFO si{};
            si.cbSize = sizeof si;
            si.fMask = SIF_RANGE | SIF_PAGE;
            si.nMin = 0;
            si.nMax = nMax;
            si.nPage = nPage;
            SetScrollInfo(m_scroller.m_hWnd, SB_VERT, &si, FALSE);
            SetScrollInfo(m_scroller.m_hWnd, SB_HORZ, &si, FALSE);
        }
        ASSERT_TRUE(m_dropTarget.Register(&m_scroller));
        m_data = com::Ref<COleDataSourceHolder>::Attach(new COleDataSourceHolder);
        ::GetClientRect(m_scroller.m_hWnd, &m_client);
    }
    void TearDown() override
    {
        m_dropTarget.Revoke();
        m_data = nullptr;
        ShbTest::TearDown();
    }
    // A point in the scroller's client area, as the screen point OLE passes.
    POINTL At(int x, int y) const
    {
        POINT p{x, y};
        ::ClientToScreen(m_scroller.m_hWnd, &p);
        return POINTL{p.x, p.y};
    }
    DWORD Enter(POINTL p, DWORD keys = 0)
    {
        DWORD e = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        m_dropTarget.GetDropTargetInterface()->DragEnter(m_data->Get(), keys, p, &e);
        return e;
    }
    DWORD Over(POINTL p, DWORD keys = 0)
    {
        DWORD e = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        m_dropTarget.GetDropTargetInterface()->DragOver(keys, p, &e);
        return e;
    }
    // The data of the drag: a data source's interface, kept by reference.
    class COleDataSourceHolder final : public com::Object<IUnknown> {
    public:
        COleDataSourceHolder() : m_src(new COleDataSource) {}
        ~COleDataSourceHolder() override { m_src->InternalRelease(); }
        IDataObject* Get() { return m_src->GetDataObject(); }

    private:
        COleDataSource* m_src;
    };

    CRecWnd m_scroller;
    COXSHBDropTarget m_dropTarget;
    com::Ref<COleDataSourceHolder> m_data;
    CRect m_client;
};

TEST_F(ShbScrollTest, EdgeBandScrollsAfterTheDelayThenEachInterval)
{
    MakeScroller(WS_HSCROLL | WS_VSCROLL, true, 100, 10);
    const int inset = COleDropTarget::nScrollInset;
    ASSERT_EQ(inset, DD_DEFSCROLLINSET);
    ASSERT_EQ(COleDropTarget::nScrollDelay, static_cast<UINT>(DD_DEFSCROLLDELAY));
    ASSERT_EQ(COleDropTarget::nScrollInterval, static_cast<UINT>(DD_DEFSCROLLINTERVAL));
    const int cx = m_client.Width(), cy = m_client.Height();
    const int midX = cx / 2, midY = cy / 2;
    const int bottom = cy - inset; // the first row of the bottom band
    auto step = [&](uint32_t advance, POINTL p, DWORD keys = 0) {
        base::Clock::Advance(advance);
        Trace::Clear();
        return Over(p, keys);
    };

    Trace::Clear();
    EXPECT_EQ(Enter(At(midX, midY)), DROPEFFECT_MOVE);
    EXPECT_EQ(Trace::Lines(), (Lines{"80B0", "80AD data"}));
    // Into the bottom band: the window hears the drag leave; no scroll before the delay.
    EXPECT_EQ(step(0, At(midX, bottom)), DROPEFFECT_SCROLL);
    EXPECT_EQ(Trace::Lines(), (Lines{"80B0", "80AE"}));
    EXPECT_EQ(m_dropTarget.m_nTimerID, 0xFF01u) << "no horizontal code, SB_LINEDOWN";
    step(DD_DEFSCROLLDELAY, At(midX, bottom));
    EXPECT_EQ(Trace::Lines(), Lines{"80B0"}) << "the delay must be exceeded";
    step(1, At(midX, cy - 1));
    EXPECT_EQ(Trace::Lines(), (Lines{"80B0", "V1"}));
    step(DD_DEFSCROLLINTERVAL, At(midX, cy - 1));
    EXPECT_EQ(Trace::Lines(), Lines{"80B0"});
    step(1, At(midX, cy - 1));
    EXPECT_EQ(Trace::Lines(), (Lines{"80B0", "V1"})) << "then once per interval";

    // A new direction waits for the delay again; in a corner only the vertical one scrolls.
    struct Row {
        const char* name;
        int x, y;
        UINT code;
        const char* scroll;
    };
    const Row rows[] = {
        {"bottom right corner", cx - 1, cy - 1, 0x0101, "V1"},
        {"right", cx - inset, midY, 0x01FF, "H1"},
        {"left", inset - 1, midY, 0x00FF, "H0"},
        {"top", midX, 0, 0xFF00, "V0"},
        {"top left corner", 0, inset - 1, 0x0000, "V0"},
    };
    for (const Row& r : rows) {
        step(500, At(r.x, r.y));
        EXPECT_EQ(Trace::Lines(), Lines{"80B0"}) << r.name << ": a changed direction restarts the delay";
        EXPECT_EQ(m_dropTarget.m_nTimerID, r.code) << r.name;
        step(DD_DEFSCROLLDELAY + 1, At(r.x, r.y));
        EXPECT_EQ(Trace::Lines(), (Lines{"80B0", r.scroll})) << r.name;
    }

    // The effect while scrolling follows the keys.
    const struct {
        DWORD keys;
        DWORD effect;
    } keyRows[] = {
        {0, DROPEFFECT_SCROLL},
        {MK_CONTROL, DROPEFFECT_SCROLL | DROPEFFECT_COPY},
        {MK_CONTROL | MK_SHIFT, DROPEFFECT_SCROLL | DROPEFFECT_LINK},
        {MK_SHIFT, DROPEFFECT_SCROLL | DROPEFFECT_MOVE},
        {MK_ALT, DROPEFFECT_SCROLL | DROPEFFECT_MOVE},
    };
    for (const auto& k : keyRows)
        EXPECT_EQ(step(0, At(midX, 0), k.keys), k.effect) << k.keys;

    // Back inside: the window sees the drag enter again, with the data, then the over.
    EXPECT_EQ(step(0, At(midX, midY)), DROPEFFECT_MOVE);
    EXPECT_EQ(Trace::Lines(), (Lines{"80B0", "80AD data", "80AF data"}));
    EXPECT_EQ(m_dropTarget.m_nTimerID, 0xFFFFu);
    Trace::Clear();
    m_dropTarget.GetDropTargetInterface()->DragLeave();
    EXPECT_EQ(Trace::Lines(), Lines{"80AE"});
    EXPECT_EQ(m_dropTarget.m_lpDataObject, nullptr);
}

TEST_F(ShbScrollTest, ScrollInformationDecidesWhetherADirectionScrolls)
{
    struct Row {
        const char* name;
        DWORD style;
        bool info;
        int nMax;
        UINT nPage;
        bool scrolls;
    };
    const Row rows[] = {
        {"style and room", WS_VSCROLL, true, 100, 10, true},
        {"page 0", WS_VSCROLL, true, 100, 0, false},
        {"maximum below the page", WS_VSCROLL, true, 5, 10, false},
        {"maximum equal to the page", WS_VSCROLL, true, 10, 10, true},
        {"neither style nor information", 0, false, 0, 0, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        MakeScroller(r.style, r.info, r.nMax, r.nPage);
        const int cx = m_client.Width(), cy = m_client.Height();
        Enter(At(cx / 2, cy / 2));
        Over(At(cx / 2, cy - 1));
        base::Clock::Advance(DD_DEFSCROLLDELAY + 1);
        Trace::Clear();
        const DWORD e = Over(At(cx / 2, cy - 1));
        const bool scrolled = std::find(Trace::Lines().begin(), Trace::Lines().end(), "V1") != Trace::Lines().end();
        EXPECT_EQ(scrolled, r.scrolls);
        EXPECT_EQ(e, r.scrolls ? DROPEFFECT_SCROLL : DROPEFFECT_MOVE) << "no scrolling: the over answers";
        m_dropTarget.GetDropTargetInterface()->DragLeave();
        m_dropTarget.Revoke();
        m_scroller.DestroyWindow();
        m_data = nullptr;
    }
}

TEST_F(ShbScrollTest, WithoutAScrollAnswerThereIsNoAutoScroll)
{
    MakeScroller(WS_HSCROLL | WS_VSCROLL, true, 100, 10);
    auto answer = m_scroller.answer;
    m_scroller.answer = [answer](UINT msg, WPARAM wp, LPARAM lp, LRESULT& r) {
        if (msg == SHBDTM_DRAGSCROLL) {
            Trace::Add("80B0");
            return false; // nobody answers: the default window procedure returns 0
        }
        return answer(msg, wp, lp, r);
    };
    const int cx = m_client.Width(), cy = m_client.Height();
    Trace::Clear();
    Enter(At(cx / 2, cy - 1));
    base::Clock::Advance(1000);
    EXPECT_EQ(Over(At(cx / 2, cy - 1)), DROPEFFECT_MOVE);
    EXPECT_EQ(Trace::Lines(), (Lines{"80B0", "80AD data", "80B0", "80AF data"})) << "straight on to enter and over";
    m_dropTarget.GetDropTargetInterface()->DragLeave();
}

} // namespace
} // namespace zyn::test

namespace zyn::test {
namespace {

// A scroll view that asks for the default scrolling: the class library's view scrolling
// runs (both directions in one step, by the view's line sizes), not the adapter's own.
class ShbView : public CScrollView {
public:
    void OnDraw(CDC*) override {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == SHBDTM_DRAGSCROLL) {
            reinterpret_cast<SHBDROPTARGETACTION*>(lParam)->result = static_cast<LRESULT>(DROPEFFECT_SCROLL);
            return 1;
        }
        return CScrollView::WindowProc(message, wParam, lParam);
    }
};

TEST_F(ShbTest, ViewsScrollTheClassLibrarysWay)
{
    auto* view = new ShbView; // deletes itself with its window
    ASSERT_TRUE(view->Create(nullptr, L"view", WS_CHILD | WS_VISIBLE, CRect(100, 300, 400, 500), &m_frame, 1));
    view->SetScrollSizes(MM_TEXT, CSize(1000, 2000), CSize(100, 150), CSize(10, 20));
    COXSHBDropTarget target;
    ASSERT_TRUE(target.Register(view));
    auto* data = new COleDataSource;
    CRect rc;
    view->GetClientRect(&rc);
    POINT corner{rc.right - 1, rc.bottom - 1}, middle{rc.Width() / 2, rc.Height() / 2};
    view->ClientToScreen(&corner);
    view->ClientToScreen(&middle);
    IDropTarget* it = target.GetDropTargetInterface();
    DWORD e = DROPEFFECT_MOVE;
    it->DragEnter(data->GetDataObject(), 0, POINTL{middle.x, middle.y}, &e);
    e = DROPEFFECT_MOVE;
    it->DragOver(0, POINTL{corner.x, corner.y}, &e);
    EXPECT_EQ(e, DROPEFFECT_SCROLL);
    EXPECT_EQ(view->GetDeviceScrollPosition(), CPoint(0, 0)) << "not before the delay";
    base::Clock::Advance(DD_DEFSCROLLDELAY + 1);
    it->DragOver(0, POINTL{corner.x, corner.y}, &e);
    EXPECT_EQ(view->GetDeviceScrollPosition(), CPoint(10, 20)) << "one line each way";
    it->DragLeave();
    target.Revoke();
    data->InternalRelease();
    view->DestroyWindow();
}

} // namespace
} // namespace zyn::test
