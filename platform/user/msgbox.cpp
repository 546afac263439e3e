// MessageBox as a dialog on the answer script (msgbox.h).
#include "platform/user/msgbox.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/lasterror.h"
#include "platform/base/threads.h"
#include "platform/base/utf16.h"
#include "platform/gdi/icon.h"
#include "platform/user/display.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/button.h"
#include "platform/user/dialog.h"
#include "platform/user/dialog_internal.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/modal.h"
#include "platform/user/msgbox_layout.h"
#include "platform/user/msgqueue.h"
#include "platform/user/static.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::user {
namespace {

constexpr int kIconId = 20;
constexpr int kTextId = 0xFFFF;

bool ButtonsOf(UINT type, std::vector<int>& out)
{
    switch (type & MB_TYPEMASK) {
    case MB_OK: out = {IDOK}; break;
    case MB_OKCANCEL: out = {IDOK, IDCANCEL}; break;
    case MB_ABORTRETRYIGNORE: out = {IDABORT, IDRETRY, IDIGNORE}; break;
    case MB_YESNOCANCEL: out = {IDYES, IDNO, IDCANCEL}; break;
    case MB_YESNO: out = {IDYES, IDNO}; break;
    case MB_RETRYCANCEL: out = {IDRETRY, IDCANCEL}; break;
    case MB_CANCELTRYCONTINUE: out = {IDCANCEL, IDTRYAGAIN, IDCONTINUE}; break;
    default: return false;
    }
    if (type & MB_HELP)
        out.push_back(IDHELP);
    return true;
}

const wchar_t* LabelOf(int id)
{
    switch (id) {
    case IDOK: return L"OK";
    case IDCANCEL: return L"Cancel";
    case IDABORT: return L"&Abort";
    case IDRETRY: return L"&Retry";
    case IDIGNORE: return L"&Ignore";
    case IDYES: return L"&Yes";
    case IDNO: return L"&No";
    case IDTRYAGAIN: return L"&Try Again";
    case IDCONTINUE: return L"&Continue";
    case IDHELP: return L"Help";
    default: return L"";
    }
}

LPCWSTR IconOf(UINT type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return IDI_HAND;
    case MB_ICONQUESTION: return IDI_QUESTION;
    case MB_ICONEXCLAMATION: return IDI_EXCLAMATION;
    case MB_ICONASTERISK: return IDI_ASTERISK;
    default: return nullptr;
    }
}

// What the box's procedure needs; lives on MessageBoxW's stack while the box exists.
struct BoxInfo {
    std::vector<int> buttons;
    HWND owner = nullptr;
    HWND defButton = nullptr;
    bool Has(int id) const
    {
        for (int b : buttons)
            if (b == id)
                return true;
        return false;
    }
};

void SendHelp(HWND box, const BoxInfo& info)
{
    HELPINFO hi{};
    hi.cbSize = sizeof hi;
    hi.iContextType = HELPINFO_WINDOW;
    hi.iCtrlId = 0;
    hi.hItemHandle = box;
    GetCursorPos(&hi.MousePos);
    if (info.owner)
        SendMessageW(info.owner, WM_HELP, 0, reinterpret_cast<LPARAM>(&hi));
}

