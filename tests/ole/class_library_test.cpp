// The class library's OLE classes: a whole drag from a COleDataSource to a COleDropTarget,
// the start rectangle and the drag delay of COleDropSource, OnDropEx before OnDrop and a
// failed OnDrop, the default drop effect, the data source's per-consumer copies and
// formats, the clipboard, and a window object revoking its target when destroyed.
#include <cstring>
#include <string>

#include "platform/base/clock.h"
#include "platform/base/file.h"
#include "platform/base/globalmem.h"
#include "platform/base/inifile.h"
#include "platform/base/utf16.h"
#include "platform/user/clipboard.h"
#include "platform/user/modal.h"
#include "tests/ole/ole_test_support.h"

namespace zyn::test {
namespace {

using user::MouseButton;
using Lines = std::vector<std::string>;

HGLOBAL Block(const std::string& bytes)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(h), bytes.data(), bytes.size());
    GlobalUnlock(h);
    return h;
}

std::string Bytes(HGLOBAL h)
{
    std::string s(GlobalSize(h), '\0');
    std::memcpy(s.data(), GlobalLock(h), s.size());
    GlobalUnlock(h);
    return s;
}

// "hello" as UTF-16LE with its terminator.
const std::string kHello("h\0e\0l\0l\0o\0\0\0", 12);

class CRecTarget : public COleDropTarget {
public:
    std::function<DROPEFFECT(DWORD)> answer = [](DWORD k) { return (k & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE; };
    BOOL dropResult = TRUE;
    DROPEFFECT dropExResult = static_cast<DROPEFFECT>(-1);
    std::vector<HGLOBAL> received;

    static std::string Where(CWnd* pWnd, CPoint pt)
    {
        return std::string(pWnd ? "" : "nownd ") + std::to_string(pt.x) + "," + std::to_string(pt.y);
    }
    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* data, DWORD keys, CPoint pt) override
    {
        Trace::Add("enter " + std::to_string(keys) + " " + Where(pWnd, pt) +
            (data->IsDataAvailable(CF_UNICODETEXT) ? " text" : "") + (data->IsDataAvailable(CF_TEXT) ? " ansi" : ""));
        return answer(keys);
    }
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject*, DWORD keys, CPoint pt) override
    {
        Trace::Add("over " + std::to_string(keys) + " " + Where(pWnd, pt));
        return answer(keys);
    }
    void OnDragLeave(CWnd*) override { Trace::Add("leave"); }
    DROPEFFECT OnDropEx(CWnd* pWnd, COleDataObject*, DROPEFFECT def, DROPEFFECT list, CPoint pt) override
    {
        Trace::Add("dropex " + std::to_string(def) + " " + std::to_string(list) + " " + Where(pWnd, pt));
        return dropExResult;
    }
    BOOL OnDrop(CWnd* pWnd, COleDataObject* data, DROPEFFECT effect, CPoint pt) override
    {
        Trace::Add("drop " + std::to_string(effect) + " " + Where(pWnd, pt));
        // Each consumer gets a block of its own.
        received.push_back(data->GetGlobalData(CF_UNICODETEXT));
        received.push_back(data->GetGlobalData(CF_UNICODETEXT));
        return dropResult;
    }
    void FreeReceived()
    {
        for (HGLOBAL h : received)
            if (h)
                GlobalFree(h);
        received.clear();
    }
};

class CCountingSource : public COleDropSource {
public:
    int queries = 0;
    BOOL began = -1;
    SCODE QueryContinueDrag(BOOL esc, DWORD keys) override
    {
        ++queries;
        return COleDropSource::QueryContinueDrag(esc, keys);
    }
    BOOL OnBeginDrag(CWnd* pWnd) override
    {
        began = COleDropSource::OnBeginDrag(pWnd);
        Trace::Add(std::string("begin ") + (pWnd ? "wnd" : "nowndw") + " " + std::to_string(began));
        return began;
    }
};

class ClassLibraryTest : public OleTest {
protected:
    void SetUp() override
    {
        OleTest::SetUp();
        MakeWindows();
        ASSERT_TRUE(m_dropTarget.Register(&m_target));
        m_data = new COleDataSource;
        m_data->CacheGlobalData(CF_UNICODETEXT, Block(kHello));
    }
    void TearDown() override
    {
        m_dropTarget.FreeReceived();
        if (m_data)
            m_data->InternalRelease();
        OleTest::TearDown();
    }
    DROPEFFECT Drag(DWORD effects = DROPEFFECT_COPY | DROPEFFECT_MOVE, COleDropSource* source = nullptr)
    {
        Trace::Clear();
        return m_data->DoDragDrop(effects, nullptr, source);
    }

