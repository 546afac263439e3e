// OpenView through a real document template: a new document with its frame and view
// the first time, the same frame activated afterwards.
#include "app/zyn_app.h"
#include "platform/afx/afxstate.h"
#include "platform/afx/doc.h"
#include "platform/afx/doctempl.h"
#include "platform/afx/frame.h"
#include "platform/afx/view.h"
#include "platform/afx/wnd.h"
#include "tests/zynapp/zynapp_support.h"

using namespace zyn::test;

namespace {

class CDoorDoc : public CDocument {
    DECLARE_DYNCREATE(CDoorDoc)
};
IMPLEMENT_DYNCREATE(CDoorDoc, CDocument)

class CDoorView : public CView {
    DECLARE_DYNCREATE(CDoorView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CDoorView, CView)

constexpr int kTypeDoor = 3;

} // namespace

class OpenViewTest : public ZynAppTest {};

TEST_F(OpenViewTest, TemplateOpensOnceThenActivates)
{
    CZynApp app;
    auto* pTemplate = new CMultiDocTemplate(0, RUNTIME_CLASS(CDoorDoc), RUNTIME_CLASS(CFrameWnd), RUNTIME_CLASS(CDoorView));
    app.AddDocTemplate(pTemplate);  // the application owns it
    ASSERT_TRUE(app.AddView(56003, 0, RUNTIME_CLASS(CDoorView), pTemplate, {1}, {kTypeDoor}));
    HWND other = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100);

    CFrameWnd* pFrame = app.OpenView(kTypeDoor);
    ASSERT_NE(pFrame, nullptr);
    EXPECT_TRUE(IsWindow(pFrame->GetSafeHwnd()));
    EXPECT_EQ(app.GetOpenDocumentCount(), 1);
    ASSERT_NE(pFrame->GetActiveView(), nullptr);
    EXPECT_TRUE(pFrame->GetActiveView()->IsKindOf(RUNTIME_CLASS(CDoorView)));

    SetActiveWindow(other);
    EXPECT_EQ(app.OpenView(kTypeDoor), pFrame);
    EXPECT_EQ(app.GetOpenDocumentCount(), 1);  // no second document
    EXPECT_EQ(GetActiveWindow(), pFrame->GetSafeHwnd());

    pFrame->DestroyWindow();  // the frame deletes itself and its document
    EXPECT_EQ(app.GetViewInfo(56003)->GetOpenFrame(), nullptr);
    CFrameWnd* pSecond = app.OpenView(kTypeDoor);
    ASSERT_NE(pSecond, nullptr);
    EXPECT_EQ(app.GetOpenDocumentCount(), 1);
    pSecond->DestroyWindow();
    DestroyWindow(other);
    AfxUnlockTempMaps();
}