INT_PTR BoxProc(HWND box, UINT msg, WPARAM wp, LPARAM)
{
    auto* info = reinterpret_cast<BoxInfo*>(GetWindowLongPtrW(box, DWLP_USER));
    if (!info)
        return FALSE;
    switch (msg) {
    case WM_INITDIALOG:
        // The default button takes the focus when the box is shown (a box answered at
        // once never takes it).
        if (auto st = DialogStateOf(box))
            st->savedFocus = info->defButton;
        return FALSE;
    case WM_COMMAND: {
        const int id = LOWORD(wp);
        if (id == IDHELP && info->Has(IDHELP)) {
            SendHelp(box, *info);
            return TRUE;
        }
        if (id == IDCANCEL && !info->Has(IDCANCEL)) {
            // Escape or Close: only an OK-only box ends, with IDOK.
            if (info->buttons.front() == IDOK)
                EndDialog(box, IDOK);
            return TRUE;
        }
        if (info->Has(id))
            EndDialog(box, id);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

HFONT MessageFont()
{
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
        if (HFONT f = CreateFontIndirectW(&ncm.lfMessageFont))
            return f;
    return nullptr;
}

SIZE Measure(HDC dc, const std::wstring& text, int wrap, UINT flags)
{
    RECT r{0, 0, wrap, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags | DT_CALCRECT);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

HWND MakeChild(HWND box, LPCWSTR cls, LPCWSTR text, DWORD style, const RECT& r, int id, HFONT font)
{
    const HWND c = CreateWindowExW(WS_EX_NOPARENTNOTIFY, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
        r.right - r.left, r.bottom - r.top, box, reinterpret_cast<HMENU>(static_cast<uintptr_t>(id)), nullptr, nullptr);
    if (c && font)
        SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return c;
}

// Creates the box, laid out and initialised but hidden; null when the window system
// refuses a window.
HWND CreateBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type, size_t defIndex,
    BoxInfo& info)
{
    HFONT font = MessageFont();
    const SIZE bu = DialogBaseUnitsOf(font);
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    MessageBoxMetrics m;
    m.baseX = bu.cx;
    m.baseY = bu.cy;
    m.iconCx = GetSystemMetrics(SM_CXICON);
    m.iconCy = GetSystemMetrics(SM_CYICON);
    m.workWidth = work.right - work.left;
    const UINT textFlags = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;
    SIZE textSize{};
    std::vector<int> labels;
    {
        HDC dc = GetDC(nullptr);
        {
            DcSelection sel(dc, FontOrSystem(font));
            textSize = Measure(dc, text, MessageTextWrapWidth(m), textFlags);
            for (int id : info.buttons)
                labels.push_back(Measure(dc, LabelOf(id), 0, DT_SINGLELINE).cx);
        }
        ReleaseDC(nullptr, dc);
    }
    const LPCWSTR icon = IconOf(type);
    const MessageBoxLayout L = LayoutMessageBox(textSize, labels, icon != nullptr, m);

    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    DWORD exStyle = WS_EX_DLGMODALFRAME;
    if (type & (MB_SYSTEMMODAL | MB_TOPMOST))
        exStyle |= WS_EX_TOPMOST;
    RECT wr{0, 0, L.client.cx, L.client.cy};
    AdjustWindowRectEx(&wr, style, FALSE, exStyle);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    const int x = work.left + (work.right - work.left - w) / 2, y = work.top + (work.bottom - work.top - h) / 2;
    const HWND box = CreateWindowExW(exStyle, WC_DIALOG, caption.c_str(), style, x, y, w, h, owner, nullptr, nullptr,
        nullptr);
    if (!box) {
        if (font)
            DeleteObject(font);
        return nullptr;
    }
    SetDialogFont(box, font, true);
    if (auto st = DialogStateOf(box))
        st->modal = true;
    SetWindowLongPtrW(box, DWLP_USER, reinterpret_cast<LONG_PTR>(&info));
    SetWindowLongPtrW(box, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(&BoxProc));
    SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    bool ok = true;
    if (icon) {
        const HWND ic = MakeChild(box, WC_STATIC, L"", SS_ICON, L.icon, kIconId, font);
        ok = ic != nullptr;
        if (ic)
            SendMessageW(ic, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, icon)), 0);
    }
    const DWORD textStyle = SS_NOPREFIX | WS_GROUP | ((type & MB_RIGHT) ? SS_RIGHT : SS_LEFT);
    ok = ok && MakeChild(box, WC_STATIC, text.c_str(), textStyle, L.text, kTextId, font);
    for (size_t i = 0; ok && i < info.buttons.size(); ++i) {
        DWORD bs = WS_TABSTOP | (i == defIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        if (i == 0)
            bs |= WS_GROUP;
        const HWND b = MakeChild(box, WC_BUTTON, LabelOf(info.buttons[i]), bs, L.buttons[i], info.buttons[i], font);
        ok = b != nullptr;
        if (i == defIndex)
            info.defButton = b;
    }
    if (!ok || !IsWindow(box)) {
        if (IsWindow(box))
            DestroyWindow(box);
        return nullptr;
    }
    SendMessageW(box, DM_SETDEFID, static_cast<WPARAM>(info.buttons[defIndex]), 0);
    SendMessageW(box, WM_INITDIALOG, reinterpret_cast<WPARAM>(info.defButton), 0);
    return IsWindow(box) ? box : nullptr;
}

// Enables again what a task-modal box disabled.
class TaskModalScope {
public:
    explicit TaskModalScope(bool active, HWND except)
    {
        if (!active)
            return;
        std::vector<HWND> tops;
        EnumThreadWindows(GetCurrentThreadId(), [](HWND h, LPARAM lp) {
            reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
            return TRUE;
        }, reinterpret_cast<LPARAM>(&tops));
        for (HWND h : tops)
            if (h != except && IsWindowEnabled(h) && !(GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD)) {
                EnableWindow(h, FALSE);
                m_disabled.push_back(h);
            }
    }
    ~TaskModalScope()
    {
        for (HWND h : m_disabled)
            if (IsWindow(h))
                EnableWindow(h, TRUE);
    }
    TaskModalScope(const TaskModalScope&) = delete;
    TaskModalScope& operator=(const TaskModalScope&) = delete;

private:
    std::vector<HWND> m_disabled;
};

} // namespace
} // namespace zyn::user

