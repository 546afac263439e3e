#pragma once
// CZynAppDoc: the one document class of the hosts' configuration views. It holds no data
// of its own: it exists while an operator is logged in (a document, new or "opened",
// refuses to come into being otherwise), it swallows File Open and File Save so that
// they never reach the application's defaults while a configuration screen is active,
// and instead of offering to save changes it asks the configuration views whether they
// may close (a view in an edit state asks the operator).
//
// The modified flag follows the configuration view: a view marks the document modified
// exactly while it is in an edit state, so closing a modified document asks
// SaveModified, whose answer is the views' own.
//
// Which views are configuration views, and what they answer, the document learns
// through config_view_seam.h; any other view never blocks closing. While the
// application logs the operator out automatically every document closes without asking.
#include "platform/afx/doc.h"

class CZynAppDoc : public CDocument {
    DECLARE_DYNCREATE(CZynAppDoc)
public:
    CZynAppDoc() = default;

    // Nothing is stored or loaded.
    void Serialize(CArchive& ar) override;
    // A new document only while an operator with a database is logged in (FALSE with
    // ERROR_NOT_LOGGED_ON otherwise); then the base's answer.
    BOOL OnNewDocument() override;
    // TRUE while an operator with a database is logged in, else FALSE with
    // ERROR_NOT_LOGGED_ON. The path is not read.
    BOOL OnOpenDocument(LPCTSTR lpszPathName) override;
    // Asks the frame's active view (CanViewsClose(frame)).
    BOOL CanCloseFrame(CFrameWnd* pFrame) override;
    // Asks every configuration view (CanViewsClose(nullptr)).
    BOOL SaveModified() override;

    // The last error a refused opening sets.
    static constexpr DWORD kErrorNotLoggedOn = 1245;

protected:
    // During an automatic logout: TRUE at once. Without a frame: every configuration view
    // in order until one refuses. With a frame: its active view alone. An agreement
    // clears the modified flag; a refusal leaves it.
    BOOL CanViewsClose(CFrameWnd* pFrame);

    afx_msg void OnFileOpen();
    afx_msg void OnFileSave();

    DECLARE_MESSAGE_MAP()

private:
    static bool OperatorPresent();
};
