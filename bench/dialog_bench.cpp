// A dialog of 60 controls from its template, per dialog: create (font, dialog units, the
// controls, WM_INITDIALOG), lay out, paint and destroy; beside creating, painting and
// destroying 60 plain child windows of the same sizes under a parent of the dialog's size
// in the same run. The controls are the configuration screens' kinds: labels, edits, push
// buttons, check boxes, drop-down lists and list boxes, in the dialog font.
//
// The goal: a dialog costs at most 4 times its plain windows. BM_DialogAgainstPlain runs
// both in turn within each iteration and reports the ratio of their totals; compare
// medians of repetitions, e.g. dialog_bench --benchmark_repetitions=9
// --benchmark_report_aggregates_only=true
//
// Also a configuration screen of the example console opened beside another (the
// operators open, the doors opened from the command as a person does), to idle and then
// also closed to idle; its baseline, in the same iteration, is the same window tree made
// of plain windows (the root a plain document window of the same MDI client with the
// screen frame's rectangle and style, the rest plain children with theirs), opened as a
// document window is (raised, shown, activated) and painted to idle, and then also
// destroyed. Goal: at most 4 times.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <optional>
#include <cstring>
#include <string>
#include <vector>

#include "console_fixture.h"
#include "platform/base/globalmem.h"
#include "platform/gdi/gdi_types.h"
#include "platform/user/button.h"
#include "platform/user/combobox.h"
#include "platform/user/dialog.h"
#include "platform/user/driver.h"
#include "platform/user/edit.h"
#include "platform/user/listbox.h"
#include "platform/user/mdiclient.h"
#include "platform/user/static.h"
#include "platform/user/winuser.h"

namespace {

// Writes a classic DLGTEMPLATE: the head, no menu, the standard class, a title, the font,
// then each item DWORD-aligned with an ordinal class, a title and no creation data.
class TemplateWriter {
public:
    void Words(std::initializer_list<WORD> ws)
    {
        for (WORD w : ws)
            Put(&w, sizeof w);
    }
    void Dword(DWORD d) { Put(&d, sizeof d); }
    void Text(const wchar_t* s)
    {
        for (; *s; ++s)
            Words({static_cast<WORD>(*s)});
        Words({0});
    }
    void Align()
    {
        while (m_bytes.size() % 4)
            m_bytes.push_back(0);
    }
    std::vector<uint8_t>& Bytes() { return m_bytes; }

private:
    void Put(const void* p, size_t n)
    {
        const auto* b = static_cast<const uint8_t*>(p);
        m_bytes.insert(m_bytes.end(), b, b + n);
    }
    std::vector<uint8_t> m_bytes;
};

struct Item {
    WORD classOrdinal;
    DWORD style;
    const wchar_t* text;
};

constexpr int kControls = 60;
constexpr int kColumns = 4;

// 60 controls in four columns of fifteen rows: each row a label, an edit, a check box and
// one of a push button, a drop-down list or a list box in turn.
std::vector<uint8_t> SixtyControlTemplate()
{
    TemplateWriter w;
    w.Dword(DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    w.Dword(0);
    w.Words({static_cast<WORD>(kControls), 0, 0, 400, 330}); // cdit, x, y, cx, cy
    w.Words({0, 0});                                          // no menu, standard class
    w.Text(L"Sixty controls");
    w.Words({8});
    w.Text(L"MS Shell Dlg");
    const Item kinds[] = {
        {0x0082, SS_LEFT, L"&Label:"},
        {0x0081, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, L"Some text"},
        {0x0080, BS_AUTOCHECKBOX | WS_TABSTOP, L"&Check"},
        {0x0080, BS_PUSHBUTTON | WS_TABSTOP, L"&Button"},
        {0x0085, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, L""},
        {0x0083, LBS_NOTIFY | WS_BORDER | WS_VSCROLL | WS_TABSTOP, L""},
    };
    for (int i = 0; i < kControls; ++i) {
        const int row = i / kColumns, column = i % kColumns;
        const Item& kind = column < 3 ? kinds[column] : kinds[3 + row % 3];
        w.Align();
        w.Dword(WS_CHILD | WS_VISIBLE | kind.style);
        w.Dword(0);
        const short cy = kind.classOrdinal == 0x0083 ? 18 : 12;
        w.Words({static_cast<WORD>(4 + column * 98), static_cast<WORD>(4 + row * 21), 92, static_cast<WORD>(cy),
            static_cast<WORD>(100 + i)});
        w.Words({0xFFFF, kind.classOrdinal});
        w.Text(kind.text);
        w.Words({0});
    }
    return w.Bytes();
}

// The template in a global block (the dialog manager reads a template within its block).
struct GlobalTemplate {
    HGLOBAL block = nullptr;
    const DLGTEMPLATE* data = nullptr;
    explicit GlobalTemplate(const std::vector<uint8_t>& bytes)
    {
        block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        auto* p = static_cast<uint8_t*>(GlobalLock(block));
        std::memcpy(p, bytes.data(), bytes.size());
        data = reinterpret_cast<const DLGTEMPLATE*>(p);
    }
    ~GlobalTemplate()
    {
        GlobalUnlock(block);
        GlobalFree(block);
    }
};

INT_PTR DlgProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG ? TRUE : FALSE; }

// The setting both runs share: the template, and the controls' sizes as the dialog makes
// them, for the plain windows.
struct Setting {
    GlobalTemplate templ{SixtyControlTemplate()};
    RECT dialogWindow{};
    std::vector<RECT> controls;
    Setting()
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &DefWindowProcW;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
        wc.lpszClassName = L"DialogBenchPlain";
        RegisterClassW(&wc);
        const HWND dlg = CreateDialogIndirectParamW(nullptr, templ.data, nullptr, &DlgProc, 0);
        GetWindowRect(dlg, &dialogWindow);
        for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            RECT r{};
            GetWindowRect(c, &r);
            MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
            controls.push_back(r);
        }
        DestroyWindow(dlg);
    }
};

