// Dialogs from templates: creation, the modal run and EndDialog.
#include <algorithm>
#include <cwchar>
#include <string>
#include <utility>

#include "platform/base/globalmem.h"
#include "platform/base/lasterror.h"
#include "platform/base/namefold.h"
#include "platform/base/resource.h"
#include "platform/base/tchar.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/dialog.h"
#include "platform/user/dialog_internal.h"
#include "platform/user/dialog_template.h"
#include "platform/user/input.h"
#include "platform/user/menu.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/paint.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::user {
namespace {

// Showing a dialog activates it, and the control that takes the focus repaints itself
// at once; the dialog (which does not clip its children) paints its background later and
// would cover that control. The whole dialog is painted afresh, parent first, so the
// default button is not lost. Nothing was painted yet, so this costs nothing extra.
void RepaintAfterFocus(HWND dlg)
{
    if (IsWindow(dlg) && IsWindowVisible(dlg))
        RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

thread_local std::string t_templateError;

// A template given by pointer alone is read within the resource or global memory block
// that holds it. Memory of neither kind is the caller's promise, as on Windows; the
// bound below only keeps a garbage item count from walking on without end.
constexpr size_t kUntrackedTemplateBound = size_t{64} << 20;

std::span<const uint8_t> BytesAt(const void* p)
{
    const auto* b = static_cast<const uint8_t*>(p);
    if (auto n = base::ResourceBytesFrom(p))
        return {b, *n};
    const DWORD savedError = GetLastError();
    if (HGLOBAL h = GlobalHandle(p)) {
        const SIZE_T n = GlobalSize(h);
        SetLastError(savedError);
        return {b, static_cast<size_t>(n)};
    }
    SetLastError(savedError);
    return {b, kUntrackedTemplateBound};
}

struct Units {
    int x = 8, y = 16;
    int X(int v) const { return MulDiv(v, x, 4); }
    int Y(int v) const { return MulDiv(v, y, 8); }
};

HFONT FontOfTemplate(const DialogTemplate& t, bool& owned)
{
    owned = false;
    if (t.hasFont) {
        LOGFONTW lf{};
        lf.lfHeight = -MulDiv(t.pointSize, 96, 72);
        lf.lfWeight = t.extended && t.weight ? t.weight : FW_NORMAL;
        lf.lfItalic = t.extended ? t.italic : 0;
        lf.lfCharSet = t.extended ? t.charset : DEFAULT_CHARSET;
        const size_t n = std::min<size_t>(t.face.size(), LF_FACESIZE - 1);
        std::wmemcpy(lf.lfFaceName, t.face.data(), n);
        lf.lfFaceName[n] = 0;
        if (HFONT f = CreateFontIndirectW(&lf)) {
            owned = true;
            return f;
        }
    }
    if (t.style & DS_FIXEDSYS)
        return static_cast<HFONT>(GetStockObject(SYSTEM_FIXED_FONT));
    return nullptr; // the system font
}

RECT WorkArea()
{
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

// The window rectangle of a dialog (parent client coordinates for a child, else screen).
RECT DialogWindowRect(const DialogTemplate& t, DWORD style, DWORD exStyle, bool hasMenu, HWND parent, const Units& u)
{
    RECT r{0, 0, u.X(t.cx), u.Y(t.cy)};
    AdjustWindowRectEx(&r, style, hasMenu ? TRUE : FALSE, exStyle);
    const int w = r.right - r.left, h = r.bottom - r.top;
    int x = u.X(t.x) + r.left, y = u.Y(t.y) + r.top;
    if (style & WS_CHILD)
        return RECT{x, y, x + w, y + h};
    const RECT work = WorkArea();
    if (t.style & DS_CENTER) {
        x = work.left + (work.right - work.left - w) / 2;
        y = work.top + (work.bottom - work.top - h) / 2;
    } else if (t.style & DS_CENTERMOUSE) {
        POINT pt{};
        GetCursorPos(&pt);
        x = pt.x - w / 2;
        y = pt.y - h / 2;
    } else if (parent && !(t.style & DS_ABSALIGN)) {
        POINT org{0, 0};
        ClientToScreen(parent, &org);
        x += org.x;
        y += org.y;
    }
    // A top-level dialog stays inside the work area (its top-left corner wins when it is
    // larger than the area).
    x = std::max<int>(work.left, std::min<int>(x, work.right - w));
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - h));
    return RECT{x, y, x + w, y + h};
}

LPCWSTR ClassOf(const NameOrOrdinal& cls, const wchar_t* fallback)
{
    if (cls.ordinal) {
        if (const wchar_t* known = ClassNameOfOrdinal(cls.ordinal))
            return known;
        return MAKEINTATOM(cls.ordinal);
    }
    return cls.name.empty() ? fallback : cls.name.c_str();
}

// Whether an item is an edit or a list box (by ordinal or by name), whose WS_BORDER an
// extended template turns into the sunken client edge.
bool TakesClientEdge(const NameOrOrdinal& cls)
{
    if (cls.ordinal)
        return cls.ordinal == 0x81 || cls.ordinal == 0x83;
    return base::NamesEqual(cls.name, L"Edit") || base::NamesEqual(cls.name, L"ListBox");
}

bool CreateItems(HWND dlg, const DialogTemplate& t, HINSTANCE inst, HFONT font, const Units& u, DialogState& st)
{
    for (const DialogItemTemplate& it : t.items) {
        // An ordinal title (an icon or bitmap of a static) reaches the control as
        // {0xFFFF, ordinal}.
        const wchar_t ordinalTitle[3] = {0xFFFF, it.title.ordinal, 0};
        const LPCWSTR title = it.title.ordinal ? ordinalTitle : it.title.name.c_str();
        DWORD style = (it.style | WS_CHILD) & ~WS_POPUP;
        DWORD exStyle = it.exStyle | WS_EX_NOPARENTNOTIFY;
        if (t.extended && (style & WS_BORDER) && TakesClientEdge(it.cls)) {
            style &= ~WS_BORDER;
            exStyle |= WS_EX_CLIENTEDGE;
        }
        const LPVOID data = it.creationData.empty() ? nullptr : const_cast<uint8_t*>(it.creationData.data());
        const HWND c = CreateWindowExW(exStyle, ClassOf(it.cls, nullptr), title, style,
            u.X(it.x), u.Y(it.y), u.X(it.cx), u.Y(it.cy), dlg, reinterpret_cast<HMENU>(static_cast<uintptr_t>(it.id)),
            inst, data);
        if (!IsWindow(dlg))
            return false;
        if (!c) {
            if (t.style & DS_NOFAILCREATE)
                continue;
            return false;
        }
        if (t.hasFont)
            SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (!st.defId && (SendMessageW(c, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON))
            st.defId = static_cast<UINT>(it.id);
    }
    return true;
}

HWND CreateFromTemplate(const DialogTemplate& t, HINSTANCE inst, HWND parent, DLGPROC proc, LPARAM param,
    bool modal)
{
    bool ownedFont = false;
    HFONT font = FontOfTemplate(t, ownedFont);
    auto dropFont = [&] {
        if (ownedFont && font)
            DeleteObject(font);
    };
    const SIZE bu = DialogBaseUnitsOf(font);
    const Units u{static_cast<int>(bu.cx), static_cast<int>(bu.cy)};

    // Every dialog has the three-dimensional look and is a control parent, whatever its
    // template says (a dialog inside another takes part in its tab order).
    DWORD style = t.style | DS_3DLOOK;
    DWORD exStyle = t.exStyle | WS_EX_CONTROLPARENT;
    if (style & DS_MODALFRAME)
        exStyle |= WS_EX_DLGMODALFRAME;
    if (style & DS_CONTROL)
        exStyle |= WS_EX_CONTROLPARENT;
    if (style & DS_SYSMODAL)
        exStyle |= WS_EX_TOPMOST;
    if (style & DS_CONTEXTHELP)
        exStyle |= WS_EX_CONTEXTHELP;
    const bool visible = (style & WS_VISIBLE) != 0;
    style &= ~WS_VISIBLE;

    HMENU menu = nullptr;
    if (!t.menu.Empty() && !(style & WS_CHILD)) {
        menu = LoadMenuW(inst, t.menu.ordinal ? MAKEINTRESOURCE(t.menu.ordinal) : t.menu.name.c_str());
        if (!menu) {
            dropFont();
            return nullptr;
        }
    }
    const RECT wr = DialogWindowRect(t, style, exStyle, menu != nullptr, parent, u);
    const HWND dlg = CreateWindowExW(exStyle, ClassOf(t.cls, WC_DIALOG), t.title.c_str(), style, wr.left, wr.top,
        wr.right - wr.left, wr.bottom - wr.top, parent, (style & WS_CHILD) ? nullptr : menu, inst,
        reinterpret_cast<LPVOID>(param));
    if (!dlg) {
        if (menu && !(style & WS_CHILD))
            DestroyMenu(menu);
        dropFont();
        return nullptr;
    }
    auto st = EnsureDialogState(dlg);
    if (!st) {
        dropFont();
        DestroyWindow(dlg);
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    SetDialogFont(dlg, font, ownedFont);
    st->modal = modal;
    if (GetWindowLongPtrW(dlg, GWL_STYLE) & WS_CHILD)
        st->modal = false;
    {
        const DWORD saved = GetLastError();
        SetWindowLongPtrW(dlg, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(proc)); // a class without the bytes keeps none
        SetLastError(saved);
    }
    if (t.hasFont)
        SendMessageW(dlg, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (!IsWindow(dlg))
        return nullptr;
    if (!CreateItems(dlg, t, inst, font, u, *st)) {
        const DWORD err = GetLastError();
        if (IsWindow(dlg))
            DestroyWindow(dlg);
        SetLastError(err ? err : ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }

    const HWND first = GetNextDlgTabItem(dlg, nullptr, FALSE);
    const LRESULT setFocus = SendMessageW(dlg, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
    if (!IsWindow(dlg))
        return nullptr;
    if (setFocus && first && IsChild(dlg, first))
        st->savedFocus = first;
    if (st->ended || (modal && st->modal))
        return dlg; // the modal run shows it
    if (visible) {
        // A top-level dialog takes the focus the procedure asked for (and so the activation)
        // before it shows.
        if (!(GetWindowLongPtrW(dlg, GWL_STYLE) & WS_CHILD) && setFocus) {
            if (first && IsChild(dlg, first))
                SetDialogFocus(first);
            else
                SetFocus(dlg);
            if (!IsWindow(dlg))
                return nullptr;
        }
        ShowWindow(dlg, SW_SHOWNORMAL);
        if (!IsWindow(dlg))
            return nullptr;
        RepaintAfterFocus(dlg);
        // A child dialog is not activated; the control takes the focus directly.
        if ((GetWindowLongPtrW(dlg, GWL_STYLE) & WS_CHILD) && setFocus && first && IsWindowVisible(first))
            SetDialogFocus(first);
        if (t.style & DS_SETFOREGROUND)
            SetForegroundWindow(dlg);
    }
    return dlg;
}

std::optional<DialogTemplate> Parse(std::span<const uint8_t> bytes)
{
    std::string error;
    auto t = ParseDialogTemplate(bytes, &error);
    if (!t) {
        t_templateError = error;
        SetLastError(ERROR_INVALID_DATA);
    }
    return t;
}

std::span<const uint8_t> ResourceBytes(HINSTANCE inst, LPCWSTR name)
{
    HRSRC r = FindResourceW(inst, name, RT_DIALOG);
    if (!r)
        return {};
    HGLOBAL g = LoadResource(inst, r);
    const auto* p = static_cast<const uint8_t*>(g ? LockResource(g) : nullptr);
    if (!p)
        return {};
    return {p, SizeofResource(inst, r)};
}

} // namespace

const std::string& LastDialogTemplateError() { return t_templateError; }

HWND ModalOwnerOf(HWND parent)
{
    if (!parent || !IsWindow(parent))
        return nullptr;
    return GetAncestor(parent, GA_ROOT);
}

HWND CreateDialogFromBytes(std::span<const uint8_t> bytes, HINSTANCE hInstance, HWND hWndParent,
    DLGPROC lpDialogFunc, LPARAM dwInitParam)
{
    if (hWndParent && !IsWindow(hWndParent)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    auto t = Parse(bytes);
    if (!t)
        return nullptr;
    return CreateFromTemplate(*t, hInstance, hWndParent, lpDialogFunc, dwInitParam, false);
}

INT_PTR DialogBoxFromBytes(std::span<const uint8_t> bytes, HINSTANCE hInstance, HWND hWndParent,
    DLGPROC lpDialogFunc, LPARAM dwInitParam)
{
    if (hWndParent && !IsWindow(hWndParent)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    auto t = Parse(bytes);
    if (!t)
        return -1;
    const HWND owner = ModalOwnerOf(hWndParent);
    std::optional<INT_PTR> now;
    if (auto a = AnswerScript::Take(AnswerKind::Dialog))
        now = a->code;
    // The owner is disabled before the dialog exists; a dialog answered by the script is
    // never shown and leaves its owner as it was.
    HWND disabled = nullptr;
    if (!now && owner && IsWindowEnabled(owner)) {
        disabled = owner;
        EnableWindow(owner, FALSE);
    }
    const HWND dlg = CreateFromTemplate(*t, hInstance, owner, lpDialogFunc, dwInitParam, true);
    if (!dlg) {
        if (disabled && IsWindow(disabled))
            EnableWindow(disabled, TRUE);
        return -1;
    }
    if (auto st = DialogStateOf(dlg); st && disabled)
        st->disabledOwner = disabled;
    ShownRecord rec;
    rec.kind = AnswerKind::Dialog;
    rec.owner = owner;
    rec.text = WindowTextOf(dlg);
    rec.type = t->style;
    const ModalOutcome out = RunDialogModal(dlg, owner, now, MSGF_DIALOGBOX);
    rec.result = static_cast<int>(out.result);
    rec.scripted = now.has_value();
    if (!out.endedByDialog)
        rec.note = L"the dialog ended without EndDialog (no input left, or it was destroyed): IDCANCEL";
    AnswerScript::Record(std::move(rec));
    return out.result;
}

ModalOutcome RunDialogModal(HWND dlg, HWND owner, std::optional<INT_PTR> answerNow, int filterCode)
{
    ModalOutcome out;
    auto st = EnsureDialogState(dlg);
    if (!st) {
        if (IsWindow(dlg))
            DestroyWindow(dlg);
        return out;
    }
    st->modal = true;
    const bool noIdle = (GetWindowLongPtrW(dlg, GWL_STYLE) & DS_NOIDLEMSG) != 0;
    // A dialog answered at once is never shown, so its owner keeps its activation and focus.
    if (answerNow && !st->ended)
        EndDialog(dlg, *answerNow);
    if (!st->ended) {
        if (owner && IsWindow(owner) && IsWindowEnabled(owner)) {
            st->disabledOwner = owner;
            EnableWindow(owner, FALSE);
        }
        if (IsWindow(dlg) && !st->ended) {
            ShowWindow(dlg, SW_SHOWNORMAL);
            RepaintAfterFocus(dlg);
        }
        if (IsWindow(dlg) && !st->ended) {
            ModalLoopParams p;
            p.owner = dlg;
            p.msgFilterCode = filterCode;
            p.done = [st] { return st->ended; };
            p.preTranslate = [dlg](MSG& m) { return IsDialogMessageImpl(dlg, m, false) != FALSE; };
            p.onIdle = [dlg, owner, noIdle](int idleCount) {
                // The owner hears once per idle spell that a dialog waits.
                if (idleCount == 0 && owner && !noIdle && IsWindow(owner))
                    SendMessageW(owner, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(dlg));
                return false;
            };
            RunModalLoop(p);
        }
    }
    out.endedByDialog = st->ended;
    out.result = st->ended ? st->result : IDCANCEL;
    if (HWND o = std::exchange(st->disabledOwner, nullptr); o && IsWindow(o))
        EnableWindow(o, TRUE);
    if (IsWindow(dlg))
        DestroyWindow(dlg);
    return out;
}

} // namespace zyn::user

using namespace zyn::user;

HWND CreateDialogParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
    LPARAM dwInitParam)
{
    const auto bytes = ResourceBytes(hInstance, lpTemplateName);
    if (bytes.data() == nullptr)
        return nullptr;
    return CreateDialogFromBytes(bytes, hInstance, hWndParent, lpDialogFunc, dwInitParam);
}

HWND CreateDialogParam(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
    LPARAM dwInitParam)
{
    return CreateDialogParamW(hInstance, lpTemplateName, hWndParent, lpDialogFunc, dwInitParam);
}

HWND CreateDialogW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc)
{
    return CreateDialogParamW(hInstance, lpTemplateName, hWndParent, lpDialogFunc, 0);
}

HWND CreateDialog(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc)
{
    return CreateDialogParamW(hInstance, lpTemplateName, hWndParent, lpDialogFunc, 0);
}

HWND CreateDialogIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATE lpTemplate, HWND hWndParent,
    DLGPROC lpDialogFunc, LPARAM dwInitParam)
{
    if (!lpTemplate) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateDialogFromBytes(BytesAt(lpTemplate), hInstance, hWndParent, lpDialogFunc, dwInitParam);
}

HWND CreateDialogIndirectParam(HINSTANCE hInstance, LPCDLGTEMPLATE lpTemplate, HWND hWndParent,
    DLGPROC lpDialogFunc, LPARAM dwInitParam)
{
    return CreateDialogIndirectParamW(hInstance, lpTemplate, hWndParent, lpDialogFunc, dwInitParam);
}

HWND CreateDialogIndirectW(HINSTANCE hInstance, LPCDLGTEMPLATE lpTemplate, HWND hWndParent, DLGPROC lpDialogFunc)
{
    return CreateDialogIndirectParamW(hInstance, lpTemplate, hWndParent, lpDialogFunc, 0);
}

HWND CreateDialogIndirect(HINSTANCE hInstance, LPCDLGTEMPLATE lpTemplate, HWND hWndParent, DLGPROC lpDialogFunc)
{
    return CreateDialogIndirectParamW(hInstance, lpTemplate, hWndParent, lpDialogFunc, 0);
}

INT_PTR DialogBoxParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
    LPARAM dwInitParam)
{
    if (hWndParent && !IsWindow(hWndParent)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    const auto bytes = ResourceBytes(hInstance, lpTemplateName);
    if (bytes.data() == nullptr)
        return -1;
    return DialogBoxFromBytes(bytes, hInstance, hWndParent, lpDialogFunc, dwInitParam);
}

INT_PTR DialogBoxParam(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
    LPARAM dwInitParam)
{
    return DialogBoxParamW(hInstance, lpTemplateName, hWndParent, lpDialogFunc, dwInitParam);
}

INT_PTR DialogBoxW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc)
{
    return DialogBoxParamW(hInstance, lpTemplateName, hWndParent, lpDialogFunc, 0);
}

INT_PTR DialogBox(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc)
{
    return DialogBoxParamW(hInstance, lpTemplateName, hWndParent, lpDialogFunc, 0);
}

INT_PTR DialogBoxIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATE hDialogTemplate, HWND hWndParent,
    DLGPROC lpDialogFunc, LPARAM dwInitParam)
{
    if (!hDialogTemplate) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    return DialogBoxFromBytes(BytesAt(hDialogTemplate), hInstance, hWndParent, lpDialogFunc, dwInitParam);
}

INT_PTR DialogBoxIndirectParam(HINSTANCE hInstance, LPCDLGTEMPLATE hDialogTemplate, HWND hWndParent,
    DLGPROC lpDialogFunc, LPARAM dwInitParam)
{
    return DialogBoxIndirectParamW(hInstance, hDialogTemplate, hWndParent, lpDialogFunc, dwInitParam);
}

INT_PTR DialogBoxIndirectW(HINSTANCE hInstance, LPCDLGTEMPLATE hDialogTemplate, HWND hWndParent,
    DLGPROC lpDialogFunc)
{
    return DialogBoxIndirectParamW(hInstance, hDialogTemplate, hWndParent, lpDialogFunc, 0);
}

INT_PTR DialogBoxIndirect(HINSTANCE hInstance, LPCDLGTEMPLATE hDialogTemplate, HWND hWndParent,
    DLGPROC lpDialogFunc)
{
    return DialogBoxIndirectParamW(hInstance, hDialogTemplate, hWndParent, lpDialogFunc, 0);
}

BOOL EndDialog(HWND hDlg, INT_PTR nResult)
{
    if (!IsWindow(hDlg))
        return FALSE;
    auto st = DialogStateOf(hDlg);
    if (!st) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    st->ended = true;
    st->result = nResult;
    if (st->modal) {
        // The owner is enabled before the dialog hides, so the activation goes back to it.
        if (HWND o = std::exchange(st->disabledOwner, nullptr); o && IsWindow(o))
            EnableWindow(o, TRUE);
        if (IsWindowVisible(hDlg))
            ShowWindow(hDlg, SW_HIDE);
    }
    return TRUE;
}
