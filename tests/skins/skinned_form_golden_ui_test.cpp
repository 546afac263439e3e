// A skinned form view with the standard client edge inside the configuration child frame
// of an MDI main window, opened through a document template by a logged-in operator, in
// each skin, compared with its golden picture outside the texts. The child is shorter
// than the form, so the view shows its vertical bar beside the border the skin paints.
#include <memory>
#include <string>
#include <vector>

#include "frames/zyn_app_doc.h"
#include "frames/zyn_child_frame.h"
#include "platform/afx/doctempl.h"
#include "platform/afx/mdi.h"
#include "platform/suite/database/zyn_database.h"
#include "platform/suite/user/acs_user.h"
#include "tests/skins/skinned_view_support.h"

namespace skintest {
namespace {

struct GoldenSkin {
    const wchar_t* skin;
    const char* name;
};

class SkinnedFormGolden : public SkinnedViewTest, public ::testing::WithParamInterface<GoldenSkin> {
protected:
    // A rectangle of a window in the coordinates of the picture of another.
    static RECT In(CWnd* picture, HWND wnd, int inset = 0)
    {
        CRect origin, r;
        picture->GetWindowRect(&origin);
        ::GetWindowRect(wnd, &r);
        r.OffsetRect(-origin.left, -origin.top);
        r.DeflateRect(inset, inset);
        return r;
    }
};

TEST_P(SkinnedFormGolden, FormInsideTheChildFrame)
{
    CZynDatabase database; // the operator's; the screen reads nothing from it
    auto user = std::make_unique<CAcsUser>(7, L"operator");
    user->SetDatabase(&database);
    m_app->LoginOperator(std::move(user));
    UseSkin(GetParam().skin);

    auto* main = new CMDIFrameWnd; // deletes itself with its window
    ASSERT_TRUE(main->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 480, 360)));
    m_pMain = main;
    m_app->m_pMainWnd = main;
    auto* docTemplate =
        new CMultiDocTemplate(0, RUNTIME_CLASS(CZynAppDoc), RUNTIME_CLASS(CZynChildFrame), RUNTIME_CLASS(SkinnedTestForm));
    m_app->AddDocTemplate(docTemplate); // the application deletes it
    FormStyle::exStyle = WS_EX_CLIENTEDGE;
    FormStyle::fillClient = false;
    CDocument* doc = docTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(doc, nullptr);
    POSITION pos = doc->GetFirstViewPosition();
    CView* view = doc->GetNextView(pos);
    ASSERT_NE(view, nullptr);
    CFrameWnd* child = view->GetParentFrame();
    ASSERT_TRUE(child->IsKindOf(RUNTIME_CLASS(CZynChildFrame)));
    child->MoveWindow(8, 8, 300, 180);
    Repaint();
    ASSERT_TRUE(view->GetStyle() & WS_VSCROLL) << "the form is taller than the child";

    CRect window;
    child->GetWindowRect(&window);
    // The texts: the child's title (between its icon and its buttons), the label, the
    // check box's text, the button's face and the edit's inside (where the caret blinks).
    std::vector<RECT> texts{RECT{20, 4, window.Width() - 56, 22}, In(child, ::GetDlgItem(view->m_hWnd, IDC_SKIN_LABEL)),
        In(child, ::GetDlgItem(view->m_hWnd, IDC_SKIN_APPLY), 3), In(child, ::GetDlgItem(view->m_hWnd, IDC_SKIN_EDIT), 2)};
    RECT check = In(child, ::GetDlgItem(view->m_hWnd, IDC_SKIN_CHECK));
    check.left += 14;
    texts.push_back(check);
    EXPECT_TRUE(zyn::test::MatchesGoldenScreen("skins", std::string("skinned_form_") + GetParam().name, window, texts));

    m_app->CloseAllDocuments(TRUE);
    m_app->LogoutOperator();
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinnedFormGolden,
    ::testing::Values(GoldenSkin{L"Classic", "classic"}, GoldenSkin{L"Office XP", "xp"}, GoldenSkin{L"Office 2003", "2003"}),
    [](const ::testing::TestParamInfo<GoldenSkin>& info) {
        return std::string(info.param.name) == "2003" ? std::string("Office2003") : std::string(info.param.name);
    });

} // namespace
} // namespace skintest
