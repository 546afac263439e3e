// The header control: items and their display order, the layout height from the font,
// hit testing of items and dividers (zero-width items open from the right of an edge),
// dragging a divider with the mouse (with and without full drag, refused, cancelled),
// clicks, and the list view's columns following their header.
#include "tests/comctl/listview_test_support.h"

namespace zyn::test {
namespace {

class Header : public ListViewTest {
protected:
    // A header 400 x 30 at (50, 300) in the host, with items of these widths.
    HWND MakeHeader(DWORD style, std::vector<int> widths)
    {
        HWND header = MakeControl(WC_HEADERW, style, 50, 300, 400, 30);
        int i = 0;
        for (const int w : widths) {
            std::wstring text = L"Item " + std::to_wstring(i);
            HDITEMW item{};
            item.mask = HDI_WIDTH | HDI_TEXT | HDI_LPARAM;
            item.cxy = w;
            item.pszText = text.data();
            item.lParam = 50 + i;
            SendMessageW(header, HDM_INSERTITEMW, static_cast<WPARAM>(i++), reinterpret_cast<LPARAM>(&item));
        }
        events.clear();
        return header;
    }
    static int Width(HWND header, int item)
    {
        HDITEMW hd{};
        hd.mask = HDI_WIDTH;
        SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&hd));
        return hd.cxy;
    }
    // The header's notifications as "code item width".
    static std::vector<std::string> Story(HWND header)
    {
        std::vector<std::string> out;
        for (const Event& e : events) {
            if (e.msg != WM_NOTIFY || e.from != header || e.code == NM_CUSTOMDRAW)
                continue;
            std::string s;
            switch (e.code) {
            case HDN_BEGINTRACKW: s = "begin"; break;
            case HDN_TRACKW: s = "track"; break;
            case HDN_ENDTRACKW: s = "end"; break;
            case HDN_ITEMCHANGINGW: s = "changing"; break;
            case HDN_ITEMCHANGEDW: s = "changed"; break;
            case HDN_ITEMCLICKW: s = "click"; break;
            case HDN_ITEMDBLCLICKW: s = "dblclick"; break;
            case HDN_DIVIDERDBLCLICKW: s = "divdblclick"; break;
            default: s = "code" + std::to_string(0u - e.code); break;
            }
            s += " " + std::to_string(e.item);
            if (e.width >= 0)
                s += " " + std::to_string(e.width);
            out.push_back(s);
        }
        return out;
    }
    // Presses at x, moves through `moves`, releases at the last one (client x, y = 10).
    static void Drag(HWND header, int x, std::vector<int> moves)
    {
        POINT p{x, 10};
        ClientToScreen(header, &p);
        user::InjectMouseMove(p.x, p.y);
        user::InjectMouseButton(user::MouseButton::Left, true);
        Pump();
        for (const int m : moves) {
            POINT q{m, 10};
            ClientToScreen(header, &q);
            user::InjectMouseMove(q.x, q.y);
            Pump();
        }
        user::InjectMouseButton(user::MouseButton::Left, false);
        Pump();
    }
};

using Lines = std::vector<std::string>;

