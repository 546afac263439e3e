// The OLE drag loop with plain COM objects: registration, the order of the source's and the
// target's calls with key states, points and effects, finding the target through parent
// windows, a resting cursor, cancelling, refused and failed calls, and the loop letting
// timers and painting go on.
#include <string>

#include "platform/base/clock.h"
#include "platform/user/modal.h"
#include "tests/ole/ole_test_support.h"

namespace zyn::test {
namespace {

using user::MouseButton;

std::string Pt(POINTL p) { return std::to_string(p.x) + "," + std::to_string(p.y); }

// A source that drops when the left button is up and cancels on Escape or the right button.
class RawSource final : public com::Object<IDropSource> {
public:
    HRESULT failOnCall = S_OK; // returned from the call numbered failAt
    int failAt = -1;
    int calls = 0;
    HRESULT QueryContinueDrag(BOOL esc, DWORD keys) override
    {
        Trace::Add("QCD " + std::to_string(esc) + " " + std::to_string(keys));
        if (calls++ == failAt)
            return failOnCall;
        if (esc || (keys & MK_RBUTTON))
            return DRAGDROP_S_CANCEL;
        if (!(keys & MK_LBUTTON))
            return DRAGDROP_S_DROP;
        return S_OK;
    }
    HRESULT GiveFeedback(DWORD effect) override
    {
        Trace::Add("GF " + std::to_string(effect));
        return S_OK;
    }
};

// A target that answers copy with Ctrl and move without, unless told otherwise.
class RawTarget final : public com::Object<IDropTarget> {
public:
    std::function<DWORD(DWORD keys)> policy = [](DWORD keys) {
        return (keys & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    };
    HRESULT enterResult = S_OK;
    std::function<void()> onEnter;
    HRESULT DragEnter(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override
    {
        Trace::Add("Enter " + std::to_string(keys) + " " + Pt(pt) + " " + std::to_string(*effect) +
            (data ? "" : " nodata"));
        if (onEnter)
            onEnter();
        if (FAILED(enterResult))
            return enterResult;
        *effect = policy(keys);
        return S_OK;
    }
    HRESULT DragOver(DWORD keys, POINTL pt, DWORD* effect) override
    {
        Trace::Add("Over " + std::to_string(keys) + " " + Pt(pt) + " " + std::to_string(*effect));
        *effect = policy(keys);
        return S_OK;
    }
    HRESULT DragLeave() override
    {
        Trace::Add("Leave");
        return S_OK;
    }
    HRESULT Drop(IDataObject*, DWORD keys, POINTL pt, DWORD* effect) override
    {
        Trace::Add("Drop " + std::to_string(keys) + " " + Pt(pt) + " " + std::to_string(*effect));
        *effect = policy(keys);
        return S_OK;
    }
};

class NoData final : public com::Object<IDataObject> {
public:
    HRESULT GetData(FORMATETC*, STGMEDIUM*) override { return DV_E_FORMATETC; }
    HRESULT GetDataHere(FORMATETC*, STGMEDIUM*) override { return DV_E_FORMATETC; }
    HRESULT QueryGetData(FORMATETC*) override { return DV_E_FORMATETC; }
    HRESULT GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    HRESULT SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }
};

class DragLoopTest : public OleTest {
protected:
    void SetUp() override
    {
        OleTest::SetUp();
        MakeWindows();
        m_src = com::Ref<RawSource>::Attach(new RawSource);
        m_tgt = com::Ref<RawTarget>::Attach(new RawTarget);
        m_data = com::Ref<IDataObject>::Attach(new NoData);
    }
    void TearDown() override
    {
        if (m_registered)
            RevokeDragDrop(m_target.m_hWnd);
        m_src = nullptr;
        m_tgt = nullptr;
        m_data = nullptr;
        OleTest::TearDown();
    }
    void RegisterTarget()
    {
        ASSERT_EQ(RegisterDragDrop(m_target.m_hWnd, m_tgt.get()), S_OK);
        m_registered = true;
    }
    HRESULT Drag(DWORD ok, DWORD* effect)
    {
        Trace::Clear();
        return DoDragDrop(m_data.get(), m_src.get(), ok, effect);
    }