Setting& TheSetting()
{
    static Setting setting;
    return setting;
}

void PaintNow(HWND hWnd)
{
    RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void OneDialog(const Setting& s)
{
    const HWND dlg = CreateDialogIndirectParamW(nullptr, s.templ.data, nullptr, &DlgProc, 0);
    ShowWindow(dlg, SW_SHOWNA);
    PaintNow(dlg);
    DestroyWindow(dlg);
}

void OnePlain(const Setting& s)
{
    const RECT& d = s.dialogWindow;
    const HWND parent = CreateWindowExW(0, L"DialogBenchPlain", L"Sixty windows", WS_POPUP | WS_CAPTION | WS_SYSMENU,
        d.left, d.top, d.right - d.left, d.bottom - d.top, nullptr, nullptr, nullptr, nullptr);
    int id = 100;
    for (const RECT& r : s.controls)
        CreateWindowExW(0, L"DialogBenchPlain", L"", WS_CHILD | WS_VISIBLE, r.left, r.top, r.right - r.left,
            r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), nullptr, nullptr);
    ShowWindow(parent, SW_SHOWNA);
    PaintNow(parent);
    DestroyWindow(parent);
}

void BM_Dialog60(benchmark::State& state)
{
    const Setting& s = TheSetting();
    for (auto _ : state)
        OneDialog(s);
    state.SetItemsProcessed(state.iterations() * kControls);
}
BENCHMARK(BM_Dialog60)->Unit(benchmark::kMicrosecond);

void BM_Plain60(benchmark::State& state)
{
    const Setting& s = TheSetting();
    for (auto _ : state)
        OnePlain(s);
    state.SetItemsProcessed(state.iterations() * kControls);
}
BENCHMARK(BM_Plain60)->Unit(benchmark::kMicrosecond);

