// CDocument: views, titles, the modified flag, loading and saving, closing.
#include "platform/afx/doc.h"

#include "platform/afx/afxres.h"
#include "platform/afx/doctempl.h"
#include "platform/afx/frame.h"
#include "platform/afx/msgmap_wnd.h"
#include "platform/afx/view.h"
#include "platform/afx/winapp.h"
#include "platform/base/archive.h"
#include "platform/base/exception.h"
#include "platform/base/file.h"
#include "platform/user/modal.h"
#include "platform/user/msgbox.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
    ON_COMMAND(ID_FILE_CLOSE, &CDocument::OnFileClose)
    ON_COMMAND(ID_FILE_SAVE, &CDocument::OnFileSave)
    ON_COMMAND(ID_FILE_SAVE_AS, &CDocument::OnFileSaveAs)
END_MESSAGE_MAP()

CDocument::CDocument() = default;

CDocument::~CDocument()
{
    // Views outliving their document must not reach it.
    POSITION pos = GetFirstViewPosition();
    while (pos) {
        CView* pView = GetNextView(pos);
        pView->m_pDocument = nullptr;
    }
    m_viewList.RemoveAll();
    if (m_pDocTemplate)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCTSTR lpszTitle)
{
    m_strTitle = lpszTitle ? lpszTitle : L"";
    UpdateFrameCounts();
}

void CDocument::SetPathName(LPCTSTR lpszPathName, BOOL /*bAddToMRU*/)
{
    m_strPathName = lpszPathName ? lpszPathName : L"";
    // The title is the file's name without its folder.
    const std::wstring path = m_strPathName.GetString();
    const size_t slash = path.find_last_of(L"/\\");
    SetTitle(slash == std::wstring::npos ? path.c_str() : path.substr(slash + 1).c_str());
}

BOOL CDocument::IsModified() { return m_bModified; }
void CDocument::SetModifiedFlag(BOOL bModified) { m_bModified = bModified; }

void CDocument::AddView(CView* pView)
{
    if (!pView || pView->m_pDocument == this)
        return;
    if (pView->m_pDocument)   // a view shows one document
        pView->m_pDocument->RemoveView(pView);
    m_viewList.AddTail(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView)
{
    if (!pView || pView->m_pDocument != this)
        return;
    if (POSITION pos = m_viewList.Find(pView))
        m_viewList.RemoveAt(pos);
    pView->m_pDocument = nullptr;
    OnChangedViewList();
}

POSITION CDocument::GetFirstViewPosition() const { return m_viewList.GetHeadPosition(); }

CView* CDocument::GetNextView(POSITION& rPosition) const
{
    if (!rPosition)
        return nullptr;
    return static_cast<CView*>(m_viewList.GetNext(rPosition));
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint)
{
    POSITION pos = GetFirstViewPosition();
    while (pos) {
        CView* pView = GetNextView(pos);
        if (pView != pSender)
            pView->OnUpdate(pSender, lHint, pHint);
    }
}

void CDocument::OnChangedViewList()
{
    if (m_viewList.IsEmpty() && m_bAutoDelete && !m_bClosing) {
        OnCloseDocument();
        return;
    }
    UpdateFrameCounts();
}

void CDocument::UpdateFrameCounts()
{
    // Number the frames showing the document when there are several ("Doc:1", "Doc:2").
    CPtrList frames;
    POSITION pos = GetFirstViewPosition();
    while (pos) {
        CView* pView = GetNextView(pos);
        if (!pView->m_hWnd || !pView->IsWindowVisible())
            continue;
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame && !frames.Find(pFrame))
            frames.AddTail(pFrame);
    }
    const int n = static_cast<int>(frames.GetCount());
    int i = 1;
    for (POSITION fp = frames.GetHeadPosition(); fp;) {
        auto* pFrame = static_cast<CFrameWnd*>(frames.GetNext(fp));
        pFrame->m_nWindow = n > 1 ? i++ : -1;
        pFrame->OnUpdateFrameTitle(TRUE);
    }
}

void CDocument::DeleteContents() {}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::ReportSaveLoadException(LPCTSTR lpszPathName, CException* e, BOOL bSaving, UINT /*nIDPDefault*/)
{
    CString text = bSaving ? L"The document could not be saved to \"" : L"The document could not be opened from \"";
    text += lpszPathName ? lpszPathName : L"";
    text += L"\".";
    if (e) {
        const CString why = e->GetMessageText();
        if (!why.IsEmpty()) {
            text += L"\n";
            text += why;
        }
    }
    AfxMessageBox(text, MB_ICONEXCLAMATION);
}

