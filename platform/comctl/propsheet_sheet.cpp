// PropertySheet: making the sheet (its template, the pages' handles, the modal run), the
// sheet's dialog procedure and the PSM_ messages.
#include <algorithm>
#include <map>
#include <mutex>

#include "platform/base/lasterror.h"
#include "platform/base/resource.h"
#include "platform/base/tchar.h"
#include "platform/comctl/propsheet_state.h"
#include "platform/comctl/propsheet_template.h"
#include "platform/comctl/tabctrl.h"
#include "platform/user/button.h"
#include "platform/user/dialog_internal.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/modal.h"
#include "platform/user/msgbox.h"
#include "platform/user/msgqueue.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::comctl::detail {
namespace {

struct SheetTable {
    std::mutex mutex;
    std::map<HWND, std::shared_ptr<SheetState>> sheets;
};

SheetTable& Sheets()
{
    static auto* const table = new SheetTable; // immortal: windows may outlive static destruction
    return *table;
}

std::wstring LoadText(HINSTANCE inst, LPCWSTR textOrId)
{
    if (!textOrId)
        return {};
    if (!IS_INTRESOURCE(textOrId))
        return textOrId;
    wchar_t buf[512] = {};
    const DWORD saved = GetLastError();
    const int n = LoadStringW(inst, static_cast<UINT>(reinterpret_cast<uintptr_t>(textOrId)), buf, 512);
    SetLastError(saved);
    return std::wstring(buf, static_cast<size_t>(n > 0 ? n : 0));
}

std::wstring CaptionOf(DWORD style, const std::wstring& text)
{
    return (style & PSH_PROPTITLE) ? L"Properties for " + text : text;
}

INT_PTR Answer(HWND hwnd, LRESULT result)
{
    SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

void SetTab(const SheetState& st, int index, const std::wstring& text, bool insert)
{
    if (!st.tab)
        return;
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPWSTR>(text.c_str());
    SendMessageW(st.tab, insert ? TCM_INSERTITEMW : TCM_SETITEMW, static_cast<WPARAM>(index),
        reinterpret_cast<LPARAM>(&item));
}

bool AddPage(SheetState& st, HPROPSHEETPAGE h)
{
    auto page = PageOf(h);
    if (!page || (page->sheet && page->sheet != st.self && IsWindow(page->sheet)) || st.IndexOfHandle(h) >= 0)
        return false;
    page->sheet = st.self;
    st.pages.push_back(h);
    SetTab(st, st.Count() - 1, page->TabText(), true);
    return true;
}

void RemovePage(SheetState& st, int index)
{
    if (index < 0 || index >= st.Count())
        return;
    const HPROPSHEETPAGE h = st.pages[static_cast<size_t>(index)];
    const bool wasCurrent = index == st.current;
    st.pages.erase(st.pages.begin() + index);
    if (st.tab)
        SendMessageW(st.tab, TCM_DELETEITEM, static_cast<WPARAM>(index), 0);
    if (st.current > index)
        --st.current;
    else if (wasCurrent)
        st.current = -1;
    // The page's window goes now; the sheet's own focus is handed on first.
    if (auto page = PageOf(h); page && page->hwnd && wasCurrent && IsChild(page->hwnd, GetFocus()))
        SetFocus(st.tab ? st.tab : st.self);
    ReleasePage(h);
    if (!IsWindow(st.self))
        return;
    if (wasCurrent && st.Count() > 0) {
        // The page that took its place, else the one before it; no page is asked to let go.
        const int next = index < st.Count() ? index : st.Count() - 1;
        if (!SetActivePage(st, next, false, 1) && IsWindow(st.self))
            SetActivePage(st, next, false, -1);
    }
    UpdateButtons(st);
}

void InitSheet(SheetState& st)
{
    st.tab = [&] {
        const DWORD saved = GetLastError();
        const HWND t = GetDlgItem(st.self, IDC_PS_TABCONTROL);
        SetLastError(saved);
        return t;
    }();
    const std::vector<HPROPSHEETPAGE> pages = std::move(st.pages);
    st.pages.clear();
    for (HPROPSHEETPAGE h : pages)
        AddPage(st, h);
    LayoutSheet(st);
    ActivateStartPage(st);
    if (IsWindow(st.self)) {
        UpdateButtons(st);
        if (st.callback)
            st.callback(st.self, PSCB_INITIALIZED, 0);
    }
}

void PressButton(SheetState& st, int which)
{
    int id = 0;
    switch (which) {
    case PSBTN_BACK: id = IDC_PS_WIZBACK; break;
    case PSBTN_NEXT: id = IDC_PS_WIZNEXT; break;
    case PSBTN_FINISH: id = IDC_PS_WIZFINISH; break;
    case PSBTN_OK: id = IDOK; break;
    case PSBTN_APPLYNOW: id = IDC_PS_APPLYNOW; break;
    case PSBTN_CANCEL: id = IDCANCEL; break;
    case PSBTN_HELP: id = IDHELP; break;
    default: return;
    }
    const DWORD saved = GetLastError();
    const HWND button = GetDlgItem(st.self, id);
    SetLastError(saved);
    // A button that is there but disabled cannot be pressed; a sheet without buttons (a
    // child sheet) still carries out the command.
    if (button && !IsWindowEnabled(button))
        return;
    // Through the window procedure, so a class library above sees the command.
    SendMessageW(st.self, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

// The PSM_ messages; false for any other message.
bool OnSheetMessage(SheetState& st, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    result = 0;
    switch (msg) {
    case PSM_SETCURSEL: {
        const int index = lp ? st.IndexOfHandle(reinterpret_cast<HPROPSHEETPAGE>(lp)) : static_cast<int>(wp);
        result = SetActivePage(st, index, true, 1) ? TRUE : FALSE;
        return true;
    }
    case PSM_SETCURSELID: {
        int index = -1;
        for (int i = 0; i < st.Count() && index < 0; ++i)
            if (auto p = st.Page(i); p && p->templateId != 0 && p->templateId == static_cast<WORD>(lp))
                index = i;
        result = SetActivePage(st, index, true, 1) ? TRUE : FALSE;
        return true;
    }
    case PSM_ADDPAGE: {
        const auto h = reinterpret_cast<HPROPSHEETPAGE>(lp);
        result = AddPage(st, h) ? TRUE : FALSE;
        if (result && st.current < 0)
            SetActivePage(st, st.Count() - 1, false, 1);
        return true;
    }
    case PSM_REMOVEPAGE:
        RemovePage(st, lp ? st.IndexOfHandle(reinterpret_cast<HPROPSHEETPAGE>(lp)) : static_cast<int>(wp));
        return true;
    case PSM_CHANGED:
    case PSM_UNCHANGED:
        if (auto p = st.Page(st.IndexOfWindow(reinterpret_cast<HWND>(wp)))) {
            p->changed = msg == PSM_CHANGED;
            UpdateButtons(st);
        }
        return true;
    case PSM_RESTARTWINDOWS:
        if (st.restart != ID_PSREBOOTSYSTEM)
            st.restart = ID_PSRESTARTWINDOWS;
        return true;
    case PSM_REBOOTSYSTEM:
        st.restart = ID_PSREBOOTSYSTEM;
        return true;
    case PSM_CANCELTOCLOSE: {
        st.cancelToClose = true;
        const DWORD saved = GetLastError();
        if (HWND ok = GetDlgItem(st.self, IDOK))
            SetWindowTextW(ok, L"Close");
        if (HWND cancel = GetDlgItem(st.self, IDCANCEL)) {
            if (GetFocus() == cancel)
                user::SetDialogFocus(GetDlgItem(st.self, IDOK) ? GetDlgItem(st.self, IDOK) : st.self);
            EnableWindow(cancel, FALSE);
        }
        SetLastError(saved);
        return true;
    }
    case PSM_QUERYSIBLINGS: {
        std::vector<HWND> made;
        for (int i = 0; i < st.Count(); ++i)
            if (auto p = st.Page(i); p && p->hwnd)
                made.push_back(p->hwnd);
        for (HWND h : made) {
            if (!IsWindow(h))
                continue;
            result = SendMessageW(h, PSM_QUERYSIBLINGS, wp, lp);
            if (result != 0)
                break;
        }
        return true;
    }
    case PSM_APPLY:
        result = ApplyAll(st, false) ? TRUE : FALSE;
        return true;
    case PSM_SETTITLEW:
        st.caption = CaptionOf(static_cast<DWORD>(wp), LoadText(st.hInstance, reinterpret_cast<LPCWSTR>(lp)));
        SetWindowTextW(st.self, st.caption.c_str());
        return true;
    case PSM_SETWIZBUTTONS:
        st.wizButtons = static_cast<DWORD>(lp);
        UpdateButtons(st);
        return true;
    case PSM_SETFINISHTEXTW: {
        const DWORD saved = GetLastError();
        if (HWND fin = GetDlgItem(st.self, IDC_PS_WIZFINISH)) {
            SetWindowTextW(fin, lp ? reinterpret_cast<LPCWSTR>(lp) : L"");
            st.wizButtons = (st.wizButtons & ~PSWIZB_DISABLEDFINISH) | PSWIZB_FINISH;
            UpdateButtons(st);
        }
        SetLastError(saved);
        return true;
    }
    case PSM_PRESSBUTTON:
        PressButton(st, static_cast<int>(wp));
        return true;
    case PSM_GETTABCONTROL:
        result = reinterpret_cast<LRESULT>(st.tab);
        return true;
    case PSM_ISDIALOGMESSAGE:
        result = lp ? SheetDialogMessage(st, *reinterpret_cast<MSG*>(lp), true) : FALSE;
        return true;
    case PSM_GETCURRENTPAGEHWND: {
        auto cur = st.ended ? nullptr : st.Page(st.current);
        result = reinterpret_cast<LRESULT>(cur && cur->hwnd && IsWindow(cur->hwnd) ? cur->hwnd : nullptr);
        return true;
    }
    case PSM_HWNDTOINDEX:
        result = st.IndexOfWindow(reinterpret_cast<HWND>(wp));
        return true;
    case PSM_INDEXTOHWND: {
        auto p = st.Page(static_cast<int>(wp));
        result = reinterpret_cast<LRESULT>(p ? p->hwnd : nullptr);
        return true;
    }
    case PSM_GETRESULT:
        result = st.ended ? st.Result() : -1;
        return true;
    default:
        return false;
    }
}

void DestroySheet(HWND hwnd)
{
    auto st = SheetOf(hwnd);
    if (!st)
        return;
    // The pages go with the sheet, last first, and their handles with them.
    const std::vector<HPROPSHEETPAGE> pages = std::move(st->pages);
    st->pages.clear();
    st->current = -1;
    for (auto it = pages.rbegin(); it != pages.rend(); ++it)
        ReleasePage(*it);
    ForgetSheet(hwnd);
}

// What the dialog procedure is handed at WM_INITDIALOG.
struct Creation {
    std::shared_ptr<SheetState> state;
};

INT_PTR SheetProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_INITDIALOG) {
        auto* c = reinterpret_cast<Creation*>(lp);
        if (!c || !c->state)
            return TRUE;
        std::shared_ptr<SheetState> st = c->state;
        st->self = hwnd;
        SetSheet(hwnd, st);
        InitSheet(*st);
        // The first tab stop (in the page) takes the focus when the sheet is activated.
        return FALSE;
    }
    std::shared_ptr<SheetState> st = SheetOf(hwnd);
    if (!st)
        return FALSE;
    switch (msg) {
    case WM_COMMAND:
        if ((HIWORD(wp) == BN_CLICKED || lp == 0) && OnSheetCommand(*st, LOWORD(wp)))
            return IsWindow(hwnd) ? Answer(hwnd, 0) : TRUE;
        return FALSE;
    case WM_NOTIFY: {
        const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
        if (!hdr || !st->tab || hdr->hwndFrom != st->tab)
            return FALSE;
        if (hdr->code == TCN_SELCHANGING) {
            // The active page may keep the selection (a value it cannot give up).
            auto cur = st->Page(st->current);
            const LRESULT keep = cur && cur->hwnd ? NotifyPage(*st, cur->hwnd, PSN_KILLACTIVE) : 0;
            return IsWindow(hwnd) ? Answer(hwnd, keep != 0 ? TRUE : FALSE) : TRUE;
        }
        if (hdr->code == TCN_SELCHANGE) {
            const int sel = static_cast<int>(SendMessageW(st->tab, TCM_GETCURSEL, 0, 0));
            const int old = st->current;
            if (!SetActivePage(*st, sel, false, sel >= old ? 1 : -1) && IsWindow(hwnd) && st->tab && old >= 0)
                SendMessageW(st->tab, TCM_SETCURSEL, static_cast<WPARAM>(st->current), 0);
            return IsWindow(hwnd) ? Answer(hwnd, 0) : TRUE;
        }
        return FALSE;
    }
    case WM_DESTROY:
        DestroySheet(hwnd);
        return FALSE;
    default: {
        LRESULT result = 0;
        if (!OnSheetMessage(*st, msg, wp, lp, result))
            return FALSE;
        return IsWindow(hwnd) ? Answer(hwnd, result) : TRUE;
    }
    }
}

// Makes the sheet's window; null with the last error set. The page handles in `handles`
// belong to the sheet from the moment it exists (and are destroyed when it cannot be made).
HWND MakeSheet(const PROPSHEETHEADERW& psh, std::vector<HPROPSHEETPAGE> handles, bool modal,
    std::shared_ptr<SheetState>& out)
{
    auto st = std::make_shared<SheetState>();
    st->flags = psh.dwFlags;
    st->hInstance = psh.hInstance;
    st->callback = (psh.dwFlags & PSH_USECALLBACK) ? psh.pfnCallback : nullptr;
    st->wizard = (psh.dwFlags & PSH_WIZARD) != 0;
    st->caption = CaptionOf(psh.dwFlags, LoadText(psh.hInstance, psh.pszCaption));
    st->pages = std::move(handles);
    if (psh.dwFlags & PSH_USEPSTARTPAGE) {
        st->startPage = 0;
        const LPCWSTR want = psh.pStartPage;
        for (int i = 0; want && i < st->Count(); ++i) {
            auto p = st->Page(i);
            if (!p)
                continue;
            const bool match = IS_INTRESOURCE(want)
                ? p->templateId != 0 && p->templateId == reinterpret_cast<uintptr_t>(want)
                : !p->templateName.empty() && _wcsicmp(p->templateName.c_str(), want) == 0;
            if (match) {
                st->startPage = i;
                break;
            }
        }
    } else {
        st->startPage = static_cast<int>(psh.nStartPage);
    }

    constexpr DWORD kStyle = DS_SETFONT | DS_MODALFRAME | DS_3DLOOK | DS_CONTEXTHELP | WS_POPUP | WS_CAPTION |
        WS_SYSMENU | WS_VISIBLE;
    std::vector<uint8_t> tmpl = BuildSheetTemplate(psh.dwFlags, false, kStyle, 0, st->caption);
    if (st->callback)
        st->callback(nullptr, PSCB_PRECREATE, reinterpret_cast<LPARAM>(tmpl.data()));
    // Whatever the callback did to the styles, the template is made again from them, so
    // its font stays readable and a child sheet loses its buttons.
    auto [style, exStyle] = TemplateStyles(tmpl);
    st->child = (style & WS_CHILD) != 0;
    if (modal && !st->child)
        style &= ~WS_VISIBLE;
    tmpl = BuildSheetTemplate(psh.dwFlags, st->child, style, exStyle, st->caption);

    Creation c{st};
    // A pop-up sheet is owned by the top-level window of the parent it was given.
    const HWND parent = st->child ? psh.hwndParent : user::ModalOwnerOf(psh.hwndParent);
    const HWND hwnd = user::CreateDialogFromBytes(tmpl, psh.hInstance, parent, &SheetProc,
        reinterpret_cast<LPARAM>(&c));
    if (!hwnd) {
        const DWORD err = GetLastError();
        // The handles the sheet was to own go with it (a sheet made and destroyed during
        // its creation has released those it took).
        for (HPROPSHEETPAGE h : st->pages)
            ReleasePage(h);
        SetLastError(err ? err : ERROR_INVALID_DATA);
        return nullptr;
    }
    out = st;
    return hwnd;
}

INT_PTR RunModal(HWND hwnd, const std::shared_ptr<SheetState>& st)
{
    const HWND owner = GetWindow(hwnd, GW_OWNER);
    HWND disabled = nullptr;
    if (owner && IsWindow(owner) && IsWindowEnabled(owner)) {
        disabled = owner;
        EnableWindow(owner, FALSE);
    }
    if (IsWindow(hwnd) && !st->ended)
        ShowWindow(hwnd, SW_SHOWNORMAL);
    if (IsWindow(hwnd) && !st->ended) {
        user::ModalLoopParams p;
        p.owner = hwnd;
        p.msgFilterCode = -1; // the sheet's keys call the filter themselves
        p.done = [hwnd, st] { return !IsWindow(hwnd) || st->ended; };
        p.preTranslate = [hwnd, st](MSG& m) { return IsWindow(hwnd) && SheetDialogMessage(*st, m, true) != FALSE; };
        p.onIdle = [hwnd, owner](int idleCount) {
            if (idleCount == 0 && owner && IsWindow(owner))
                SendMessageW(owner, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(hwnd));
            return false;
        };
        user::RunModalLoop(p);
    }
    const INT_PTR result = st->Result();
    // The owner first, so the activation goes back to it when the sheet goes.
    if (disabled && IsWindow(disabled))
        EnableWindow(disabled, TRUE);
    if (IsWindow(hwnd))
        DestroyWindow(hwnd);
    return result;
}

} // namespace

std::shared_ptr<SheetState> SheetOf(HWND sheet)
{
    auto& t = Sheets();
    std::lock_guard lock(t.mutex);
    const auto it = t.sheets.find(sheet);
    return it == t.sheets.end() ? nullptr : it->second;
}

void SetSheet(HWND sheet, std::shared_ptr<SheetState> st)
{
    auto& t = Sheets();
    std::lock_guard lock(t.mutex);
    t.sheets[sheet] = std::move(st);
}

void ForgetSheet(HWND sheet)
{
    std::shared_ptr<SheetState> doomed; // released outside the lock
    auto& t = Sheets();
    std::lock_guard lock(t.mutex);
    if (const auto it = t.sheets.find(sheet); it != t.sheets.end()) {
        doomed = std::move(it->second);
        t.sheets.erase(it);
    }
}

} // namespace zyn::comctl::detail