// Both in turn, so the machine's state is the same for each; the ratio of their totals.
void BM_DialogAgainstPlain(benchmark::State& state)
{
    using Clock = std::chrono::steady_clock;
    const Setting& s = TheSetting();
    Clock::duration dialog{}, plain{};
    for (auto _ : state) {
        const auto t0 = Clock::now();
        OneDialog(s);
        const auto t1 = Clock::now();
        OnePlain(s);
        const auto t2 = Clock::now();
        dialog += t1 - t0;
        plain += t2 - t1;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["dialog_us"] = std::chrono::duration<double, std::micro>(dialog).count() / n;
    state.counters["plain_us"] = std::chrono::duration<double, std::micro>(plain).count() / n;
    state.counters["ratio"] = plain.count() ? static_cast<double>(dialog.count()) / static_cast<double>(plain.count()) : 0.0;
}
BENCHMARK(BM_DialogAgainstPlain)->Unit(benchmark::kMicrosecond);

// ---- a configuration screen beside another ------------------------------------------------

// One window of a captured tree: its parent (an index before it, -1 for the root), its
// rectangle in the parent's client coordinates and its style.
struct Node {
    int parent;
    RECT rect;
    DWORD style;
};

void Capture(HWND hwnd, int parent, std::vector<Node>& out)
{
    RECT r{};
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    const auto style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    out.push_back(Node{parent, r, style});
    const int me = static_cast<int>(out.size()) - 1;
    for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        Capture(c, me, out);
}

// The tree made of plain windows in the MDI client `client`: the root a plain document
// window (made hidden through WM_MDICREATE, as a screen's frame is, with its rectangle and
// style), the others plain children of their parents; the root opened when complete.
HWND BuildPlain(HWND client, const std::vector<Node>& tree)
{
    std::vector<HWND> made;
    for (const Node& n : tree) {
        const int cx = n.rect.right - n.rect.left, cy = n.rect.bottom - n.rect.top;
        if (n.parent < 0) {
            MDICREATESTRUCTW mcs{L"DialogBenchDocument", L"Doors", nullptr, n.rect.left, n.rect.top, cx, cy,
                n.style & ~WS_VISIBLE, 0};
            made.push_back(reinterpret_cast<HWND>(SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs))));
            continue;
        }
        const DWORD style = WS_CHILD | (n.style & (WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
        made.push_back(CreateWindowExW(0, L"DialogBenchPlain", L"", style, n.rect.left, n.rect.top, cx, cy,
            made[static_cast<size_t>(n.parent)], nullptr, nullptr, nullptr));
    }
    // Opened as a screen's frame is: raised while hidden, shown, and made the active
    // document (the screen beside it loses the activation), so that it ends on top of its
    // siblings, painted whole, with the caption an open screen has.
    BringWindowToTop(made.front());
    ShowWindow(made.front(), SW_SHOWNORMAL);
    SendMessageW(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(made.front()), 0);
    return made.front();
}

// The console with the operators open, and the door screen's tree captured from one
// opening of it (closed again).
struct ScreenSetting {
    benchconsole::Session session;
    std::vector<Node> doorTree;
    std::string why;
    ScreenSetting()
    {
        TheSetting(); // the plain class
        WNDCLASSW wc{};
        wc.lpfnWndProc = &DefMDIChildProcW;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
        wc.lpszClassName = L"DialogBenchDocument";
        RegisterClassW(&wc);
        if (!session.Started() || !session.Open(ID_VIEW_HOST_OPERATORS) || !session.Open(ID_VIEW_HOST_DOORS)) {
            why = session.m_why.empty() ? "the console did not start" : session.m_why;
            return;
        }
        Capture(Doors(), -1, doorTree);
        Close();
    }
    HWND Doors()
    {
        CViewInfo* info = session.App().GetViewInfo(ID_VIEW_HOST_DOORS);
        CFrameWnd* frame = info ? info->GetOpenFrame() : nullptr;
        return frame ? frame->m_hWnd : nullptr;
    }
    void Close()
    {
        if (const HWND doors = Doors())
            ::SendMessageW(doors, WM_CLOSE, 0, 0);
        benchconsole::RunUntilIdle(session.App());
    }
    HWND MdiClient() const { return session.Frame()->m_hWndMDIClient; }
};

// The two sides of one iteration (kept apart so that a profile can tell them apart):
// the door screen opened to idle, and closed to idle with `close`; the plain tree made
// and painted to idle, and destroyed to idle with `close`.
[[gnu::noinline]] bool ScreenSide(ScreenSetting& s, bool close)
{
    if (!s.session.Open(ID_VIEW_HOST_DOORS))
        return false;
    if (close)
        s.Close();
    return true;
}

[[gnu::noinline]] HWND PlainSide(ScreenSetting& s, bool close)
{
    const HWND root = BuildPlain(s.MdiClient(), s.doorTree);
    benchconsole::RunUntilIdle(s.session.App());
    if (!close)
        return root;
    SendMessageW(s.MdiClient(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(root), 0);
    benchconsole::RunUntilIdle(s.session.App());
    return nullptr;
}

// Opens the door screen beside the operators to idle (and closes it to idle, with
// `close`), then the same tree of plain windows; the ratio of their totals.
void ScreenBesideAnother(benchmark::State& state, bool close)
{
    // The thread's processor time: what a busy machine takes from the program between two
    // readings is not counted against either side.
    struct Clock {
        using duration = std::chrono::nanoseconds;
        static std::chrono::time_point<Clock, duration> now()
        {
            timespec ts{};
            clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
            return std::chrono::time_point<Clock, duration>(std::chrono::seconds(ts.tv_sec) + duration(ts.tv_nsec));
        }
    };
    std::optional<benchconsole::Quiet> quiet(std::in_place);
    ScreenSetting s;
    quiet.reset();
    if (!s.why.empty() || s.doorTree.empty()) {
        state.SkipWithError(s.why.empty() ? "no door screen" : s.why.c_str());
        quiet.emplace();
        return;
    }
    Clock::duration screen{}, plain{};
    for (auto _ : state) {
        auto t0 = Clock::now();
        if (!ScreenSide(s, close)) {
            state.SkipWithError(s.session.m_why.c_str());
            break;
        }
        screen += Clock::now() - t0;
        if (!close)
            s.Close();

        t0 = Clock::now();
        const HWND root = PlainSide(s, close);
        plain += Clock::now() - t0;
        if (root) {
            SendMessageW(s.MdiClient(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(root), 0);
            benchconsole::RunUntilIdle(s.session.App());
        }
    }
    const double n = static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.counters["screen_us"] = std::chrono::duration<double, std::micro>(screen).count() / n;
    state.counters["plain_us"] = std::chrono::duration<double, std::micro>(plain).count() / n;
    state.counters["windows"] = static_cast<double>(s.doorTree.size());
    state.counters["ratio"] = plain.count() ? static_cast<double>(screen.count()) / static_cast<double>(plain.count()) : 0.0;
    quiet.emplace(); // for the console's closing lines
}

void BM_ScreenBesideAnotherToIdle(benchmark::State& state) { ScreenBesideAnother(state, false); }
BENCHMARK(BM_ScreenBesideAnotherToIdle)->Unit(benchmark::kMillisecond);

void BM_ScreenBesideAnotherOpenClose(benchmark::State& state) { ScreenBesideAnother(state, true); }
BENCHMARK(BM_ScreenBesideAnotherOpenClose)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