    com::Ref<RawSource> m_src;
    com::Ref<RawTarget> m_tgt;
    com::Ref<IDataObject> m_data;
    bool m_registered = false;
};

using Lines = std::vector<std::string>;

TEST_F(DragLoopTest, RegistrationErrorsAndReferences)
{
    auto t = com::Ref<RawTarget>::Attach(new RawTarget);
    EXPECT_EQ(RegisterDragDrop(m_target.m_hWnd, nullptr), E_INVALIDARG);
    EXPECT_EQ(RegisterDragDrop(nullptr, t.get()), DRAGDROP_E_INVALIDHWND);
    ASSERT_EQ(RegisterDragDrop(m_target.m_hWnd, t.get()), S_OK);
    EXPECT_EQ(t->AddRef(), 3u) << "the registration holds a reference";
    t->Release();
    EXPECT_EQ(RegisterDragDrop(m_target.m_hWnd, t.get()), DRAGDROP_E_ALREADYREGISTERED);
    EXPECT_EQ(RevokeDragDrop(m_source.m_hWnd), DRAGDROP_E_NOTREGISTERED);
    EXPECT_EQ(RevokeDragDrop(m_target.m_hWnd), S_OK);
    EXPECT_EQ(t->AddRef(), 2u) << "revoking lets it go";
    t->Release();
    EXPECT_EQ(RevokeDragDrop(m_target.m_hWnd), DRAGDROP_E_NOTREGISTERED);
    EXPECT_EQ(RevokeDragDrop(nullptr), DRAGDROP_E_INVALIDHWND);

    // A plain window destroyed without revoking: the stale registration lets its
    // reference go the next time the table is used.
    HWND plain = CreateWindowExW(0, AfxRegisterWndClass(0), L"", WS_CHILD, 0, 0, 10, 10, m_frame.m_hWnd, nullptr, nullptr, nullptr);
    ASSERT_EQ(RegisterDragDrop(plain, t.get()), S_OK);
    DestroyWindow(plain);
    EXPECT_EQ(RevokeDragDrop(m_source.m_hWnd), DRAGDROP_E_NOTREGISTERED);
    EXPECT_EQ(ole::RegisteredDropTargetCount(), 0u);
    EXPECT_EQ(t->AddRef(), 2u);
    t->Release();

    // Arguments and initialisation.
    DWORD effect = 77;
    EXPECT_EQ(DoDragDrop(nullptr, m_src.get(), DROPEFFECT_COPY, &effect), E_INVALIDARG);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_EQ(DoDragDrop(m_data.get(), nullptr, DROPEFFECT_COPY, &effect), E_INVALIDARG);
    EXPECT_EQ(DoDragDrop(m_data.get(), m_src.get(), DROPEFFECT_COPY, nullptr), E_INVALIDARG);
    EXPECT_EQ(OleInitialize(nullptr), S_FALSE);
    OleUninitialize();
    OleUninitialize();
    EXPECT_EQ(RegisterDragDrop(m_target.m_hWnd, t.get()), CO_E_NOTINITIALIZED);
    effect = 77;
    EXPECT_EQ(DoDragDrop(m_data.get(), m_src.get(), DROPEFFECT_COPY, &effect), CO_E_NOTINITIALIZED);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_EQ(OleInitialize(nullptr), S_OK);
}

TEST_F(DragLoopTest, CallsComeInOrderWithKeysPointsAndEffects)
{
    RegisterTarget();
    PressAt(100, 100);
    Move(600, 250);
    Move(610, 250);
    Key(VK_CONTROL, true); // Ctrl turns the move into a copy
    Button(MouseButton::Left, false);
    DWORD effect = 0;
    EXPECT_EQ(Drag(DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect), DRAGDROP_S_DROP);
    EXPECT_EQ(effect, DROPEFFECT_COPY);
    EXPECT_EQ(Trace::Lines(), (Lines{
        "QCD 0 1", "GF 0",                               // over the source: no target
        "QCD 0 1", "Enter 1 600,250 3", "GF 2",          // the allowed effects go in
        "QCD 0 1", "Over 1 610,250 3", "GF 2",
        "QCD 0 9", "Over 9 610,250 3", "GF 1",           // Ctrl down: over again, copy
        "QCD 0 8", "Drop 8 610,250 3",                   // released: dropped with Ctrl still held
    }));
    EXPECT_EQ(GetCapture(), nullptr) << "the drag gives the capture back";
}

TEST_F(DragLoopTest, ChildWindowsReachTheirParentsTargetAndLeavingIsTold)
{
    RegisterTarget();
    PressAt(100, 100);
    Move(500, 100);  // over the target's child
    Move(300, 500);  // over the frame: no target
    Move(700, 100);  // past the target's right edge (it ends at 699)
    Move(699, 100);
    Key(VK_ESCAPE, true);
    DWORD effect = 99;
    EXPECT_EQ(Drag(DROPEFFECT_MOVE, &effect), DRAGDROP_S_CANCEL);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_EQ(Trace::Lines(), (Lines{
        "QCD 0 1", "GF 0",
        "QCD 0 1", "Enter 1 500,100 2", "GF 2",
        "QCD 0 1", "Leave", "GF 0",
        "QCD 0 1", "GF 0",
        "QCD 0 1", "Enter 1 699,100 2", "GF 2",
        "QCD 1 1", "Leave",                              // Escape cancels
    }));
}

TEST_F(DragLoopTest, RestingCursorRepeatsDragOverOnTheTick)
{
    RegisterTarget();
    PressAt(100, 100);
    Move(600, 250);
    Wait(ole::kDragOverTickMs);        // one tick
    Wait(ole::kDragOverTickMs - 20);   // not yet
    Wait(20);                          // the next tick
    Button(MouseButton::Right, true);  // the other button cancels
    DWORD effect = 0;
    EXPECT_EQ(Drag(DROPEFFECT_MOVE, &effect), DRAGDROP_S_CANCEL);
    EXPECT_EQ(Trace::Lines(), (Lines{
        "QCD 0 1", "GF 0",
        "QCD 0 1", "Enter 1 600,250 2", "GF 2",
        "QCD 0 1", "Over 1 600,250 2", "GF 2",
        "QCD 0 1", "Over 1 600,250 2", "GF 2",
        "QCD 0 3", "Leave",
    }));
}

TEST_F(DragLoopTest, RefusedEffectsFailedEnterAndDryScript)
{
    struct Row {
        const char* name;
        DWORD answer;        // what the target answers throughout
        HRESULT enter;       // DragEnter's result
        bool release;        // false: the script runs dry before a release
        HRESULT result;
        Lines trace;
    };
    const Row rows[] = {
        // "None" keeps the target: DragOver goes on, and a release only tells it the drag left.
        {"none", DROPEFFECT_NONE, S_OK, true, DRAGDROP_S_DROP,
            {"QCD 0 1", "GF 0", "QCD 0 1", "Enter 1 600,250 1", "GF 0", "QCD 0 1", "Over 1 610,250 1", "GF 0",
                "QCD 0 0", "Leave"}},
        // An effect the source does not allow counts as none.
        {"not allowed", DROPEFFECT_LINK, S_OK, true, DRAGDROP_S_DROP,
            {"QCD 0 1", "GF 0", "QCD 0 1", "Enter 1 600,250 1", "GF 0", "QCD 0 1", "Over 1 610,250 1", "GF 0",
                "QCD 0 0", "Leave"}},
        // A failed DragEnter: that window takes no further part.
        {"enter fails", DROPEFFECT_COPY, E_FAIL, true, DRAGDROP_S_DROP,
            {"QCD 0 1", "GF 0", "QCD 0 1", "Enter 1 600,250 1", "GF 0", "QCD 0 1", "GF 0", "QCD 0 0"}},
        // Nothing more to play: a cancel, and the target hears the drag left.
        {"dry", DROPEFFECT_COPY, S_OK, false, DRAGDROP_S_CANCEL,
            {"QCD 0 1", "GF 0", "QCD 0 1", "Enter 1 600,250 1", "GF 1", "QCD 0 1", "Over 1 610,250 1", "GF 1",
                "Leave"}},
    };
    RegisterTarget();
    for (const Row& r : rows) {
        m_tgt->policy = [a = r.answer](DWORD) { return a; };
        m_tgt->enterResult = r.enter;
        PressAt(100, 100);
        Move(600, 250);
        Move(610, 250);
        if (r.release)
            Button(MouseButton::Left, false);
        DWORD effect = 99;
        EXPECT_EQ(Drag(DROPEFFECT_COPY, &effect), r.result) << r.name;
        EXPECT_EQ(effect, DROPEFFECT_NONE) << r.name;
        EXPECT_EQ(Trace::Lines(), r.trace) << r.name;
        if (!r.release)
            user::InjectMouseButton(MouseButton::Left, false);
        Pump();
    }
}

TEST_F(DragLoopTest, FailingSourceEndsTheDragWithItsError)
{
    RegisterTarget();
    m_src->failAt = 2;
    m_src->failOnCall = E_OUTOFMEMORY;
    PressAt(100, 100);
    Move(600, 250);
    Move(610, 250);
    DWORD effect = 99;
    EXPECT_EQ(Drag(DROPEFFECT_MOVE, &effect), E_OUTOFMEMORY);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_EQ(Trace::Lines(), (Lines{"QCD 0 1", "GF 0", "QCD 0 1", "Enter 1 600,250 2", "GF 2", "QCD 0 1", "Leave"}));
}

TEST_F(DragLoopTest, TimersPaintingAndPostedMessagesGoOnAndNestedDragsAreRefused)
{
    RegisterTarget();
    HRESULT nested = S_OK;
    m_tgt->onEnter = [&] {
        DWORD e = 0;
        nested = DoDragDrop(m_data.get(), m_src.get(), DROPEFFECT_COPY, &e);
    };
    SetTimer(m_frame.m_hWnd, 7, 30, nullptr);
    PressAt(100, 100);
    m_frame.seen.clear();
    Move(600, 250);
    Wait(30);
    Do([this] {
        InvalidateRect(m_source.m_hWnd, nullptr, TRUE);
        PostMessageW(m_frame.m_hWnd, WM_USER + 3, 0, 0);
    });
    Button(MouseButton::Left, false);
    DWORD effect = 0;
    EXPECT_EQ(Drag(DROPEFFECT_MOVE, &effect), DRAGDROP_S_DROP);
    EXPECT_EQ(effect, DROPEFFECT_MOVE);
    EXPECT_EQ(nested, E_UNEXPECTED) << "one drag at a time on a thread";
    EXPECT_NE(std::find(m_frame.seen.begin(), m_frame.seen.end(), static_cast<UINT>(WM_TIMER)), m_frame.seen.end());
    EXPECT_NE(std::find(m_frame.seen.begin(), m_frame.seen.end(), static_cast<UINT>(WM_USER + 3)), m_frame.seen.end());
    EXPECT_NE(std::find(m_source.seen.begin(), m_source.seen.end(), static_cast<UINT>(WM_PAINT)), m_source.seen.end());
    EXPECT_EQ(std::count(m_frame.seen.begin(), m_frame.seen.end(), static_cast<UINT>(WM_MOUSEMOVE)), 0)
        << "the drag reads the mouse itself";
    KillTimer(m_frame.m_hWnd, 7);
}

} // namespace
} // namespace zyn::test