    CRecTarget m_dropTarget;
    COleDataSource* m_data = nullptr;
};

TEST_F(ClassLibraryTest, WholeDragFromDataSourceToDropTarget)
{
    CCountingSource source;
    PressAt(100, 100);
    Move(101, 101);   // within the start rectangle: no drag yet
    Move(100, 160);   // out of it: the drag starts
    Move(600, 250);   // target client 200,230
    Move(605, 250);
    Button(MouseButton::Left, false);
    EXPECT_EQ(Drag(DROPEFFECT_COPY | DROPEFFECT_MOVE, &source), DROPEFFECT_MOVE);
    EXPECT_EQ(Trace::Lines(), (Lines{
        "begin wnd 1",
        "enter 1 200,230 text",
        "over 1 205,230",
        "dropex 2 3 205,230",      // the default effect and the allowed ones
        "drop 2 205,230",
    }));
    ASSERT_EQ(m_dropTarget.received.size(), 2u);
    ASSERT_NE(m_dropTarget.received[0], nullptr);
    ASSERT_NE(m_dropTarget.received[1], nullptr);
    EXPECT_NE(m_dropTarget.received[0], m_dropTarget.received[1]) << "a fresh block per GetData";
    EXPECT_EQ(Bytes(m_dropTarget.received[0]), kHello);
    EXPECT_EQ(Bytes(m_dropTarget.received[1]), kHello);
    EXPECT_EQ(m_dropTarget.m_nTimerID, 0xFFFFu);
    EXPECT_EQ(m_dropTarget.m_lpDataObject, nullptr) << "the target lets the data go after the drop";
}

TEST_F(ClassLibraryTest, CtrlChangesTheEffectUpToTheDrop)
{
    PressAt(100, 100);
    Move(600, 250);
    Key(VK_CONTROL, true);
    Button(MouseButton::Left, false);
    EXPECT_EQ(Drag(), DROPEFFECT_COPY);
    EXPECT_EQ(Trace::Lines(), (Lines{"enter 1 200,230 text", "over 9 200,230", "dropex 1 3 200,230", "drop 1 200,230"}));
}

TEST_F(ClassLibraryTest, DropExDecidesFirstAndAFailedDropIsNoEffect)
{
    struct Row {
        const char* name;
        DROPEFFECT dropEx;
        BOOL drop;
        DROPEFFECT expected;
        size_t lines;
    };
    const Row rows[] = {
        // enter, dropex (, drop)
        {"dropex handles", DROPEFFECT_COPY, TRUE, DROPEFFECT_COPY, 2},   // OnDrop never runs
        {"dropex declines, drop works", static_cast<DROPEFFECT>(-1), TRUE, DROPEFFECT_MOVE, 3},
        {"drop fails", static_cast<DROPEFFECT>(-1), FALSE, DROPEFFECT_NONE, 3},
    };
    for (const Row& r : rows) {
        m_dropTarget.dropExResult = r.dropEx;
        m_dropTarget.dropResult = r.drop;
        PressAt(100, 100);
        Move(600, 250);
        Button(MouseButton::Left, false);
        EXPECT_EQ(Drag(), r.expected) << r.name;
        EXPECT_EQ(Trace::Lines().size(), r.lines) << r.name;
        m_dropTarget.FreeReceived();
    }
}

