// Document templates and the application's document manager.
#include "platform/afx/doctempl.h"

#include <vector>

#include "platform/afx/doc.h"
#include "platform/afx/doc_context.h"
#include "platform/afx/frame.h"
#include "platform/afx/view.h"
#include "platform/afx/winapp.h"
#include "platform/base/resource.h"
#include "platform/base/tchar.h"
#include "platform/user/accel.h"
#include "platform/user/menu.h"
#include "platform/user/modal.h"
#include "platform/user/msgbox.h"
#include "platform/user/winuser.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

// ==== CDocTemplate ==============================================================================

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
    CRuntimeClass* pViewClass)
    : m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass), m_nIDResource(nIDResource)
{
}

CDocTemplate::~CDocTemplate() = default;

void CDocTemplate::LoadTemplate()
{
    if (m_bLoaded)
        return;
    m_bLoaded = TRUE;
    if (m_strDocStrings.IsEmpty() && m_nIDResource)
        m_strDocStrings.LoadString(m_nIDResource);   // no string: the fields are empty
}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const
{
    rString.Empty();
    const std::wstring all = m_strDocStrings.GetString();
    size_t start = 0;
    for (int i = 0; i < static_cast<int>(index); ++i) {
        const size_t nl = all.find(L'\n', start);
        if (nl == std::wstring::npos)
            return FALSE;
        start = nl + 1;
    }
    const size_t end = all.find(L'\n', start);
    rString = all.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start).c_str();
    return !rString.IsEmpty();
}

void CDocTemplate::AddDocument(CDocument* pDoc)
{
    if (pDoc)
        pDoc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* pDoc)
{
    if (pDoc && pDoc->m_pDocTemplate == this)
        pDoc->m_pDocTemplate = nullptr;
}

CDocument* CDocTemplate::CreateNewDocument()
{
    CObject* pObject = m_pDocClass ? m_pDocClass->CreateObject() : nullptr;
    if (!pObject || !pObject->IsKindOf(RUNTIME_CLASS(CDocument))) {
        delete pObject;
        AfxMessageBox(L"The document could not be created.", MB_ICONEXCLAMATION);
        return nullptr;
    }
    auto* pDoc = static_cast<CDocument*>(pObject);
    AddDocument(pDoc);
    return pDoc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther)
{
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    CObject* pObject = m_pFrameClass ? m_pFrameClass->CreateObject() : nullptr;
    if (!pObject || !pObject->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
        delete pObject;
        return nullptr;
    }
    auto* pFrame = static_cast<CFrameWnd*>(pObject);
    // A failed LoadFrame has deleted the frame.
    if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return nullptr;
    return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible)
{
    if (pFrame)
        pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

BOOL CDocTemplate::SaveAllModified()
{
    POSITION pos = GetFirstDocPosition();
    while (pos) {
        CDocument* pDoc = GetNextDoc(pos);
        if (!pDoc->SaveModified())
            return FALSE;
    }
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL /*bEndSession*/)
{
    // Closing a document removes it from the list: take the list first.
    std::vector<CDocument*> docs;
    POSITION pos = GetFirstDocPosition();
    while (pos)
        docs.push_back(GetNextDoc(pos));
    for (CDocument* pDoc : docs)
        pDoc->OnCloseDocument();
}

void CDocTemplate::OnIdle() {}

// ==== CMultiDocTemplate =========================================================================

CMultiDocTemplate::CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
    CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass)
{
}

CMultiDocTemplate::~CMultiDocTemplate()
{
    // Documents still open forget their template.
    while (!m_docList.IsEmpty()) {
        auto* pDoc = static_cast<CDocument*>(m_docList.RemoveHead());
        CDocTemplate::RemoveDocument(pDoc);
    }
    if (m_hMenuShared && ::IsMenu(m_hMenuShared))
        ::DestroyMenu(m_hMenuShared);
    if (m_hAccelTable)
        ::DestroyAcceleratorTable(m_hAccelTable);
}

void CMultiDocTemplate::LoadTemplate()
{
    const BOOL wasLoaded = m_bLoaded;
    CDocTemplate::LoadTemplate();
    if (wasLoaded || !m_nIDResource)
        return;
    const HINSTANCE hInst = AfxGetResourceHandle();
    if (!m_hMenuShared)
        m_hMenuShared = ::LoadMenuW(hInst, MAKEINTRESOURCEW(m_nIDResource));
    if (!m_hAccelTable)
        m_hAccelTable = ::LoadAcceleratorsW(hInst, MAKEINTRESOURCEW(m_nIDResource));
}