using namespace zyn::comctl::detail;

INT_PTR PropertySheetW(LPCPROPSHEETHEADERW psh)
{
    const bool modeless = psh && (psh->dwFlags & PSH_MODELESS);
    auto fail = [modeless](DWORD err) -> INT_PTR {
        SetLastError(err);
        return modeless ? 0 : -1;
    };
    if (!psh || psh->dwSize < sizeof(PROPSHEETHEADERW) || psh->nPages == 0)
        return fail(ERROR_INVALID_PARAMETER);
    if ((psh->dwFlags & PSH_PROPSHEETPAGE) ? !psh->ppsp : !psh->phpage)
        return fail(ERROR_INVALID_PARAMETER);
    if (psh->hwndParent && !IsWindow(psh->hwndParent))
        return fail(ERROR_INVALID_WINDOW_HANDLE);

    // The pages' handles: made here from the structures (and destroyed again when one
    // fails), or the caller's, which must all be live and free.
    std::vector<HPROPSHEETPAGE> handles;
    if (psh->dwFlags & PSH_PROPSHEETPAGE) {
        const auto* at = reinterpret_cast<const uint8_t*>(psh->ppsp);
        for (UINT i = 0; i < psh->nPages; ++i) {
            const auto* p = reinterpret_cast<LPCPROPSHEETPAGEW>(at);
            const HPROPSHEETPAGE h = p ? CreatePropertySheetPageW(p) : nullptr;
            if (!h) {
                const DWORD err = GetLastError();
                for (HPROPSHEETPAGE made : handles)
                    ReleasePage(made);
                return fail(err ? err : ERROR_INVALID_PARAMETER);
            }
            handles.push_back(h);
            at += p->dwSize; // structures of the caller's size follow each other
        }
    } else {
        for (UINT i = 0; i < psh->nPages; ++i) {
            const HPROPSHEETPAGE h = psh->phpage[i];
            auto page = PageOf(h);
            if (!page || (page->sheet && IsWindow(page->sheet)) ||
                std::find(handles.begin(), handles.end(), h) != handles.end())
                return fail(ERROR_INVALID_PARAMETER);
            handles.push_back(h);
        }
    }

    std::shared_ptr<SheetState> st;
    const HWND hwnd = MakeSheet(*psh, std::move(handles), !modeless, st);
    if (!hwnd)
        return modeless ? 0 : -1;
    if (modeless)
        return reinterpret_cast<INT_PTR>(hwnd);
    return RunModal(hwnd, st);
}

INT_PTR PropertySheet(LPCPROPSHEETHEADERW psh) { return PropertySheetW(psh); }