BOOL CDocument::OnOpenDocument(LPCTSTR lpszPathName)
{
    CFile file;
    CFileException fe;
    if (!lpszPathName || !file.Open(lpszPathName, CFile::modeRead | CFile::shareDenyWrite, &fe)) {
        ReportSaveLoadException(lpszPathName, &fe, FALSE, 0);
        return FALSE;
    }
    DeleteContents();
    SetModifiedFlag();   // a failed load leaves a document that must not be taken as saved
    try {
        CArchive ar(&file, CArchive::load | CArchive::bNoFlushOnDelete);
        Serialize(ar);
        ar.Close();
    } catch (CException* e) {
        ReportSaveLoadException(lpszPathName, e, FALSE, 0);
        e->Delete();
        DeleteContents();
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCTSTR lpszPathName)
{
    CFile file;
    CFileException fe;
    if (!lpszPathName ||
        !file.Open(lpszPathName, CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive, &fe)) {
        ReportSaveLoadException(lpszPathName, &fe, TRUE, 0);
        return FALSE;
    }
    try {
        CArchive ar(&file, CArchive::store | CArchive::bNoFlushOnDelete);
        Serialize(ar);
        ar.Close();
        file.Close();
    } catch (CException* e) {
        ReportSaveLoadException(lpszPathName, e, TRUE, 0);
        e->Delete();
        return FALSE;   // still modified: nothing was lost
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    if (m_bClosing)
        return;
    // Destroying the frames destroys the views, which leave the document: keep it alive
    // until all of them are gone.
    const BOOL bAutoDelete = m_bAutoDelete;
    m_bClosing = TRUE;
    for (;;) {
        POSITION pos = GetFirstViewPosition();
        if (!pos)
            break;
        CView* pView = GetNextView(pos);
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame) {
            PreCloseFrame(pFrame);
            pFrame->DestroyWindow();
        } else {
            pView->DestroyWindow();
        }
        POSITION first = GetFirstViewPosition();
        if (first && GetNextView(first) == pView)
            RemoveView(pView);   // a view that stayed is dropped, so the loop ends
    }
    m_bClosing = FALSE;
    DeleteContents();
    if (bAutoDelete)
        delete this;
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrameArg)
{
    POSITION pos = GetFirstViewPosition();
    while (pos) {
        CView* pView = GetNextView(pos);
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame && pFrame != pFrameArg)
            return TRUE;   // another frame still shows the document
    }
    return SaveModified();
}

BOOL CDocument::SaveModified()
{
    if (!IsModified())
        return TRUE;
    CString name = m_strPathName;
    if (name.IsEmpty())
        name = m_strTitle;
    if (name.IsEmpty())
        name = L"Untitled";
    CString prompt = L"Save changes to ";
    prompt += name;
    prompt += L"?";
    switch (AfxMessageBox(prompt, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDCANCEL:
    case 0:        // no box could be shown: keep the document
        return FALSE;
    case IDYES:
        return DoFileSave();
    default:       // IDNO: discard the changes
        return TRUE;
    }
}

void CDocument::PreCloseFrame(CFrameWnd* /*pFrame*/) {}

BOOL CDocument::DoSave(LPCTSTR lpszPathName, BOOL bReplace)
{
    CString path = lpszPathName ? lpszPathName : L"";
    if (path.IsEmpty()) {
        // The save-as dialog: its answer comes from the answer script.
        auto answer = zyn::user::AnswerScript::Take(zyn::user::AnswerKind::FileDialog);
        zyn::user::ShownRecord rec;
        rec.kind = zyn::user::AnswerKind::FileDialog;
        rec.text = L"Save As";
        rec.scripted = answer.has_value();
        rec.result = answer ? answer->code : IDCANCEL;
        zyn::user::AnswerScript::Record(rec);
        if (!answer || answer->code == IDCANCEL || answer->text.empty())
            return FALSE;
        path = answer->text.c_str();
    }
    if (!OnSaveDocument(path))
        return FALSE;
    if (bReplace)
        SetPathName(path);
    return TRUE;
}

BOOL CDocument::DoFileSave()
{
    return DoSave(m_strPathName.IsEmpty() ? nullptr : m_strPathName.GetString());
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CDocument::OnFileClose()
{
    if (!SaveModified())
        return;
    OnCloseDocument();
}

void CDocument::OnFileSave() { DoFileSave(); }
void CDocument::OnFileSaveAs() { DoSave(nullptr); }