POSITION CMultiDocTemplate::GetFirstDocPosition() const { return m_docList.GetHeadPosition(); }

CDocument* CMultiDocTemplate::GetNextDoc(POSITION& rPos) const
{
    return rPos ? static_cast<CDocument*>(m_docList.GetNext(rPos)) : nullptr;
}

void CMultiDocTemplate::AddDocument(CDocument* pDoc)
{
    if (!pDoc || m_docList.Find(pDoc))
        return;
    CDocTemplate::AddDocument(pDoc);
    m_docList.AddTail(pDoc);
}

void CMultiDocTemplate::RemoveDocument(CDocument* pDoc)
{
    if (POSITION pos = m_docList.Find(pDoc))
        m_docList.RemoveAt(pos);
    CDocTemplate::RemoveDocument(pDoc);
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* pDocument)
{
    CString title;
    if (!GetDocString(title, docName) || title.IsEmpty())
        title = L"Untitled";
    title += std::to_wstring(m_nUntitledCount + 1).c_str();
    pDocument->SetTitle(title);
}

CDocument* CMultiDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible)
{
    CDocument* pDoc = CreateNewDocument();
    if (!pDoc)
        return nullptr;
    // The document must survive a failure in the middle of making its frame.
    const BOOL bAutoDelete = pDoc->m_bAutoDelete;
    pDoc->m_bAutoDelete = FALSE;
    CFrameWnd* pFrame = CreateNewFrame(pDoc, nullptr);
    pDoc->m_bAutoDelete = bAutoDelete;
    if (!pFrame) {
        AfxMessageBox(L"The document window could not be created.", MB_ICONEXCLAMATION);
        delete pDoc;
        return nullptr;
    }
    if (!lpszPathName) {
        SetDefaultTitle(pDoc);
        if (!pDoc->OnNewDocument()) {
            pFrame->DestroyWindow();   // takes an auto-delete document with it
            return nullptr;
        }
        ++m_nUntitledCount;
    } else {
        if (!pDoc->OnOpenDocument(lpszPathName)) {
            pFrame->DestroyWindow();
            return nullptr;
        }
        pDoc->SetPathName(lpszPathName);
    }
    InitialUpdateFrame(pFrame, pDoc, bMakeVisible);
    return pDoc;
}

// ==== CSingleDocTemplate ========================================================================

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
    CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass)
{
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    if (m_pOnlyDoc)
        CDocTemplate::RemoveDocument(m_pOnlyDoc);
    m_pOnlyDoc = nullptr;
}

POSITION CSingleDocTemplate::GetFirstDocPosition() const
{
    return m_pOnlyDoc ? reinterpret_cast<POSITION>(static_cast<UINT_PTR>(1)) : nullptr;
}

CDocument* CSingleDocTemplate::GetNextDoc(POSITION& rPos) const
{
    CDocument* pDoc = rPos ? m_pOnlyDoc : nullptr;
    rPos = nullptr;
    return pDoc;
}

