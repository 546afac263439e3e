// TB_CUSTOMIZE: the customise dialog, a modal "#32770" built from a template in memory
// on the dialog manager. Its left list holds the buttons on offer that are not on the
// toolbar (a separator always first), its right list the toolbar's buttons; Add inserts
// the chosen offer before the chosen toolbar button (at the end when none is chosen),
// Remove takes the chosen toolbar button off, Move Up / Move Down reorder, Reset asks the
// parent (TBN_RESET) and reads both lists again, Help sends TBN_CUSTHELP, Close ends it.
// Each change is asked first (TBN_QUERYINSERT / TBN_QUERYDELETE, which must answer TRUE)
// and announced after (TBN_TOOLBARCHANGE). A double click on a list adds or removes.
#include <algorithm>
#include <string>

#include "platform/base/codepage.h"
#include "platform/comctl/toolbar_state.h"
#include "platform/gdi/rect.h"
#include "platform/user/button.h"
#include "platform/user/dialog.h"
#include "platform/user/dialog_template_writer.h"
#include "platform/user/listbox.h"
#include "platform/user/messages.h"
#include "platform/user/msgbox.h"
#include "platform/user/msgqueue.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::comctl::tb {

namespace {

// A parent that answers TRUE for every index must not keep the dialog from opening.
constexpr int kMaxOffers = 4096;
constexpr int kTextChars = 256;

struct Session {
    ToolbarState* s = nullptr;
    std::shared_ptr<ToolbarState> hold;
    std::vector<Button> offered;    // all the parent offers
    std::vector<Button> available;  // the left list's buttons (a separator first)
    bool hideHelp = false;
};

// ---- the template ---------------------------------------------------------------------------------------
constexpr WORD kButtonClass = 0x0080, kListClass = 0x0083;

zyn::user::DialogTemplateWriter BuildTemplate()
{
    zyn::user::DialogTemplateWriter t;
    constexpr WORD items = 11;
    t.Header(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, items, 280, 170,
        L"Customize Toolbar", 8, L"MS Shell Dlg");
    const DWORD list = LBS_NOTIFY | WS_BORDER | WS_VSCROLL | WS_TABSTOP;
    t.Item(0, 7, 7, 100, 9, 0xFFFF, 0x0082, L"A&vailable buttons:");
    t.Item(list, 7, 18, 100, 125, static_cast<WORD>(kCustomizeAvailable), kListClass, L"");
    t.Item(0, 165, 7, 100, 9, 0xFFFF, 0x0082, L"&Toolbar buttons:");
    t.Item(list, 165, 18, 100, 125, static_cast<WORD>(kCustomizeCurrent), kListClass, L"");
    t.Item(BS_PUSHBUTTON | WS_TABSTOP, 112, 30, 48, 14, static_cast<WORD>(kCustomizeAdd), kButtonClass, L"&Add ->");
    t.Item(BS_PUSHBUTTON | WS_TABSTOP, 112, 48, 48, 14, static_cast<WORD>(kCustomizeRemove), kButtonClass,
        L"<- &Remove");
    t.Item(BS_PUSHBUTTON | WS_TABSTOP, 112, 72, 48, 14, static_cast<WORD>(kCustomizeUp), kButtonClass, L"Move &Up");
    t.Item(BS_PUSHBUTTON | WS_TABSTOP, 112, 90, 48, 14, static_cast<WORD>(kCustomizeDown), kButtonClass,
        L"Move &Down");
    t.Item(BS_PUSHBUTTON | WS_TABSTOP, 112, 110, 48, 14, static_cast<WORD>(kCustomizeReset), kButtonClass,
        L"R&eset");
    t.Item(BS_PUSHBUTTON | WS_TABSTOP, 112, 148, 48, 14, static_cast<WORD>(kCustomizeHelp), kButtonClass, L"&Help");
    t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 112, 129, 48, 14, static_cast<WORD>(IDCANCEL), kButtonClass, L"Close");
    return t;
}

