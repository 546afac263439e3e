#pragma once
// CDocument: the data a set of views shows. A document knows its views (AddView /
// RemoveView, normally done by the views as they are created and destroyed), its
// template, its title and path, and whether it has unsaved changes. Commands are routed
// to it by its active view (view -> document -> frame -> application); the document
// passes them on to its template.
//
// Closing: SaveModified asks the user (a message box: Yes saves, No discards, Cancel
// keeps the document open); OnCloseDocument destroys every frame showing the document
// and, when m_bAutoDelete is set, deletes the document.
#include "platform/afx/cmdtarget.h"
#include "platform/base/coll_list.h"
#include "platform/base/cstring.h"

class CArchive;
class CDocTemplate;
class CFrameWnd;
class CView;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument();
    // Views still attached lose their document (they do not outlive it in normal use).
    ~CDocument() override;

    // ---- attributes -----------------------------------------------------------------------------
    const CString& GetTitle() const { return m_strTitle; }
    // Also retitles the frames showing the document.
    virtual void SetTitle(LPCTSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    // The title becomes the file's name.
    virtual void SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU = TRUE);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    virtual BOOL IsModified();
    virtual void SetModifiedFlag(BOOL bModified = TRUE);
    // The menu a frame shows while this document is its active one (a document may offer
    // one by its state); null, the default, leaves the frame's own.
    virtual HMENU GetDefaultMenu() { return nullptr; }

    // ---- views ------------------------------------------------------------------------------------
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    virtual POSITION GetFirstViewPosition() const;
    virtual CView* GetNextView(POSITION& rPosition) const;
    // Calls OnUpdate of every view but pSender.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);
    // Called after a view was added or removed: the last view gone closes an auto-delete
    // document.
    virtual void OnChangedViewList();
    // Every frame showing a view of the document gets its title updated.
    virtual void UpdateFrameCounts();

    // ---- life ---------------------------------------------------------------------------------------------
    virtual void DeleteContents();
    virtual BOOL OnNewDocument();
    // Reads the file through Serialize (a CArchive in load mode); FALSE, with the
    // document emptied and an error box shown, when the file cannot be read.
    virtual BOOL OnOpenDocument(LPCTSTR lpszPathName);
    // Writes through Serialize; FALSE with an error box when the file cannot be written
    // (the document stays modified).
    virtual BOOL OnSaveDocument(LPCTSTR lpszPathName);
    virtual void OnCloseDocument();
    // Whether the frame may close: TRUE when another frame still shows the document,
    // else SaveModified's answer.
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
    // Asks whether to save a modified document. FALSE when the user cancelled or the save
    // failed.
    virtual BOOL SaveModified();
    virtual void PreCloseFrame(CFrameWnd* pFrame);
    // Saves under lpszPathName, or asks for a name (the file dialog's answer) when it is
    // null; bReplace makes the name the document's.
    virtual BOOL DoSave(LPCTSTR lpszPathName, BOOL bReplace = TRUE);
    virtual BOOL DoFileSave();
    virtual void ReportSaveLoadException(LPCTSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    BOOL m_bAutoDelete = TRUE;   // deleted when its last view goes / when closed
    BOOL m_bEmbedded = FALSE;

    afx_msg void OnFileClose();
    afx_msg void OnFileSave();
    afx_msg void OnFileSaveAs();

protected:
    CString m_strTitle;
    CString m_strPathName;
    CDocTemplate* m_pDocTemplate = nullptr;
    CPtrList m_viewList;
    BOOL m_bModified = FALSE;
    BOOL m_bClosing = FALSE;

    friend class CDocTemplate;

    DECLARE_MESSAGE_MAP()
};
