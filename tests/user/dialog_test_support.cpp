#include "tests/user/dialog_test_support.h"

#include "tools/rc/rc_compiler.h"

namespace zyn::test {

const wchar_t* DialogTest::kEditClass = L"TestEdit";

std::vector<uint8_t> CompileDialog(std::string_view script, uint16_t id)
{
    std::string text = "#include <windows.h>\n";
    text += script;
    const rc::CompileResult r = rc::CompileText(text);
    std::string messages;
    for (const rc::Diagnostic& d : r.diagnostics)
        messages += d.Format() + "\n";
    EXPECT_TRUE(r.ok) << messages;
    for (const rc::Resource& res : r.resources)
        if (res.type == rc::ResId::Number(5) && res.name == rc::ResId::Number(id))
            return res.data;
    ADD_FAILURE() << "no dialog " << id << " in the script";
    return {};
}

SIZE HandBaseUnits(HFONT font)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    SIZE ext{};
    GetTextExtentPoint32W(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &ext);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return SIZE{(ext.cx / 26 + 1) / 2, tm.tmHeight};
}

int Scale(int v, int num, int den) { return (2 * v * num + den) / (2 * den); }

namespace {

LRESULT EditProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    Recorder::Get().Record(h, m, wp, lp);
    if (m == WM_GETDLGCODE)
        return DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
    return DefWindowProcW(h, m, wp, lp);
}

} // namespace

void DialogTest::SetUp()
{
    UserTest::SetUp();
    base::Clock::UseVirtual(50000);
    user::SetScriptedMode(true);
    Log().clear();
    Answer() = nullptr;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = EditProc;
    wc.lpszClassName = kEditClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_WINDOW + 1));
    ASSERT_NE(RegisterClassExW(&wc), 0);
}

void DialogTest::TearDown()
{
    Answer() = nullptr;
    Log().clear();
    UserTest::TearDown();
}

DialogTest::Handler& DialogTest::Answer()
{
    static Handler h;
    return h;
}

std::vector<Rec>& DialogTest::Log()
{
    static std::vector<Rec> log;
    return log;
}

INT_PTR DialogTest::Proc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    Log().push_back(Rec{h, m, wp, lp});
    if (Answer())
        if (auto r = Answer()(h, m, wp, lp))
            return *r;
    return m == WM_INITDIALOG ? TRUE : FALSE;
}

std::vector<std::pair<int, int>> DialogTest::Commands()
{
    std::vector<std::pair<int, int>> out;
    for (const Rec& r : Log())
        if (r.msg == WM_COMMAND)
            out.emplace_back(LOWORD(r.wp), HIWORD(r.wp));
    return out;
}

HWND DialogTest::Create(std::string_view script, uint16_t id, HWND parent, LPARAM init)
{
    const auto bytes = CompileDialog(script, id);
    return user::CreateDialogFromBytes(bytes, nullptr, parent, &DialogTest::Proc, init);
}

void DialogTest::PumpDialog(HWND dlg)
{
    MSG m;
    for (int guard = 0; guard < 10000 && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE); ++guard) {
        if (IsDialogMessageW(dlg, &m))
            continue;
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

void DialogTest::Press(HWND dlg, int vk, bool shift, bool alt)
{
    if (shift)
        user::InjectKey(VK_SHIFT, true);
    if (alt)
        user::InjectKey(VK_MENU, true);
    user::InjectKeyPress(vk);
    if (alt)
        user::InjectKey(VK_MENU, false);
    if (shift)
        user::InjectKey(VK_SHIFT, false);
    PumpDialog(dlg);
}

RECT DialogTest::ClientRectIn(HWND child, HWND parent)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

} // namespace zyn::test