// ---- the lists ------------------------------------------------------------------------------------------------
std::wstring Label(const ToolbarState& s, const Button& b)
{
    if (b.IsSeparator())
        return L"Separator";
    std::wstring text = TextOf(s, b);
    return text.empty() ? L"Button " + std::to_wstring(b.command) : text;
}

void Fill(Session& ses, HWND dlg, int selAvailable, int selCurrent)
{
    ToolbarState& s = *ses.s;
    ses.available.clear();
    Button sep;
    sep.style = BTNS_SEP;
    ses.available.push_back(sep);
    for (const Button& b : ses.offered)
        if (!b.IsSeparator() && IndexOfCommand(s, b.command) < 0)
            ses.available.push_back(b);
    const HWND left = ::GetDlgItem(dlg, kCustomizeAvailable), right = ::GetDlgItem(dlg, kCustomizeCurrent);
    ::SendMessageW(left, LB_RESETCONTENT, 0, 0);
    for (const Button& b : ses.available)
        ::SendMessageW(left, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Label(s, b).c_str()));
    ::SendMessageW(right, LB_RESETCONTENT, 0, 0);
    for (const Button& b : s.buttons)
        ::SendMessageW(right, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Label(s, b).c_str()));
    const int nl = static_cast<int>(ses.available.size()), nr = s.Count();
    ::SendMessageW(left, LB_SETCURSEL, static_cast<WPARAM>(std::min(std::max(selAvailable, 0), nl - 1)), 0);
    if (nr > 0)
        ::SendMessageW(right, LB_SETCURSEL, static_cast<WPARAM>(std::min(std::max(selCurrent, 0), nr - 1)), 0);
}

int Selection(HWND dlg, int id) { return static_cast<int>(::SendDlgItemMessageW(dlg, id, LB_GETCURSEL, 0, 0)); }

void Announce(ToolbarState& s)
{
    NMHDR hdr{};
    Notify(s, TBN_TOOLBARCHANGE, hdr);
}

void Add(Session& ses, HWND dlg)
{
    ToolbarState& s = *ses.s;
    const int a = Selection(dlg, kCustomizeAvailable);
    if (a < 0 || a >= static_cast<int>(ses.available.size()))
        return;
    int at = Selection(dlg, kCustomizeCurrent);
    if (at < 0 || at > s.Count())
        at = s.Count();
    const Button b = ses.available[static_cast<size_t>(a)];
    if (!NotifyButton(s, TBN_QUERYINSERT, at, &b) || s.destroyed)
        return;
    InsertButtonObjects(s, at, {b});
    Announce(s);
    if (!s.destroyed)
        Fill(ses, dlg, a, at + 1);
}

void Remove(Session& ses, HWND dlg)
{
    ToolbarState& s = *ses.s;
    const int c = Selection(dlg, kCustomizeCurrent);
    const Button* b = s.At(c);
    if (!b)
        return;
    const Button copy = *b;
    if (!NotifyButton(s, TBN_QUERYDELETE, c, &copy) || s.destroyed)
        return;
    if (!s.At(c) || s.buttons[static_cast<size_t>(c)].command != copy.command)
        return;
    DeleteButton(s, c);
    Announce(s);
    if (!s.destroyed)
        Fill(ses, dlg, Selection(dlg, kCustomizeAvailable), c);
}

void Move(Session& ses, HWND dlg, int delta)
{
    ToolbarState& s = *ses.s;
    const int c = Selection(dlg, kCustomizeCurrent);
    if (!s.At(c) || !s.At(c + delta))
        return;
    MoveButton(s, c, c + delta);
    Announce(s);
    if (!s.destroyed)
        Fill(ses, dlg, Selection(dlg, kCustomizeAvailable), c + delta);
}