TEST_F(ClassLibraryTest, DragStartsOnlyOutsideTheStartRectangleOrAfterTheDelay)
{
    // Released within the rectangle: no drag at all.
    CCountingSource source;
    PressAt(100, 100);
    Move(101, 99);
    Button(MouseButton::Left, false);
    EXPECT_EQ(Drag(DROPEFFECT_MOVE, &source), DROPEFFECT_NONE);
    EXPECT_EQ(source.began, FALSE);
    EXPECT_EQ(source.queries, 0) << "the OLE drag never ran";

    // Escape before the drag starts: none either.
    PressAt(100, 100);
    Key(VK_ESCAPE, true);
    EXPECT_EQ(Drag(DROPEFFECT_MOVE, &source), DROPEFFECT_NONE);
    EXPECT_EQ(source.began, FALSE);
    user::InjectMouseButton(MouseButton::Left, false);
    user::InjectKey(VK_ESCAPE, false);
    Pump();

    // Resting: the drag starts when the delay has passed, though the mouse never moved.
    ASSERT_EQ(COleDropSource::nDragDelay, static_cast<UINT>(DD_DEFDRAGDELAY));
    PressAt(100, 100);
    Wait(DD_DEFDRAGDELAY - 1);
    Do([&] { EXPECT_EQ(source.queries, 0) << "not started one millisecond early"; });
    Wait(1);
    Move(600, 250);
    Button(MouseButton::Left, false);
    EXPECT_EQ(Drag(DROPEFFECT_MOVE, &source), DROPEFFECT_MOVE);
    EXPECT_EQ(source.began, TRUE);
    EXPECT_GT(source.queries, 0);
}

TEST_F(ClassLibraryTest, RightButtonDragsDropOnRightReleaseAndCancelOnLeft)
{
    PressAt(100, 100, MouseButton::Right);
    Move(600, 250);
    Button(MouseButton::Left, true); // the other button
    EXPECT_EQ(Drag(), DROPEFFECT_NONE);
    EXPECT_EQ(Trace::Lines(), (Lines{"enter 2 200,230 text", "leave"}));
    user::InjectMouseButton(MouseButton::Left, false);
    user::InjectMouseButton(MouseButton::Right, false);
    Pump();

    PressAt(100, 100, MouseButton::Right);
    Move(600, 250);
    Button(MouseButton::Right, false);
    EXPECT_EQ(Drag(), DROPEFFECT_MOVE);
}

TEST_F(ClassLibraryTest, DefaultDropEffectIsOneAllowedEffect)
{
    constexpr DWORD C = DROPEFFECT_COPY, M = DROPEFFECT_MOVE, L = DROPEFFECT_LINK, S = DROPEFFECT_SCROLL;
    struct Row {
        DROPEFFECT last, allowed;
        DWORD keys;
        DROPEFFECT expected;
    };
    const Row rows[] = {
        {M, C | M, 0, M},
        {M | S, C | M, 0, M},            // scrolling is not a drop effect
        {L, C | M, 0, 0},                // not allowed
        {C | M | L, C | M | L, 0, M},    // several: move first
        {C | L, C | M | L, 0, C},        // then copy
        {C | M | L, C | M | L, MK_CONTROL, C},
        {C | M | L, C | M | L, MK_CONTROL | MK_SHIFT, L},
        {C | M | L, C | M | L, MK_SHIFT, M},
        {C | M | L, C | M | L, MK_ALT, M},
        {C | L, C | L, MK_SHIFT, C},     // the key's effect is not offered
        {0, C | M | L, MK_CONTROL, 0},
    };
    for (const Row& r : rows)
        EXPECT_EQ(ole::DefaultDropEffect(r.last, r.allowed, r.keys), r.expected)
            << r.last << " " << r.allowed << " " << r.keys;
}

TEST_F(ClassLibraryTest, DestroyingTheWindowRevokesItsTarget)
{
    CRecTarget other;
    EXPECT_FALSE(other.Register(&m_target)) << "the window has a target";
    EXPECT_FALSE(m_dropTarget.Register(&m_source)) << "the object serves one window";
    ASSERT_TRUE(other.Register(&m_source));
    EXPECT_EQ(ole::RegisteredDropTargetCount(), 2u);
    EXPECT_EQ(m_dropTarget.GetRegisteredWindow(), m_target.m_hWnd);
    m_target.DestroyWindow();
    EXPECT_EQ(m_dropTarget.GetRegisteredWindow(), nullptr);
    EXPECT_EQ(ole::RegisteredDropTargetCount(), 1u);
    // Re-registering after the old window went is fine; the other target revokes itself
    // when it is destroyed.
    ASSERT_TRUE(m_target.CreateEx(0, AfxRegisterWndClass(0), L"t2", WS_CHILD | WS_VISIBLE, 400, 20, 300, 300,
        m_frame.m_hWnd, nullptr));
    EXPECT_TRUE(m_dropTarget.Register(&m_target));
    other.Revoke();
    EXPECT_EQ(ole::RegisteredDropTargetCount(), 1u);
    OleUninitialize();
    EXPECT_FALSE(other.Register(&m_source)) << "OLE is not initialised";
    EXPECT_EQ(OleInitialize(nullptr), S_OK);
}