void CSingleDocTemplate::AddDocument(CDocument* pDoc)
{
    if (!pDoc || m_pOnlyDoc == pDoc)
        return;
    if (m_pOnlyDoc)   // one document only: this is a programming error
        AfxThrowNotSupportedException(L"a single-document template already has its document");
    CDocTemplate::AddDocument(pDoc);
    m_pOnlyDoc = pDoc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc)
{
    if (pDoc && pDoc == m_pOnlyDoc)
        m_pOnlyDoc = nullptr;
    CDocTemplate::RemoveDocument(pDoc);
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* pDocument)
{
    CString title;
    if (!GetDocString(title, docName) || title.IsEmpty())
        title = L"Untitled";
    pDocument->SetTitle(title);
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible)
{
    CDocument* pDoc = nullptr;
    CFrameWnd* pFrame = nullptr;
    BOOL bCreated = FALSE;
    if (m_pOnlyDoc) {
        pDoc = m_pOnlyDoc;
        if (!pDoc->SaveModified())
            return nullptr;   // the user kept the changes
        POSITION pos = pDoc->GetFirstViewPosition();
        if (CView* pView = pDoc->GetNextView(pos))
            pFrame = pView->GetParentFrame();
    } else {
        pDoc = CreateNewDocument();
        if (!pDoc)
            return nullptr;
        bCreated = TRUE;
    }
    if (!pFrame) {
        const BOOL bAutoDelete = pDoc->m_bAutoDelete;
        pDoc->m_bAutoDelete = FALSE;
        pFrame = CreateNewFrame(pDoc, nullptr);
        pDoc->m_bAutoDelete = bAutoDelete;
        if (!pFrame) {
            AfxMessageBox(L"The document window could not be created.", MB_ICONEXCLAMATION);
            if (bCreated)
                delete pDoc;
            return nullptr;
        }
    }
    if (!lpszPathName) {
        SetDefaultTitle(pDoc);
        if (!pDoc->OnNewDocument()) {
            if (bCreated)
                pFrame->DestroyWindow();
            return nullptr;
        }
    } else {
        const BOOL bWasModified = pDoc->IsModified();
        pDoc->SetModifiedFlag(FALSE);
        if (!pDoc->OnOpenDocument(lpszPathName)) {
            if (bCreated) {
                pFrame->DestroyWindow();
            } else if (!pDoc->IsModified()) {
                pDoc->SetModifiedFlag(bWasModified);   // the old contents are untouched
            } else {
                SetDefaultTitle(pDoc);   // the old contents are gone: an empty document
                pDoc->OnNewDocument();
            }
            return nullptr;
        }
        pDoc->SetPathName(lpszPathName);
    }
    if (CWinApp* pApp = AfxGetApp(); bCreated && pApp && !pApp->m_pMainWnd)
        pApp->m_pMainWnd = pFrame;
    InitialUpdateFrame(pFrame, pDoc, bMakeVisible);
    return pDoc;
}

// ==== CDocManager ===============================================================================

CDocManager::~CDocManager()
{
    while (!m_templateList.IsEmpty()) {
        auto* pTemplate = static_cast<CDocTemplate*>(m_templateList.RemoveHead());
        if (pTemplate->m_bAutoDelete)
            delete pTemplate;
    }
}

void CDocManager::AddDocTemplate(CDocTemplate* pTemplate)
{
    if (!pTemplate || m_templateList.Find(pTemplate))
        return;
    pTemplate->LoadTemplate();
    m_templateList.AddTail(pTemplate);
}

POSITION CDocManager::GetFirstDocTemplatePosition() const { return m_templateList.GetHeadPosition(); }

CDocTemplate* CDocManager::GetNextDocTemplate(POSITION& pos) const
{
    return pos ? static_cast<CDocTemplate*>(m_templateList.GetNext(pos)) : nullptr;
}

BOOL CDocManager::SaveAllModified()
{
    for (POSITION pos = GetFirstDocTemplatePosition(); pos;)
        if (!GetNextDocTemplate(pos)->SaveAllModified())
            return FALSE;
    return TRUE;
}

void CDocManager::CloseAllDocuments(BOOL bEndSession)
{
    for (POSITION pos = GetFirstDocTemplatePosition(); pos;)
        GetNextDocTemplate(pos)->CloseAllDocuments(bEndSession);
}

int CDocManager::GetOpenDocumentCount()
{
    int n = 0;
    for (POSITION pos = GetFirstDocTemplatePosition(); pos;) {
        CDocTemplate* pTemplate = GetNextDocTemplate(pos);
        for (POSITION dp = pTemplate->GetFirstDocPosition(); dp; pTemplate->GetNextDoc(dp))
            ++n;
    }
    return n;
}

void CDocManager::OnFileNew()
{
    POSITION pos = GetFirstDocTemplatePosition();
    CDocTemplate* pTemplate = GetNextDocTemplate(pos);
    if (!pTemplate) {
        AfxMessageBox(L"No document type is registered.", MB_ICONEXCLAMATION);
        return;
    }
    pTemplate->OpenDocumentFile(nullptr);
}

void CDocManager::OnFileOpen()
{
    auto answer = zyn::user::AnswerScript::Take(zyn::user::AnswerKind::FileDialog);
    zyn::user::ShownRecord rec;
    rec.kind = zyn::user::AnswerKind::FileDialog;
    rec.text = L"Open";
    rec.scripted = answer.has_value();
    rec.result = answer ? answer->code : IDCANCEL;
    zyn::user::AnswerScript::Record(rec);
    if (!answer || answer->code == IDCANCEL || answer->text.empty())
        return;
    OpenDocumentFile(answer->text.c_str());
}

