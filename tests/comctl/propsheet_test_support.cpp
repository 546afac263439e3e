#include "tests/comctl/propsheet_test_support.h"

#include "platform/base/lasterror.h"
#include "platform/base/tchar.h"
#include "platform/user/dialog.h"
#include "platform/user/vkeys.h"
#include "tests/support/pump.h"

namespace zyn::test {

namespace {

const wchar_t* EventOf(UINT code, LPARAM lParam)
{
    switch (code) {
    case PSN_SETACTIVE: return L"setactive";
    case PSN_KILLACTIVE: return L"killactive";
    case PSN_APPLY: return lParam ? L"apply-ok" : L"apply";
    case PSN_RESET: return L"reset";
    case PSN_HELP: return L"help";
    case PSN_QUERYCANCEL: return L"querycancel";
    case PSN_WIZBACK: return L"wizback";
    case PSN_WIZNEXT: return L"wiznext";
    case PSN_WIZFINISH: return L"wizfinish";
    default: return nullptr;
    }
}

} // namespace

INT_PTR PropSheetTest::PageProc(HWND hwnd, UINT msg, WPARAM, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: {
        const auto* psp = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, psp ? psp->lParam : 0);
        log.push_back(NameOf(hwnd) + L":init");
        if (onInit)
            onInit(hwnd, NameOf(hwnd));
        return TRUE;
    }
    case WM_NOTIFY: {
        const auto* n = reinterpret_cast<const PSHNOTIFY*>(lParam);
        const wchar_t* event = EventOf(n->hdr.code, n->lParam);
        if (!event)
            return FALSE;
        const std::wstring name = NameOf(hwnd);
        log.push_back(name + L":" + event);
        const auto it = answers.find({name, n->hdr.code});
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, it == answers.end() ? 0 : it->second);
        if (onNotify)
            onNotify(hwnd, name, n->hdr.code);
        return TRUE;
    }
    case PSM_QUERYSIBLINGS: {
        const std::wstring name = NameOf(hwnd);
        log.push_back(name + L":siblings");
        const auto it = answers.find({name, PSM_QUERYSIBLINGS});
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, it == answers.end() ? 0 : it->second);
        return TRUE;
    }
    case WM_DESTROY:
        log.push_back(NameOf(hwnd) + L":destroy");
        return FALSE;
    default:
        return FALSE;
    }
}

std::wstring PropSheetTest::NameOf(HWND page)
{
    const auto* name = reinterpret_cast<const wchar_t*>(GetWindowLongPtrW(page, DWLP_USER));
    return name ? name : L"?";
}

void PropSheetTest::SetUp()
{
    ComctlTest::SetUp();
    user::SetScriptedMode(true);
    user::AnswerScript::Clear();
    log.clear();
    answers.clear();
    onNotify = nullptr;
    onInit = nullptr;
}

void PropSheetTest::TearDown()
{
    onNotify = nullptr;
    onInit = nullptr;
    EXPECT_EQ(comctl::LivePropertySheetPageCount(), 0u) << "page handles leaked";
    user::AnswerScript::Clear();
    ComctlTest::TearDown();
}

PROPSHEETPAGEW PropSheetTest::Page(WORD id, const wchar_t* name, DWORD flags)
{
    PROPSHEETPAGEW p{};
    p.dwSize = sizeof p;
    p.dwFlags = flags;
    p.hInstance = nullptr; // the executable
    p.pszTemplate = MAKEINTRESOURCEW(id);
    p.pfnDlgProc = &PropSheetTest::PageProc;
    p.lParam = reinterpret_cast<LPARAM>(name);
    return p;
}

PROPSHEETHEADERW PropSheetTest::Header(std::vector<PROPSHEETPAGEW>& pages, DWORD flags, HWND parent)
{
    PROPSHEETHEADERW h{};
    h.dwSize = sizeof h;
    h.dwFlags = flags | PSH_PROPSHEETPAGE;
    h.hwndParent = parent;
    h.pszCaption = L"Sheet";
    h.nPages = static_cast<UINT>(pages.size());
    h.ppsp = pages.data();
    return h;
}

HWND PropSheetTest::MakeModeless(DWORD flags, std::vector<PROPSHEETPAGEW> pages)
{
    if (pages.empty())
        pages = {Page(IDD_PS_ONE, L"One"), Page(IDD_PS_TWO, L"Two"), Page(IDD_PS_THREE, L"Three")};
    PROPSHEETHEADERW h = Header(pages, flags | PSH_MODELESS);
    const auto sheet = reinterpret_cast<HWND>(PropertySheetW(&h));
    PumpSheet(sheet);
    return sheet;
}

void PropSheetTest::PumpSheet(HWND sheet)
{
    zyn::test::PumpMessages([sheet](MSG& m) {
        return sheet && IsWindow(sheet) && SendMessageW(sheet, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(&m));
    });
}

void PropSheetTest::PumpDialog(HWND dialog)
{
    zyn::test::PumpMessages([dialog](MSG& m) { return dialog && IsWindow(dialog) && IsDialogMessageW(dialog, &m); });
}

void PropSheetTest::Key(HWND sheet, int vk, bool ctrl, bool shift)
{
    zyn::test::InjectChord(vk, ctrl, shift);
    if (sheet)
        PumpSheet(sheet);
}

void PropSheetTest::ClickOn(HWND hwnd)
{
    RECT r{};
    GetWindowRect(hwnd, &r);
    user::InjectClick((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

void PropSheetTest::ClickTab(HWND sheet, int index)
{
    const HWND tab = Tab(sheet);
    RECT r{};
    SendMessageW(tab, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    POINT pt{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(tab, &pt);
    user::InjectClick(pt.x, pt.y);
}

HWND PropSheetTest::Item(HWND dlg, int id)
{
    const HWND h = GetDlgItem(dlg, id);
    SetLastError(0);
    return h;
}

int PropSheetTest::FocusId()
{
    const HWND f = GetFocus();
    return f ? GetDlgCtrlID(f) : -1;
}

RECT PropSheetTest::RectIn(HWND child, HWND parent)
{
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::vector<std::wstring> PropSheetTest::TakeLog()
{
    std::vector<std::wstring> out = std::move(log);
    log.clear();
    return out;
}

SIZE PropSheetTest::ShellDlgUnits()
{
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(8, 96, 72);
    lf.lfWeight = FW_NORMAL;
    wcscpy(lf.lfFaceName, L"MS Shell Dlg");
    HFONT font = CreateFontIndirectW(&lf);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE ext{};
    GetTextExtentPoint32W(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &ext);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return SIZE{(ext.cx / 26 + 1) / 2, tm.tmHeight};
}

std::vector<uint16_t> SimplePageTemplate(short cx, short cy, const std::wstring& caption)
{
    // Classic layout: style, exStyle, count, x, y, cx, cy, menu, class, title.
    const DWORD style = WS_POPUP | WS_CAPTION;
    std::vector<uint16_t> t = {static_cast<uint16_t>(style & 0xFFFF), static_cast<uint16_t>(style >> 16), 0, 0, 0,
        0, 0, static_cast<uint16_t>(cx), static_cast<uint16_t>(cy), 0, 0};
    for (wchar_t c : caption)
        t.push_back(static_cast<uint16_t>(c));
    t.push_back(0);
    return t;
}

} // namespace zyn::test
