// The list view's helpers that live in other windows: the label editor (an "Edit" child,
// when the window system has that class), the info-tip tooltip and the check-box images.
#include <algorithm>
#include <vector>

#include "platform/user/winuser.h"
#include "platform/comctl/listview_state.h"
#include "platform/comctl/subclass.h"
#include "platform/comctl/tooltip.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::comctl::detail {

namespace {

// The edit control's own numbers (its class lives in the window system).
constexpr DWORD kEsAutoHScroll = 0x0080;
constexpr UINT kEmSetSel = 0x00B1;
constexpr LRESULT kDlgcWantAllKeys = 0x0004;
constexpr const wchar_t* kEditClass = L"Edit";
constexpr UINT_PTR kEditSubclassId = 1;

LRESULT EditSubclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref)
{
    const HWND list = reinterpret_cast<HWND>(ref);
    switch (msg) {
    case WM_GETDLGCODE:
        return DefSubclassProc(hwnd, msg, wp, lp) | kDlgcWantAllKeys;
    case WM_KEYDOWN:
        if (wp == static_cast<WPARAM>(VK_RETURN) || wp == static_cast<WPARAM>(VK_ESCAPE)) {
            if (const auto s = ListViewStateOf(list); s && s->edit == hwnd)
                EndEdit(*s, wp == static_cast<WPARAM>(VK_ESCAPE));
            return 0;
        }
        break;
    case WM_CHAR:
        if (wp == L'\r' || wp == 0x1B)
            return 0; // handled as keys
        break;
    case WM_KILLFOCUS: {
        const LRESULT r = DefSubclassProc(hwnd, msg, wp, lp);
        if (const auto s = ListViewStateOf(list); s && s->edit == hwnd)
            EndEdit(*s, false);
        return r;
    }
    default:
        break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

std::wstring WindowText(HWND hwnd)
{
    const int n = ::GetWindowTextLengthW(hwnd);
    if (n <= 0)
        return {};
    std::vector<wchar_t> buffer(static_cast<size_t>(n) + 1);
    const int got = ::GetWindowTextW(hwnd, buffer.data(), n + 1);
    return std::wstring(buffer.data(), static_cast<size_t>(std::max(0, got)));
}

// Draws the two check-box images (unchecked, checked) into a new image list.
HIMAGELIST MakeCheckImages()
{
    const int cx = ::GetSystemMetrics(SM_CXSMICON), cy = ::GetSystemMetrics(SM_CYSMICON);
    HIMAGELIST list = ::ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 2, 0);
    if (!list)
        return nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, 2 * cx, cy);
    ::ReleaseDC(nullptr, screen);
    const HGDIOBJ old = ::SelectObject(dc, bmp);
    constexpr COLORREF kMask = RGB(255, 0, 255);
    HBRUSH back = ::CreateSolidBrush(kMask);
    const RECT all{0, 0, 2 * cx, cy};
    ::FillRect(dc, &all, back);
    ::DeleteObject(back);
    const int box = std::min({13, cx, cy});
    for (int i = 0; i < 2; ++i) {
        RECT rc{i * cx + (cx - box) / 2, (cy - box) / 2, 0, 0};
        rc.right = rc.left + box;
        rc.bottom = rc.top + box;
        ::DrawFrameControl(dc, &rc, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (i ? DFCS_CHECKED : 0));
    }
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::ImageList_AddMasked(list, bmp, kMask);
    ::DeleteObject(bmp);
    return list;
}

} // namespace

HWND EditLabel(ListViewState& s, int index)
{
    if (index == -1) {
        EndEdit(s, true);
        return nullptr;
    }
    if (!s.valid(index))
        return nullptr;
    if (s.edit)
        EndEdit(s, false);
    // The editor is the window system's edit control; without it there is no editing.
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!::GetClassInfoExW(nullptr, kEditClass, &wc) || s.destroyed || !s.valid(index))
        return nullptr;
    if (::GetFocus() != s.self)
        ::SetFocus(s.self);
    EnsureVisible(s, index, false);
    if (s.destroyed || !s.valid(index))
        return nullptr;
    std::wstring text = ItemText(s, index, 0);
    NMLVDISPINFOW di{};
    di.item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
    di.item.iItem = index;
    di.item.pszText = text.data();
    di.item.cchTextMax = static_cast<int>(text.size()) + 1;
    di.item.lParam = s.items[static_cast<size_t>(index)].lParam;
    di.item.state = s.items[static_cast<size_t>(index)].state;
    if (Notify(s, di.hdr, LVN_BEGINLABELEDITW) || s.destroyed || !s.valid(index))
        return nullptr; // the parent refused
    RECT rc{};
    ItemRect(s, index, LVIR_LABEL, rc);
    if (s.view() == View::Report) {
        rc.right = std::max(rc.right, rc.left + 2 * LineHeight(s));
    } else {
        const int width = std::max(static_cast<int>(rc.right - rc.left), MeasureText(s, text) + 4 * kLabelPad);
        rc.right = rc.left + width;
        rc.bottom = rc.top + LineHeight(s) + 2 * kLabelPad;
    }
    const HWND edit = ::CreateWindowExW(0, kEditClass, text.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER | kEsAutoHScroll,
        rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, s.self, nullptr, nullptr, nullptr);
    if (!edit)
        return nullptr;
    if (s.destroyed || !s.valid(index)) {
        ::DestroyWindow(edit);
        return nullptr;
    }
    ::SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(s.font), FALSE);
    ::SendMessageW(edit, kEmSetSel, 0, -1);
    ::SetWindowSubclass(edit, &EditSubclass, kEditSubclassId, reinterpret_cast<DWORD_PTR>(s.self));
    s.edit = edit;
    s.editItem = index;
    ::SetFocus(edit);
    return edit;
}