TEST_F(Header, ItemsOrderAndLayout)
{
    HWND header = MakeHeader(HDS_BUTTONS, {100, 60});
    // A third item shown first.
    HDITEMW item{};
    item.mask = HDI_WIDTH | HDI_ORDER;
    item.cxy = 40;
    item.iOrder = 0;
    EXPECT_EQ(SendMessageW(header, HDM_INSERTITEMW, 99, reinterpret_cast<LPARAM>(&item)), 2) << "index clamped";
    EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageW(header, HDM_ORDERTOINDEX, 0, 0), 2);
    int order[3] = {};
    ASSERT_TRUE(SendMessageW(header, HDM_GETORDERARRAY, 3, reinterpret_cast<LPARAM>(order)));
    EXPECT_EQ(std::vector<int>(order, order + 3), (std::vector<int>{2, 0, 1}));
    RECT rc{};
    ASSERT_TRUE(SendMessageW(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rc)));
    EXPECT_EQ(rc.left, 40);
    EXPECT_EQ(rc.right, 140);
    EXPECT_EQ(rc.bottom, 30);
    int bad[3] = {0, 0, 1};
    EXPECT_FALSE(SendMessageW(header, HDM_SETORDERARRAY, 3, reinterpret_cast<LPARAM>(bad))) << "not a permutation";
    EXPECT_FALSE(SendMessageW(header, HDM_SETORDERARRAY, 2, reinterpret_cast<LPARAM>(bad))) << "wrong count";
    // Deleting the first item renumbers the others in the order.
    ASSERT_TRUE(SendMessageW(header, HDM_DELETEITEM, 0, 0));
    ASSERT_TRUE(SendMessageW(header, HDM_GETORDERARRAY, 2, reinterpret_cast<LPARAM>(order)));
    EXPECT_EQ(std::vector<int>(order, order + 2), (std::vector<int>{1, 0}));
    EXPECT_FALSE(SendMessageW(header, HDM_DELETEITEM, 5, 0));
    // Texts come back cut to the caller's buffer.
    wchar_t text[4] = L"???";
    HDITEMW get{};
    get.mask = HDI_TEXT | HDI_LPARAM | HDI_ORDER;
    get.pszText = text;
    get.cchTextMax = 4;
    ASSERT_TRUE(SendMessageW(header, HDM_GETITEMW, 0, reinterpret_cast<LPARAM>(&get)));
    EXPECT_EQ(std::wstring(text), L"Ite");
    EXPECT_EQ(get.lParam, 51);
    EXPECT_EQ(get.iOrder, 1);
    // The layout: the font's line height plus 6, taken from the top of the rectangle.
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    RECT area{5, 7, 300, 200};
    WINDOWPOS wp{};
    HDLAYOUT layout{&area, &wp};
    ASSERT_TRUE(SendMessageW(header, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout)));
    EXPECT_EQ(wp.cy, tm.tmHeight + 6);
    EXPECT_EQ(wp.x, 5);
    EXPECT_EQ(wp.y, 7);
    EXPECT_EQ(wp.cx, 295);
    EXPECT_EQ(area.top, 7 + tm.tmHeight + 6);
    DestroyWindow(header);
}

TEST_F(Header, HitTestingItemsAndDividers)
{
    HWND header = MakeHeader(HDS_BUTTONS, {100, 0, 80});
    struct Row {
        int x, y;
        int item;
        UINT flags;
    };
    const Row rows[] = {
        {50, 10, 0, HHT_ONHEADER},
        {95, 10, 0, HHT_ONHEADER},   // 5 left of the edge at 100: outside the 4-pixel zone
        {96, 10, 0, HHT_ONDIVIDER},
        {99, 10, 0, HHT_ONDIVIDER},
        {100, 10, 1, HHT_ONDIVOPEN}, // right of the edge the hidden item opens
        {103, 10, 1, HHT_ONDIVOPEN},
        {104, 10, 2, HHT_ONHEADER},
        {176, 10, 2, HHT_ONDIVIDER},
        {183, 10, 2, HHT_ONDIVIDER},
        {184, 10, -1, HHT_NOWHERE},
        {399, 10, -1, HHT_NOWHERE},
        {50, 30, -1, HHT_BELOW},
        {-1, 10, -1, HHT_TOLEFT},
        {400, -1, -1, HHT_ABOVE | HHT_TORIGHT},
    };
    for (const Row& r : rows) {
        HDHITTESTINFO info{};
        info.pt = POINT{r.x, r.y};
        EXPECT_EQ(SendMessageW(header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)), r.item) << r.x << "," << r.y;
        EXPECT_EQ(info.flags, r.flags) << r.x << "," << r.y;
        EXPECT_EQ(info.iItem, r.item);
    }
    DestroyWindow(header);
}

TEST_F(Header, DraggingADivider)
{
    struct Row {
        const char* name;
        DWORD style;
        std::function<LRESULT(NMHDR*)> answer;
        std::vector<int> moves;
        Lines story;
        int width;
    };
    auto refuse = [](UINT code) { return [code](NMHDR* hdr) -> LRESULT { return hdr->code == code; }; };
    // Pressed one pixel left of the edge at 100: the width follows the mouse plus one.
    const Row rows[] = {
        {"outline", 0, nullptr, {150, 160},
            {"begin 0 100", "track 0 151", "track 0 161", "end 0 161", "changing 0 161", "changed 0 161"}, 161},
        {"full drag", HDS_FULLDRAG, nullptr, {150, 160},
            {"begin 0 100", "track 0 151", "changing 0 151", "changed 0 151", "track 0 161", "changing 0 161",
                "changed 0 161", "end 0 161"},
            161},
        {"past the left edge", 0, nullptr, {-20}, {"begin 0 100", "track 0 0", "end 0 0", "changing 0 0", "changed 0 0"},
            0},
        {"refused at the start", 0, refuse(HDN_BEGINTRACKW), {150}, {"begin 0 100"}, 100},
        {"stopped by the parent", 0, refuse(HDN_TRACKW), {150, 160}, {"begin 0 100", "track 0 151", "end 0 100"}, 100},
        {"width refused", HDS_FULLDRAG, refuse(HDN_ITEMCHANGINGW), {150},
            {"begin 0 100", "track 0 151", "changing 0 151", "end 0 151", "changing 0 151"}, 100},
    };
    for (const Row& r : rows) {
        HWND header = MakeHeader(HDS_BUTTONS | r.style, {100, 80});
        onNotify = r.answer;
        Drag(header, 99, r.moves);
        onNotify = nullptr;
        EXPECT_EQ(Story(header), r.story) << r.name;
        EXPECT_EQ(Width(header, 0), r.width) << r.name;
        EXPECT_EQ(GetCapture(), nullptr) << r.name;
        RECT rc{};
        SendMessageW(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rc));
        EXPECT_EQ(rc.left, r.width) << r.name << ": the next item follows";
        DestroyWindow(header);
    }
}