TEST_F(ClassLibraryTest, DragSettingsComeFromTheProfileWithSystemDefaults)
{
    struct Row {
        const wchar_t* key;
        const wchar_t* value;
        std::function<UINT()> read;
        UINT expected;
    };
    const Row rows[] = {
        {L"DragDelay", L"350", [] { return COleDropSource::nDragDelay; }, 350},
        {L"DragMinDist", L"7", [] { return COleDropSource::nDragMinDist; }, 7},
        {L"DragScrollInset", L"4", [] { return static_cast<UINT>(COleDropTarget::nScrollInset); }, 4},
        {L"DragScrollDelay", L"120", [] { return COleDropTarget::nScrollDelay; }, 120},
        {L"DragScrollInterval", L"30", [] { return COleDropTarget::nScrollInterval; }, 30},
    };
    for (const Row& r : rows)
        ASSERT_TRUE(WriteProfileStringW(L"windows", r.key, r.value));
    ole::LoadDragSettings();
    for (const Row& r : rows)
        EXPECT_EQ(r.read(), r.expected) << std::wstring(r.key).size();
    for (const Row& r : rows)
        WriteProfileStringW(L"windows", r.key, nullptr);
    ole::LoadDragSettings();
    EXPECT_EQ(COleDropSource::nDragDelay, static_cast<UINT>(DD_DEFDRAGDELAY));
    EXPECT_EQ(COleDropSource::nDragMinDist, static_cast<UINT>(DD_DEFDRAGMINDIST));
    EXPECT_EQ(COleDropTarget::nScrollInset, DD_DEFSCROLLINSET);
    EXPECT_EQ(COleDropTarget::nScrollDelay, static_cast<UINT>(DD_DEFSCROLLDELAY));
    EXPECT_EQ(COleDropTarget::nScrollInterval, static_cast<UINT>(DD_DEFSCROLLINTERVAL));
}

using DataSourceTest = OleTest;

class CDelayed : public COleDataSource {
public:
    int renders = 0;
    BOOL OnRenderGlobalData(LPFORMATETC f, HGLOBAL* ph) override
    {
        ++renders;
        if (f->cfFormat != CF_TEXT)
            return FALSE;
        *ph = Block("late");
        return TRUE;
    }
};