void EndEdit(ListViewState& s, bool cancel)
{
    if (!s.edit || s.endingEdit)
        return;
    s.endingEdit = true;
    const HWND edit = s.edit;
    const int index = s.editItem;
    std::wstring text = WindowText(edit);
    const bool hadFocus = ::GetFocus() == edit;
    s.edit = nullptr;
    s.editItem = -1;
    ::ShowWindow(edit, SW_HIDE);
    NMLVDISPINFOW di{};
    di.item.mask = LVIF_TEXT;
    di.item.iItem = index;
    di.item.pszText = cancel ? nullptr : text.data();
    di.item.cchTextMax = static_cast<int>(text.size()) + 1;
    if (s.valid(index))
        di.item.lParam = s.items[static_cast<size_t>(index)].lParam;
    const LRESULT keep = Notify(s, di.hdr, LVN_ENDLABELEDITW);
    if (!cancel && keep && !s.destroyed && s.valid(index) && !s.items[static_cast<size_t>(index)].textCallback) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = index;
        item.pszText = text.data();
        SetItem(s, &item);
    }
    if (::IsWindow(edit))
        ::DestroyWindow(edit);
    if (hadFocus && !s.destroyed && ::IsWindow(s.self))
        ::SetFocus(s.self);
    s.endingEdit = false;
}

void UpdateInfoTips(ListViewState& s)
{
    const bool want = (s.exStyle & LVS_EX_INFOTIP) != 0;
    if (want && !s.toolTip) {
        s.toolTip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, s.self, nullptr, nullptr, nullptr);
        s.ownToolTip = s.toolTip != nullptr;
        s.tipItem = -1;
    } else if (!want && s.ownToolTip && s.toolTip) {
        ::DestroyWindow(s.toolTip);
        s.toolTip = nullptr;
        s.ownToolTip = false;
        s.tipItem = -1;
    }
}

void TrackTipItem(ListViewState& s, POINT pt)
{
    if (!s.toolTip || !s.ownToolTip || !::IsWindow(s.toolTip))
        return;
    LVHITTESTINFO ht{};
    ht.pt = pt;
    const int item = HitTest(s, ht, false);
    if (item == s.tipItem)
        return;
    // One tool per item under the mouse (its ID the index + 1), so that moving to another
    // item is moving to another tool and shows that item's tip in turn.
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = s.self;
    if (s.tipItem >= 0) {
        ti.uId = static_cast<UINT_PTR>(s.tipItem) + 1;
        ::SendMessageW(s.toolTip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
    s.tipItem = item;
    if (item < 0)
        return;
    ti.uFlags = TTF_SUBCLASS;
    ti.uId = static_cast<UINT_PTR>(item) + 1;
    ItemRect(s, item, LVIR_BOUNDS, ti.rect);
    ti.lpszText = LPSTR_TEXTCALLBACKW;
    ::SendMessageW(s.toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

LRESULT OnToolTipNotify(ListViewState& s, NMHDR* hdr)
{
    if (hdr->code != TTN_GETDISPINFOW)
        return 0;
    auto* di = reinterpret_cast<NMTTDISPINFOW*>(hdr);
    const int item = static_cast<int>(hdr->idFrom) - 1;
    di->lpszText = di->szText;
    di->szText[0] = L'\0';
    if (!s.valid(item))
        return 0;
    std::wstring text = ItemText(s, item, 0);
    if (s.destroyed || !s.valid(item))
        return 0;
    std::vector<wchar_t> buffer(1024, L'\0');
    std::copy_n(text.begin(), std::min(text.size(), buffer.size() - 1), buffer.begin());
    NMLVGETINFOTIPW tip{};
    RECT label{};
    ItemRect(s, item, LVIR_LABEL, label);
    tip.dwFlags = TextWidth(s, item) + 2 * kLabelPad <= label.right - label.left ? LVGIT_UNFOLDED : 0;
    tip.pszText = buffer.data();
    tip.cchTextMax = static_cast<int>(buffer.size());
    tip.iItem = item;
    tip.lParam = s.items[static_cast<size_t>(item)].lParam;
    Notify(s, tip.hdr, LVN_GETINFOTIPW);
    if (s.destroyed)
        return 0;
    s.tipText.assign(buffer.data(), wcsnlen(buffer.data(), buffer.size()));
    di->lpszText = s.tipText.data();
    return 0;
}

void UpdateCheckBoxes(ListViewState& s, DWORD)
{
    if (s.exStyle & LVS_EX_CHECKBOXES) {
        if (!s.ownCheckImages) {
            s.ownCheckImages = MakeCheckImages();
            s.stateImages = s.ownCheckImages;
        }
        for (ListItem& item : s.items) {
            if (!(item.state & LVIS_STATEIMAGEMASK))
                item.state |= INDEXTOSTATEIMAGEMASK(1);
        }
    } else if (s.ownCheckImages) {
        if (s.stateImages == s.ownCheckImages)
            s.stateImages = nullptr;
        ::ImageList_Destroy(s.ownCheckImages);
        s.ownCheckImages = nullptr;
    }
    ResetMeasures(s, false);
    s.ownerRowHeight = -1;
}

} // namespace zyn::comctl::detail
