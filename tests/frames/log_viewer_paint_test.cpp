// The log viewer's pixels: the session list's own row drawing (status colours, the
// highlight by focus, style, state and highlight kind) on a memory DC, and a golden
// picture of the whole viewer.
#include <algorithm>

#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/menu.h"
#include "tests/frames/log_viewer_test_support.h"

namespace zyn::test {
namespace {

// Four sessions: Warning, Error, Unknown (no COMPLETED before the next start) and Success.
std::string FourStatuses()
{
    return "****\n[07/05/2008 09:00:00] STARTED\n** WARNING! slow\nCOMPLETED\n****\n"
           "****\n[07/05/2008 10:00:00] STARTED\n** ERROR! failed\nCOMPLETED\n****\n"
           "****\n[07/05/2008 11:00:00] STARTED\n"
           "****\n[07/05/2008 12:00:00] STARTED\nCOMPLETED\n****\n";
}

// One row drawn by the list into a memory DC of the list's client size, widened to the
// row's whole width when its columns run past the client (white first).
class RowPicture {
public:
    RowPicture(CLogListCtl& list, int row) : m_list(list)
    {
        CRect client, bounds;
        list.GetClientRect(client);
        list.GetItemRect(row, bounds, LVIR_BOUNDS);
        client.right = std::max(client.right, bounds.right);
        HDC screen = ::GetDC(nullptr);
        m_dc = ::CreateCompatibleDC(screen);
        m_bitmap = ::CreateCompatibleBitmap(screen, client.Width(), client.Height());
        ::ReleaseDC(nullptr, screen);
        m_old = ::SelectObject(m_dc, m_bitmap);
        HGDIOBJ oldFont = ::SelectObject(m_dc, reinterpret_cast<HFONT>(list.SendMessage(WM_GETFONT)));
        RECT all{0, 0, client.Width(), client.Height()};
        HBRUSH white = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
        ::FillRect(m_dc, &all, white);
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_LISTVIEW;
        dis.CtlID = IDC_LOGVIEWER_LIST;
        dis.itemID = static_cast<UINT>(row);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.hwndItem = list.m_hWnd;
        dis.hDC = m_dc;
        list.GetItemRect(row, &dis.rcItem, LVIR_BOUNDS);
        list.DrawItem(&dis);
        ::SelectObject(m_dc, oldFont);
        list.GetItemRect(row, m_label, LVIR_LABEL);
        list.GetSubItemRect(row, 1, LVIR_BOUNDS, m_status);
    }
    ~RowPicture()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    // Pixels of a colour inside a rectangle.
    int Count(const CRect& r, COLORREF colour) const
    {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                n += ::GetPixel(m_dc, x, y) == colour;
        return n;
    }
    // The background: the top row of a rectangle's right end holds no text.
    COLORREF Back(const CRect& r) const { return ::GetPixel(m_dc, r.right - 2, r.top); }
    const CRect& Label() const { return m_label; }
    const CRect& Status() const { return m_status; }

private:
    CLogListCtl& m_list;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    CRect m_label, m_status;
};

TEST_F(LogViewerTest, StatusTextsHaveTheirColours)
{
    const auto path = WriteLog("colours.log", FourStatuses());
    TestViewer viewer(path.wstring().c_str());
    Open(viewer);
    ASSERT_EQ(viewer.m_listLog.GetItemCount(), 4);
    const COLORREF red = RGB(255, 0, 0), orange = RGB(255, 128, 0), blue = RGB(0, 0, 255);
    const COLORREF black = ::GetSysColor(COLOR_WINDOWTEXT);
    struct Case {
        int row;
        const wchar_t* status;
        COLORREF colour;
    } cases[] = {{0, L"Warning", orange}, {1, L"Error", red}, {2, L"Unknown", blue}, {3, L"Success", black}};
    viewer.m_listLog.SelectItem(-1, TRUE); // no highlight in the way
    for (const auto& c : cases) {
        ASSERT_EQ(viewer.m_listLog.GetItemText(c.row, 1), c.status) << c.row;
        RowPicture picture(viewer.m_listLog, c.row);
        EXPECT_GT(picture.Count(picture.Status(), c.colour), 0) << c.row;
        for (COLORREF other : {red, orange, blue}) {
            if (other != c.colour) {
                EXPECT_EQ(picture.Count(picture.Status(), other), 0) << c.row;
            }
        }
        // The date stays in the row's text colour whatever the status.
        EXPECT_GT(picture.Count(picture.Label(), black), 0) << c.row;
        EXPECT_EQ(picture.Count(picture.Label(), c.colour == black ? red : c.colour), 0) << c.row;
    }
    viewer.DestroyWindow();
}

TEST_F(LogViewerTest, HighlightFollowsFocusStyleStateAndKind)
{
    const auto path = WriteLog("highlight.log", FourStatuses());
    TestViewer viewer(path.wstring().c_str());
    Open(viewer);
    CLogListCtl& list = viewer.m_listLog;
    const COLORREF hi = ::GetSysColor(COLOR_HIGHLIGHT), window = ::GetSysColor(COLOR_WINDOW),
                   face = ::GetSysColor(COLOR_BTNFACE);
    struct Case {
        const char* name;
        bool selected, listFocus, showSelAlways, enabled, dropHilite, labelOnly;
        COLORREF label, status;
    } cases[] = {
        {"selected with focus", true, true, true, true, false, true, hi, window},
        {"selected, shown always", true, false, true, true, false, true, hi, window},
        {"selected, not shown without focus", true, false, false, true, false, true, window, window},
        {"selected but disabled", true, false, true, false, false, true, face, face},
        {"drop target", false, false, false, true, true, true, hi, window},
        {"whole row", true, true, true, true, false, false, hi, hi},
        {"plain row", false, true, true, true, false, true, window, window},
    };
    for (const auto& c : cases) {
        list.EnableWindow(TRUE);
        list.SelectItem(-1, TRUE);
        list.SetItemState(1, 0, LVIS_DROPHILITED | LVIS_FOCUSED);
        if (c.selected)
            list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
        if (c.dropHilite)
            list.SetItemState(1, LVIS_DROPHILITED, LVIS_DROPHILITED);
        list.ModifyStyle(c.showSelAlways ? 0 : LVS_SHOWSELALWAYS, c.showSelAlways ? LVS_SHOWSELALWAYS : 0);
        list.SetHighlightLabelOnly(c.labelOnly);
        if (c.listFocus)
            list.SetFocus();
        else
            viewer.m_editLog.SetFocus();
        list.EnableWindow(c.enabled);
        RowPicture picture(list, 1);
        EXPECT_EQ(picture.Back(picture.Label()), c.label) << c.name;
        EXPECT_EQ(picture.Back(picture.Status()), c.status) << c.name;
        if (c.label == hi) {
            EXPECT_GT(picture.Count(picture.Label(), ::GetSysColor(COLOR_HIGHLIGHTTEXT)), 0) << c.name;
        }
    }
    list.EnableWindow(TRUE);
    list.SetHighlightLabelOnly(TRUE);
    viewer.DestroyWindow();
}

TEST_F(LogViewerTest, ViewerLooksAsItShould)
{
    const auto path = WriteLog("golden.log", FourStatuses());
    TestViewer viewer(path.wstring().c_str());
    Open(viewer);
    viewer.SetWindowPos(nullptr, 40, 40, 800, 280, SWP_NOZORDER);
    viewer.m_listLog.SetFocus();
    viewer.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();

    CRect window;
    viewer.GetWindowRect(window);
    std::vector<RECT> texts;
    auto add = [&](CRect r, int dx, int dy) {
        r.DeflateRect(dx, dy);
        r.OffsetRect(-window.left, -window.top);
        texts.push_back(r);
    };
    // The caption's title (from the icon to the buttons) and the menu bar's item.
    const int caption = ::GetSystemMetrics(SM_CYCAPTION);
    texts.push_back(RECT{24, 4, window.Width() - 64, 4 + caption});
    CRect menuItem;
    ::GetMenuItemRect(viewer.m_hWnd, ::GetMenu(viewer.m_hWnd), 0, &menuItem);
    add(menuItem, 0, 0);
    // The header's headings, each row's date and status, the text box's inside.
    CListCtrl& list = viewer.m_listLog;
    HWND header = ::GetDlgItem(list.m_hWnd, 0) ? ::GetDlgItem(list.m_hWnd, 0) : list.GetHeaderCtrl()->m_hWnd;
    for (int col = 0; col < 2; ++col) {
        CRect r;
        ::SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(col), reinterpret_cast<LPARAM>(&r));
        ::MapWindowPoints(header, nullptr, reinterpret_cast<POINT*>(&r), 2);
        add(r, 3, 2);
    }
    for (int row = 0; row < list.GetItemCount(); ++row) {
        CRect label, status;
        list.GetItemRect(row, label, LVIR_LABEL);
        list.GetSubItemRect(row, 1, LVIR_BOUNDS, status);
        list.ClientToScreen(label);
        list.ClientToScreen(status);
        add(label, 1, 2);
        add(status, 5, 2);
    }
    CRect edit;
    viewer.m_editLog.GetClientRect(edit);
    viewer.m_editLog.ClientToScreen(edit);
    edit.right -= ::GetSystemMetrics(SM_CXVSCROLL);
    edit.bottom -= ::GetSystemMetrics(SM_CYHSCROLL);
    add(edit, 0, 0);
    EXPECT_TRUE(MatchesGoldenScreen("frames", "log_viewer_four_statuses", window, texts));
    viewer.DestroyWindow();
}

} // namespace
} // namespace zyn::test
