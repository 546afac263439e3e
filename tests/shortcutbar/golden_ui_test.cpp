// Golden pictures of the shortcut bar: four groups with header images, the first expanded
// with a hot and an active item and a drop marker between two items, in the Classic, XP
// and 2003 skins, with large and small icons. Texts are compared by where they lie, not
// glyph by glyph: the title and label boxes are left out of the comparison.
#include <string>
#include <vector>

#include "platform/afx/ole/oledataobject.h"
#include "platform/afx/ole/oledatasource.h"
#include "platform/base/globalmem.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/driver.h"
#include "platform/user/winuser.h"
#include "tests/shortcutbar/shb_bar_support.h"
#include "tests/support/golden.h"
#include "toolkit/docking/shb_drag_data.h"

namespace shbtest {
namespace {

class GoldenTest : public BarTest {};

TEST_F(GoldenTest, FourGroupsHotActiveAndADropMarkerInEachSkinAndView)
{
    struct Skin {
        const wchar_t* name;
        const char* tag;
    };
    const Skin skins[] = {{L"Classic", "classic"}, {L"Office XP", "xp"}, {L"Office 2003", "2003"}};
    for (const Skin& skin : skins) {
        for (const int view : {SHB_LARGEICON, SHB_SMALLICON}) {
            const std::string name =
                std::string("shortcutbar_") + skin.tag + (view == SHB_LARGEICON ? "_large" : "_small");
            UseSkin(skin.name);
            MakeBar(SHBS_SHOWACTIVEALWAYS | SHBS_BOLDEXPANDEDGROUP | SHBS_DISABLEDRAGITEM, 180, 260);
            CImageList headers, large, small;
            headers.Attach(SolidImages(16, 16, {RGB(220, 60, 60), RGB(60, 160, 60), RGB(60, 90, 220), RGB(230, 180, 40)}));
            large.Attach(SolidImages(32, 32, {RGB(240, 120, 0), RGB(0, 150, 150), RGB(150, 0, 150), RGB(90, 90, 90)}));
            small.Attach(SolidImages(16, 16, {RGB(240, 120, 0), RGB(0, 150, 150), RGB(150, 0, 150), RGB(90, 90, 90)}));
            bar->SetImageList(&headers);
            std::vector<HSHBGROUP> g;
            int image = 0;
            for (const wchar_t* title : {L"Mail", L"Calendar", L"Contacts", L"Notes"}) {
                g.push_back(bar->InsertGroup(title, -1, image, image));
                ++image;
            }
            bar->SetGroupView(g[0], view);
            bar->SetLCImageList(g[0], &large, LVSIL_NORMAL);
            bar->SetLCImageList(g[0], &small, LVSIL_SMALL);
            int item = 0;
            for (const wchar_t* text : {L"Inbox", L"Outbox", L"Sent items", L"Deleted"}) {
                bar->InsertLCItem(g[0], item, text, item);
                ++item;
            }
            bar->ExpandGroup(g[0]);
            COXSHBListCtrl* list = bar->GetGroupListCtrl(g[0]);
            list->ActivateItem(1);
            CRect icon;
            list->GetItemRect(0, &icon, LVIR_ICON);
            MoveTo(icon.CenterPoint().x, icon.CenterPoint().y, list->m_hWnd);
            ASSERT_EQ(list->GetHotItem(), 0) << name;
            // The drop marker: the bar's item data dragged over the gap before item 2.
            auto* source = new COleDataSource;
            source->CacheGlobalData(static_cast<CLIPFORMAT>(zyn::toolkit::shb::ChildWndItemFormat()),
                GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 16));
            COleDataObject data;
            data.Attach(source->GetDataObject(), FALSE);
            CRect third;
            list->GetItemRect(2, &third, SHBLC_ENTIREITEM);
            SHBDROPTARGETACTION action{};
            action.pWnd = list;
            action.pDataObject = &data;
            action.point = CPoint(60, third.top - 3);
            SendMessageW(list->m_hWnd, SHBDTM_DRAGENTER, 0, reinterpret_cast<LPARAM>(&action));
            ASSERT_EQ(list->GetPlaceHolder(), 2) << name;
            // A drag clears the hot item; it is made hot again for the picture.
            list->SetHotItem(0);
            list->Update(0);
            zyn::user::PaintPendingWindows();

            // Texts are left out: header titles (right of the image) and item labels.
            std::vector<RECT> texts;
            for (HSHBGROUP h : g) {
                CRect header;
                bar->GetGroupHeaderRect(h, &header);
                texts.push_back(RECT{header.left + 24, header.top + 2, header.right - 2, header.bottom - 2});
            }
            for (int i = 0; i < list->GetItemCount(); ++i) {
                CRect label;
                list->GetItemRect(i, &label, LVIR_LABEL);
                MapWindowPoints(list->m_hWnd, bar->m_hWnd, reinterpret_cast<POINT*>(&label), 2);
                texts.push_back(label);
            }
            CRect window;
            GetWindowRect(bar->m_hWnd, &window);
            const zyn::test::GoldenPicture picture = zyn::test::CaptureScreen(window);
            EXPECT_TRUE(zyn::test::MatchesGolden("shortcutbar", name, picture, texts)) << name;

            SendMessageW(list->m_hWnd, SHBDTM_DRAGLEAVE, 0, reinterpret_cast<LPARAM>(&action));
            source->InternalRelease();
            bar.reset();
            headers.DeleteImageList();
            large.DeleteImageList();
            small.DeleteImageList();
        }
    }
}

} // namespace
} // namespace shbtest
