#include "frames/zyn_app_doc.h"

#include "app/zyn_app.h"
#include "frames/config_view_seam.h"
#include "platform/afx/afxres.h"
#include "platform/afx/frame.h"
#include "platform/afx/view.h"
#include "platform/base/lasterror.h"

IMPLEMENT_DYNCREATE(CZynAppDoc, CDocument)

BEGIN_MESSAGE_MAP(CZynAppDoc, CDocument)
    ON_COMMAND(ID_FILE_OPEN, &CZynAppDoc::OnFileOpen)
    ON_COMMAND(ID_FILE_SAVE, &CZynAppDoc::OnFileSave)
END_MESSAGE_MAP()

void CZynAppDoc::Serialize(CArchive& /*ar*/) {}

bool CZynAppDoc::OperatorPresent()
{
    return CZynApp::GetAppAcsUser() != nullptr && CZynApp::GetAppDatabase() != nullptr;
}

BOOL CZynAppDoc::OnNewDocument()
{
    // A view opened through its template without a file comes here: the same rule as
    // opening one.
    if (!OperatorPresent()) {
        ::SetLastError(kErrorNotLoggedOn);
        return FALSE;
    }
    return CDocument::OnNewDocument() ? TRUE : FALSE;
}

BOOL CZynAppDoc::OnOpenDocument(LPCTSTR /*lpszPathName*/)
{
    if (!OperatorPresent()) {
        ::SetLastError(kErrorNotLoggedOn);
        return FALSE;
    }
    return TRUE;
}

BOOL CZynAppDoc::CanCloseFrame(CFrameWnd* pFrame) { return CanViewsClose(pFrame); }

BOOL CZynAppDoc::SaveModified() { return CanViewsClose(nullptr); }

BOOL CZynAppDoc::CanViewsClose(CFrameWnd* pFrame)
{
    CZynApp* app = CZynApp::GetApp();
    if (app && app->DoingAutoLogout()) {
        SetModifiedFlag(FALSE);
        return TRUE;
    }
    if (!pFrame) {
        for (POSITION pos = GetFirstViewPosition(); pos;) {
            if (ZynAskConfigViewToClose(GetNextView(pos)) == ZynConfigViewAnswer::Refuses)
                return FALSE;
        }
    } else if (ZynAskConfigViewToClose(pFrame->GetActiveView()) == ZynConfigViewAnswer::Refuses) {
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CZynAppDoc::OnFileOpen()
{
    // Swallowed: a configuration document opens no files.
}

void CZynAppDoc::OnFileSave()
{
    // Swallowed: a configuration document has nothing to save.
}