TEST_F(DataSourceTest, FormatsCopiesRenderingAndLifetime)
{
    const size_t live = com::LiveObjectCount();
    auto* src = new CDelayed;
    EXPECT_EQ(com::LiveObjectCount(), live + 1);
    src->CacheGlobalData(CF_UNICODETEXT, Block("one"));
    src->CacheGlobalData(CF_UNICODETEXT, Block("two")); // replaces
    src->DelayRenderData(CF_TEXT);
    const UINT cfPrivate = RegisterClipboardFormat(L"Zyn test private");
    src->CacheGlobalData(static_cast<CLIPFORMAT>(cfPrivate), Block("p"));
    IDataObject* ido = src->GetDataObject();
    EXPECT_EQ(src->GetInterface(&IID_IDataObject), ido);
    EXPECT_EQ(src->GetInterface(&IID_IStream), nullptr);

    COleDataObject obj;
    obj.Attach(ido, FALSE);
    // Formats in the order cached, the replaced one once.
    obj.BeginEnumFormats();
    std::vector<CLIPFORMAT> formats;
    FORMATETC f;
    while (obj.GetNextFormat(&f))
        formats.push_back(f.cfFormat);
    EXPECT_EQ(formats, (std::vector<CLIPFORMAT>{CF_UNICODETEXT, CF_TEXT, static_cast<CLIPFORMAT>(cfPrivate)}));

    // Why a format cannot be had.
    struct Row {
        const char* name;
        FORMATETC f;
        HRESULT expected;
    };
    const Row rows[] = {
        {"cached", {CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}, S_OK},
        {"any page", {CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, 3, TYMED_HGLOBAL}, DV_E_LINDEX},
        {"medium", {CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_ISTREAM}, DV_E_TYMED},
        {"aspect", {CF_UNICODETEXT, nullptr, DVASPECT_ICON, -1, TYMED_HGLOBAL}, DV_E_DVASPECT},
        {"format", {CF_OEMTEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}, DV_E_FORMATETC},
        {"delayed", {CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}, S_OK},
    };
    for (const Row& r : rows) {
        FORMATETC q = r.f;
        EXPECT_EQ(ido->QueryGetData(&q), r.expected) << r.name;
    }
    EXPECT_EQ(src->renders, 0) << "asking renders nothing";

    // Each GetData is a block of the consumer's own.
    HGLOBAL a = obj.GetGlobalData(CF_UNICODETEXT), b = obj.GetGlobalData(CF_UNICODETEXT);
    ASSERT_TRUE(a && b);
    EXPECT_NE(a, b);
    EXPECT_EQ(Bytes(a), "two");
    std::memcpy(GlobalLock(a), "XXX", 3); // one consumer scribbles on its copy
    GlobalUnlock(a);
    EXPECT_EQ(Bytes(b), "two");
    HGLOBAL c = obj.GetGlobalData(CF_UNICODETEXT);
    EXPECT_EQ(Bytes(c), "two") << "the cache is untouched";
    GlobalFree(a);
    GlobalFree(b);
    GlobalFree(c);
    HGLOBAL late = obj.GetGlobalData(CF_TEXT);
    ASSERT_NE(late, nullptr);
    EXPECT_EQ(Bytes(late), "late");
    EXPECT_EQ(src->renders, 1);
    GlobalFree(late);
    EXPECT_EQ(obj.GetGlobalData(CF_OEMTEXT), nullptr);

    // GetDataHere fills the caller's block when it is big enough.
    STGMEDIUM here{};
    here.tymed = TYMED_HGLOBAL;
    here.hGlobal = GlobalAlloc(GMEM_MOVEABLE, 2);
    FORMATETC fu{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    EXPECT_EQ(ido->GetDataHere(&fu, &here), STG_E_MEDIUMFULL);
    here.hGlobal = GlobalReAlloc(here.hGlobal, 3, GMEM_MOVEABLE);
    EXPECT_EQ(ido->GetDataHere(&fu, &here), S_OK);
    EXPECT_EQ(Bytes(here.hGlobal), "two");
    ReleaseStgMedium(&here);

    // A file view of the data.
    CFile* file = obj.GetFileData(static_cast<CLIPFORMAT>(cfPrivate));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->GetLength(), 1u);
    delete file;

    // Consumers' references keep the source alive past its creator's release.
    obj.Release();
    ido->AddRef();
    src->InternalRelease();
    EXPECT_EQ(com::LiveObjectCount(), live + 1);
    ido->Release();
    EXPECT_EQ(com::LiveObjectCount(), live) << "the last release deletes the source";
}

TEST_F(DataSourceTest, ClipboardSharesRegisteredFormatsAndGetsCopies)
{
    const UINT cf = RegisterClipboardFormat(L"Shortcut bar child window item");
    EXPECT_GE(cf, 0xC000u);
    EXPECT_EQ(RegisterClipboardFormatW(L"shortcut BAR child window item"), cf) << "one table, names without case";
    auto* src = new COleDataSource;
    src->CacheGlobalData(static_cast<CLIPFORMAT>(cf), Block("item"));
    src->CacheGlobalData(CF_UNICODETEXT, Block(kHello));
    src->SetClipboard(); // the clipboard takes copies; the source is handed over
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE h = GetClipboardData(cf);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(Bytes(h), "item");
    CloseClipboard();

    COleDataObject clip;
    ASSERT_TRUE(clip.AttachClipboard());
    EXPECT_TRUE(clip.IsDataAvailable(static_cast<CLIPFORMAT>(cf)));
    EXPECT_TRUE(clip.IsDataAvailable(CF_OEMTEXT)) << "the clipboard makes the other text formats";
    EXPECT_FALSE(clip.IsDataAvailable(CF_DIB));
    HGLOBAL got = clip.GetGlobalData(static_cast<CLIPFORMAT>(cf));
    ASSERT_NE(got, nullptr);
    EXPECT_NE(got, h) << "a copy of the clipboard's block";
    EXPECT_EQ(Bytes(got), "item");
    GlobalFree(got);
}

} // namespace
} // namespace zyn::test
