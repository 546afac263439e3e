#pragma once
// Document templates: each ties a document class, a frame class and a view class to one
// resource ID (the menu, accelerators and the document strings
// "window title\ndoc name\nfile new name\nfilter\nextension\ntype id\ntype name").
// OpenDocumentFile creates a document, then a frame (which makes the view through a
// CCreateContext), loads or initialises the document, and shows the frame.
//
// CMultiDocTemplate keeps any number of documents, each in its own MDI child frame;
// CSingleDocTemplate keeps one document and reuses it (and its frame) for each new or
// opened file.
#include "platform/afx/cmdtarget.h"
#include "platform/base/coll_list.h"
#include "platform/base/cstring.h"

class CDocument;
class CFrameWnd;
struct CRuntimeClass;

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    ~CDocTemplate() override;

    enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };
    // FALSE (with rString empty) when the field is empty or absent.
    virtual BOOL GetDocString(CString& rString, DocStringIndex index) const;
    // Loads the strings (and, for MDI, the shared menu and accelerators).
    virtual void LoadTemplate();

    virtual POSITION GetFirstDocPosition() const = 0;
    virtual CDocument* GetNextDoc(POSITION& rPos) const = 0;
    virtual void AddDocument(CDocument* pDoc);
    virtual void RemoveDocument(CDocument* pDoc);

    // The new document, added to the template; null (with an error box) when the class
    // cannot be created.
    virtual CDocument* CreateNewDocument();
    // A frame of the template's frame class with its view for pDoc; null on failure
    // (the frame is cleaned up).
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);
    // lpszPathName null: a new document (OnNewDocument); else the file is opened.
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    virtual void SetDefaultTitle(CDocument* pDocument) = 0;
    virtual void OnIdle();

    UINT GetResourceID() const { return m_nIDResource; }

    BOOL m_bAutoDelete = TRUE;       // the application's document manager deletes it
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;

protected:
    CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass);

    UINT m_nIDResource;
    CString m_strDocStrings;
    BOOL m_bLoaded = FALSE;
};

class CMultiDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CMultiDocTemplate)
public:
    CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
        CRuntimeClass* pViewClass);
    // Destroys the shared menu and accelerators.
    ~CMultiDocTemplate() override;

    void LoadTemplate() override;
    POSITION GetFirstDocPosition() const override;
    CDocument* GetNextDoc(POSITION& rPos) const override;
    void AddDocument(CDocument* pDoc) override;
    void RemoveDocument(CDocument* pDoc) override;
    CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    // "<doc name><n>", n counting up from 1 per template.
    void SetDefaultTitle(CDocument* pDocument) override;

    HMENU m_hMenuShared = nullptr;
    HACCEL m_hAccelTable = nullptr;

protected:
    CPtrList m_docList;
    UINT m_nUntitledCount = 0;
};

class CSingleDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CSingleDocTemplate)
public:
    CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
        CRuntimeClass* pViewClass);
    ~CSingleDocTemplate() override;

    POSITION GetFirstDocPosition() const override;
    CDocument* GetNextDoc(POSITION& rPos) const override;
    void AddDocument(CDocument* pDoc) override;
    void RemoveDocument(CDocument* pDoc) override;
    // The one document is reused: its changes are saved (or the call answers null when
    // the user cancels), it is emptied and reloaded; its frame stays.
    CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    void SetDefaultTitle(CDocument* pDocument) override;

protected:
    CDocument* m_pOnlyDoc = nullptr;
};

// The application's templates (CWinApp::m_pDocManager): installed into CWinApp at load.
class CDocManager {
public:
    CDocManager() = default;
    // Deletes the templates whose m_bAutoDelete is set.
    ~CDocManager();
    CDocManager(const CDocManager&) = delete;
    CDocManager& operator=(const CDocManager&) = delete;

    void AddDocTemplate(CDocTemplate* pTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
    BOOL SaveAllModified();
    void CloseAllDocuments(BOOL bEndSession);
    int GetOpenDocumentCount();
    // With one template, a new document of it; with none, nothing (an error box).
    void OnFileNew();
    // The file dialog's answer, then OpenDocumentFile.
    void OnFileOpen();
    // An open document of that path is activated; else the first template opens it.
    CDocument* OpenDocumentFile(LPCTSTR lpszFileName);
    void OnIdle();

private:
    CPtrList m_templateList;
};