CDocument* CDocManager::OpenDocumentFile(LPCTSTR lpszFileName)
{
    if (!lpszFileName || !*lpszFileName)
        return nullptr;
    const std::wstring path = lpszFileName;
    CDocTemplate* pBest = nullptr;
    const size_t dot = path.find_last_of(L'.');
    const std::wstring ext = dot == std::wstring::npos ? std::wstring() : path.substr(dot);
    for (POSITION pos = GetFirstDocTemplatePosition(); pos;) {
        CDocTemplate* pTemplate = GetNextDocTemplate(pos);
        // A document of that file already open is brought forward.
        for (POSITION dp = pTemplate->GetFirstDocPosition(); dp;) {
            CDocument* pDoc = pTemplate->GetNextDoc(dp);
            if (pDoc->GetPathName() == lpszFileName) {
                POSITION vp = pDoc->GetFirstViewPosition();
                if (CView* pView = pDoc->GetNextView(vp))
                    if (CFrameWnd* pFrame = pView->GetParentFrame())
                        pFrame->ActivateFrame();
                return pDoc;
            }
        }
        CString filterExt;
        if (!pBest && !ext.empty() && pTemplate->GetDocString(filterExt, CDocTemplate::filterExt) &&
            _wcsicmp(filterExt, ext.c_str()) == 0)
            pBest = pTemplate;
    }
    if (!pBest) {
        POSITION pos = GetFirstDocTemplatePosition();
        pBest = GetNextDocTemplate(pos);
    }
    if (!pBest) {
        AfxMessageBox(L"No document type is registered.", MB_ICONEXCLAMATION);
        return nullptr;
    }
    return pBest->OpenDocumentFile(lpszFileName);
}

void CDocManager::OnIdle()
{
    for (POSITION pos = GetFirstDocTemplatePosition(); pos;)
        GetNextDocTemplate(pos)->OnIdle();
}

// ---- the document layer's part of CWinApp ----------------------------------------------------------------------

namespace {

CDocManager& ManagerOf(CWinApp& app)
{
    if (!app.m_pDocManager)
        app.m_pDocManager = new CDocManager;   // owned by the application (destroyDocManager)
    return *app.m_pDocManager;
}

const CDocManager* ManagerOf(const CWinApp& app) { return app.m_pDocManager; }

struct InstallDocManagerOps {
    InstallDocManagerOps()
    {
        zyn::afx::DocManagerOps ops;
        ops.addDocTemplate = [](CWinApp& app, CDocTemplate* p) { ManagerOf(app).AddDocTemplate(p); };
        ops.getFirstDocTemplatePosition = [](const CWinApp& app) -> POSITION {
            const CDocManager* m = ManagerOf(app);
            return m ? m->GetFirstDocTemplatePosition() : nullptr;
        };
        ops.getNextDocTemplate = [](const CWinApp& app, POSITION& pos) -> CDocTemplate* {
            const CDocManager* m = ManagerOf(app);
            return m ? m->GetNextDocTemplate(pos) : nullptr;
        };
        ops.saveAllModified = [](CWinApp& app) { return ManagerOf(app).SaveAllModified(); };
        ops.closeAllDocuments = [](CWinApp& app, BOOL b) { ManagerOf(app).CloseAllDocuments(b); };
        ops.getOpenDocumentCount = [](CWinApp& app) { return ManagerOf(app).GetOpenDocumentCount(); };
        ops.onFileNew = [](CWinApp& app) { ManagerOf(app).OnFileNew(); };
        ops.onFileOpen = [](CWinApp& app) { ManagerOf(app).OnFileOpen(); };
        ops.openDocumentFile = [](CWinApp& app, LPCTSTR f) { return ManagerOf(app).OpenDocumentFile(f); };
        ops.onIdle = [](CWinApp& app) { ManagerOf(app).OnIdle(); };
        ops.destroyDocManager = [](CWinApp& app) {
            delete app.m_pDocManager;
            app.m_pDocManager = nullptr;
        };
        zyn::afx::SetDocManagerOps(ops);
    }
};
const InstallDocManagerOps g_installDocManagerOps;

} // namespace