using namespace zyn::user;

int MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType)
{
    BoxInfo info;
    if (!ButtonsOf(uType, info.buttons) || ((uType & MB_DEFMASK) >> 8) > 3) {
        SetLastError(ERROR_INVALID_MSGBOX_STYLE);
        return 0;
    }
    if (hWnd && !IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    size_t defIndex = (uType & MB_DEFMASK) >> 8;
    if (defIndex >= info.buttons.size())
        defIndex = 0;
    const int def = info.buttons[defIndex] == IDHELP ? info.buttons[0] : info.buttons[defIndex];
    info.owner = ModalOwnerOf(hWnd);

    ShownRecord rec;
    rec.kind = AnswerKind::MessageBox;
    rec.owner = hWnd;
    rec.text = lpText ? lpText : L"";
    rec.caption = lpCaption ? lpCaption : L"Error";
    rec.type = uType;
    rec.result = def;

    std::optional<INT_PTR> now;
    if (auto a = AnswerScript::Take(AnswerKind::MessageBox)) {
        int code = a->code;
        // Escape on a box with only an OK button answers IDOK.
        if (code == IDCANCEL && (uType & MB_TYPEMASK) == MB_OK)
            code = IDOK;
        if (code != IDHELP && info.Has(code)) {
            now = code;
            rec.scripted = true;
        } else {
            rec.note = L"scripted answer " + std::to_wstring(a->code) + L" is not a button of this box";
            std::fprintf(stderr, "MessageBox \"%s\": %s; the default button answers\n",
                zyn::base::ToUtf8(rec.caption).c_str(), zyn::base::ToUtf8(rec.note).c_str());
            now = def;
        }
    } else if (!IsScriptedMode() && !DisplayAttached()) {
        now = def; // headless: nobody to ask (on a real display the person answers)
    }

    int result = def;
    {
        TaskModalScope taskModal((uType & MB_TASKMODAL) && !info.owner && !now, nullptr);
        const HWND box = CreateBox(info.owner, rec.text, rec.caption, uType, defIndex, info);
        if (box) {
            const ModalOutcome out = RunDialogModal(box, info.owner, now, MSGF_MESSAGEBOX);
            if (out.endedByDialog) {
                result = static_cast<int>(out.result);
                if (!now) {
                    rec.scripted = true;
                    rec.note = L"answered by input";
                }
            } else if (!now) {
                rec.note = L"no input answered it: the default button";
            }
        } else if (now) {
            result = static_cast<int>(*now);
        }
    }
    rec.result = result;
    AnswerScript::Record(std::move(rec));
    return result;
}

int MessageBox(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType)
{
    return MessageBoxW(hWnd, lpText, lpCaption, uType);
}

int MessageBoxExW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType, WORD)
{
    return MessageBoxW(hWnd, lpText, lpCaption, uType);
}

int MessageBoxEx(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType, WORD wLanguageId)
{
    return MessageBoxExW(hWnd, lpText, lpCaption, uType, wLanguageId);
}