TEST_F(Header, ALostCaptureCancelsTheTrack)
{
    for (const DWORD style : {DWORD{0}, HDS_FULLDRAG}) {
        HWND header = MakeHeader(HDS_BUTTONS | style, {100, 80});
        POINT p{99, 10};
        ClientToScreen(header, &p);
        user::InjectMouseMove(p.x, p.y);
        user::InjectMouseButton(user::MouseButton::Left, true);
        user::InjectMouseMove(p.x + 40, p.y);
        Pump();
        EXPECT_EQ(GetCapture(), header);
        ReleaseCapture();
        Pump();
        const Lines story = Story(header);
        ASSERT_FALSE(story.empty());
        EXPECT_EQ(story.back(), style ? "changed 0 100" : "end 0 100") << "back to where it began";
        EXPECT_EQ(Width(header, 0), 100);
        user::InjectMouseButton(user::MouseButton::Left, false);
        Pump();
        DestroyWindow(header);
    }
}

TEST_F(Header, ClicksAndDoubleClicks)
{
    struct Row {
        const char* name;
        DWORD style;
        int press, release;
        Lines story;
    };
    const Row rows[] = {
        {"click", HDS_BUTTONS, 140, 150, {"click 1"}},
        {"released elsewhere", HDS_BUTTONS, 140, 50, {}},
        {"no buttons", 0, 140, 140, {}},
    };
    for (const Row& r : rows) {
        HWND header = MakeHeader(r.style, {100, 80});
        Drag(header, r.press, {r.release});
        EXPECT_EQ(Story(header), r.story) << r.name;
        DestroyWindow(header);
    }
    HWND header = MakeHeader(HDS_BUTTONS, {100, 80});
    DoubleClickAt(header, 99, 10);
    EXPECT_EQ(Story(header).back(), "divdblclick 0");
    events.clear();
    base::Clock::Advance(1000);
    DoubleClickAt(header, 140, 10);
    EXPECT_EQ(Story(header), (Lines{"click 1", "dblclick 1", "click 1"})) << "each click of a double click counts";
    DestroyWindow(header);
}

TEST_F(Header, ListColumnsFollowTheirHeader)
{
    HWND list = MakeList(LVS_REPORT, 300, 200);
    AddColumn(list, 0, L"Name", 100);
    AddColumn(list, 1, L"Size", 80);
    AddItems(list, {L"a", L"a much wider text"});
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    Drag(header, 99, {130});
    EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), 131);
    EXPECT_EQ(SubItemRectOf(list, 0, 1, LVIR_BOUNDS).left, 131);
    // The parent heard the header through the list, and may refuse a width.
    EXPECT_FALSE(Only({HDN_ENDTRACKW}).empty());
    onNotify = [](NMHDR* hdr) -> LRESULT { return hdr->code == HDN_BEGINTRACKW; };
    Drag(header, 130, {200});
    EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), 131);
    onNotify = nullptr;
    // A double click on the divider fits the column to its widest text.
    base::Clock::Advance(1000);
    DoubleClickAt(header, 130, 5);
    EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), IconTitleTextWidth(L"a much wider text") + 4);
    // The last column filled to the client's right edge.
    ASSERT_TRUE(SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(static_cast<WORD>(LVSCW_AUTOSIZE_USEHEADER), 0)));
    RECT client{};
    GetClientRect(list, &client);
    EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0), client.right - (IconTitleTextWidth(L"a much wider text") + 4));
    DestroyWindow(list);
}

} // namespace
} // namespace zyn::test