INT_PTR CustomizeProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* ses = reinterpret_cast<Session*>(::GetWindowLongPtrW(dlg, DWLP_USER));
    if (msg == WM_INITDIALOG) {
        ses = reinterpret_cast<Session*>(lp);
        ::SetWindowLongPtrW(dlg, DWLP_USER, lp);
        if (ses->hideHelp)
            ::ShowWindow(::GetDlgItem(dlg, kCustomizeHelp), SW_HIDE);
        Fill(*ses, dlg, 0, 0);
        return TRUE;
    }
    if (!ses || msg != WM_COMMAND)
        return FALSE;
    if (ses->s->destroyed) {
        ::EndDialog(dlg, IDCANCEL);
        return TRUE;
    }
    const int id = LOWORD(static_cast<DWORD>(wp));
    const int code = HIWORD(static_cast<DWORD>(wp));
    switch (id) {
    case kCustomizeAvailable:
        if (code == LBN_DBLCLK)
            Add(*ses, dlg);
        return TRUE;
    case kCustomizeCurrent:
        if (code == LBN_DBLCLK)
            Remove(*ses, dlg);
        return TRUE;
    case kCustomizeAdd:
        Add(*ses, dlg);
        return TRUE;
    case kCustomizeRemove:
        Remove(*ses, dlg);
        return TRUE;
    case kCustomizeUp:
        Move(*ses, dlg, -1);
        return TRUE;
    case kCustomizeDown:
        Move(*ses, dlg, 1);
        return TRUE;
    case kCustomizeReset: {
        NMHDR hdr{};
        Notify(*ses->s, TBN_RESET, hdr);
        if (!ses->s->destroyed)
            Fill(*ses, dlg, 0, 0);
        return TRUE;
    }
    case kCustomizeHelp: {
        NMHDR hdr{};
        Notify(*ses->s, TBN_CUSTHELP, hdr);
        return TRUE;
    }
    case IDOK:
    case IDCANCEL:
        ::EndDialog(dlg, id);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

std::vector<Button> OfferedButtons(ToolbarState& s)
{
    std::vector<Button> out;
    for (int i = 0; i < kMaxOffers && !s.destroyed; ++i) {
        LRESULT more = 0;
        TBBUTTON rec{};
        std::wstring text;
        if (s.ansiNotify) {
            char buffer[kTextChars] = {};
            NMTOOLBARA nm{};
            nm.iItem = i;
            nm.pszText = buffer;
            nm.cchText = kTextChars;
            more = Notify(s, TBN_GETBUTTONINFOA, nm.hdr);
            rec = nm.tbButton;
            buffer[kTextChars - 1] = '\0';
            text = zyn::base::AnsiToWide(buffer);
        } else {
            wchar_t buffer[kTextChars] = {};
            NMTOOLBARW nm{};
            nm.iItem = i;
            nm.pszText = buffer;
            nm.cchText = kTextChars;
            more = Notify(s, TBN_GETBUTTONINFOW, nm.hdr);
            rec = nm.tbButton;
            buffer[kTextChars - 1] = L'\0';
            text = buffer;
        }
        if (!more)
            break;
        Button b = ReadButton(s, rec, s.ansiNotify);
        if (!text.empty()) {
            b.ownText = text;
            b.stringIndex = -1;
        }
        out.push_back(std::move(b));
    }
    return out;
}

void Customize(ToolbarState& s)
{
    if (s.customizing || s.destroyed)
        return;
    Session ses;
    ses.s = &s;
    ses.hold = StateOf(s.self); // the toolbar's state outlives the dialog, whatever happens
    s.customizing = true;
    NMHDR hdr{};
    Notify(s, TBN_BEGINADJUST, hdr);
    NMHDR init{};
    if (!s.destroyed)
        ses.hideHelp = (Notify(s, TBN_INITCUSTOMIZE, init) & TBNRF_HIDEHELP) != 0;
    if (!s.destroyed)
        ses.offered = OfferedButtons(s);
    if (!s.destroyed) {
        const zyn::user::DialogTemplateWriter t = BuildTemplate();
        HWND owner = ::GetParent(s.self);
        ::DialogBoxIndirectParamW(nullptr, t.Get(), owner ? owner : s.self, &CustomizeProc,
            reinterpret_cast<LPARAM>(&ses));
    }
    s.customizing = false;
    if (!s.destroyed) {
        NMHDR end{};
        Notify(s, TBN_ENDADJUST, end);
    }
}

} // namespace zyn::comctl::tb
