#pragma once
// CZynAcConfigPage: the configuration page of one kind of access-control object. The
// host derives its pages from it and overrides the operations the configuration view
// drives (acconfig_view.h):
//   permissions  SetPermissions sets the view/add/modify/delete flags from the operator
//                logged in (never from an operator given to the page) when the page's
//                window is made (the base clears them: a page that grants nothing keeps
//                Add, Modify and Delete disabled);
//   buttons      CanAdd, CanModify, CanDelete (the permission, and only while viewing),
//                CanClear (while adding or modifying), CanApply (modify permission while
//                modifying), CanCancel, CanClose, CanMultipleSelect, ShowButtons;
//   the edit     SetState (below), ValidateData, then Add / Modify / Delete when OK is
//                pressed; Cancel and Clear; the status text (ModifyStatusString and the
//                selection count GetSelectedCount).
//
// SetState stores the form state (0 viewing, 2 adding, 3 modifying, 4 deleting) and, for
// any state but viewing, answers whether objects may be edited on this installation's
// database server: a host page bars server types with DisableEditing. The operator's
// server type counts as an enterprise region (4) when its options say it is equivalent
// to one. A barred type is reported (message 11349 naming the server type) and answered
// FALSE, and the view then cancels the edit; the state is stored all the same. Without
// an operator the server type is unknown: the edit is allowed while nothing is barred,
// and refused (reported as on an unknown server type) as soon as anything is.
//
// The first activation of a page enters viewing, except for the first page of a sheet in
// a configuration view, which enters viewing itself when it starts; every activation
// asks the view to update its buttons (WM_ZYN_UPDATEBUTTONS, posted to the sheet's
// parent).
//
// NameExists checks a name for duplicates in the page operator's database (a failure of
// the check counts as "exists", so that nothing is saved).
#include <set>

#include "frames/base_config_page.h"
#include "frames/cfg_form_state.h"
#include "platform/base/cstring.h"

class CZynAcObject;
class CZynAcsCardholderConfig;
class CZynAcsSystemOptions;

class CZynAcConfigPage : public BaseConfigPage {
    DECLARE_DYNCREATE(CZynAcConfigPage)
public:
    // The standard page template (10000), nothing kept.
    CZynAcConfigPage();
    // lValue is kept for the host page (GetValue); the library never reads it. The page ID
    // is 0 until the host sets one (SetID).
    CZynAcConfigPage(UINT nIDTemplate, LONG lValue);
    ~CZynAcConfigPage() override;

    // ---- overridables, in the suite's order (defaults in the comments) -------------------------------------
    virtual void SetPermissions(const CAcsUser& user); // clears the four flags
    virtual int CanView();                             // view permission
    virtual int CanAdd();                              // add permission, viewing
    virtual int CanModify();                           // modify permission, viewing
    virtual int CanDelete();                           // delete permission, viewing
    virtual int CanClear();                            // adding or modifying
    virtual int CanCancel();                           // TRUE
    virtual int CanClose();                            // TRUE
    virtual int CanApply();                            // modify permission, modifying
    virtual bool CanSegmentChange();                   // true
    virtual bool CanMultipleSelect();                  // true
    virtual int ShowButtons();                         // TRUE: Add, Modify, Delete shown
    virtual void ModifyStatusString(CString& text);    // unchanged
    virtual void MultipleSelect(int bMultiple);        // stores the flag
    virtual int GetSelectedCount(LONG& first, LONG& second); // FALSE, untouched
    virtual int SetState(AcCfgFormState state);        // see the top of this file
    virtual int ValidateData();                        // TRUE
    virtual int Add();                                 // TRUE
    virtual int Modify();                              // TRUE
    virtual int Delete();                              // TRUE
    virtual int Apply();                               // TRUE
    virtual int Clear();                               // TRUE
    virtual void Cancel();                             // nothing
    virtual void UpdateButtons();                      // posts WM_ZYN_UPDATEBUTTONS to the view
    // An access-control object to show (the main window's WM_ZYN_SHOWOBJECT through the
    // view): TRUE when the page shows it (the view then makes it the active page); FALSE
    // by default.
    virtual int ShowObject(const CZynAcObject& object);

    ULONG GetHelpID(int nControlID, CPoint& point) override;
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;

    // ---- state and permissions -------------------------------------------------------------------------------
    CAcsUser* GetAcsUser() const { return User(); }
    CZynDatabase* GetDatabase() const { return Database(); }
    bool HasViewPerm() const { return m_bViewPerm; }
    bool HasAddPerm() const { return m_bAddPerm; }
    bool HasModifyPerm() const { return m_bModifyPerm; }
    bool HasDeletePerm() const { return m_bDeletePerm; }
    AcCfgFormState GetState() const { return m_state; }
    bool InEditState() const { return AcCfgIsEditState(m_state); }
    bool InMultiSelect() const { return m_bMultiSelect; }
    LONG GetValue() const { return m_lValue; }

    // ---- the operator's segments and options ---------------------------------------------------------------
    bool SegmentsInUse() const;
    bool SegmentAdmin() const;
    bool UseSegmentColumn() const;
    // The operator's options; the defaults of a fresh installation while nobody is logged
    // in (nothing is segmented, a stand-alone server).
    const CZynAcsSystemOptions& GetSystemOptions() const;
    const CZynAcsCardholderConfig& GetCardholderOptions() const;
    // Empty without an operator or for a segment the operator does not hold.
    CString SegmentName(LONG lSegmentID) const;

    // Bars edits on a server type (ZynDBServerType).
    void DisableEditing(int32_t serverType) { m_nonEditable.insert(serverType); }
    // Presses one of the view's buttons (2 Cancel, 10012 Add, 10013 Modify, 10014
    // Delete) through a posted WM_ZYN_MENUMESSAGE.
    void SimulateButtonPush(UINT nID);

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    // Whether lpszName is in column lpszColumn of table lpszTable (within the segment
    // unless it is -9999, all segments). Without a database, and when the check fails
    // (message 11228), the answer is true. A found name is reported (11355) when
    // bShowMessage is non-zero.
    bool NameExists(const wchar_t* lpszName, const wchar_t* lpszTable, const wchar_t* lpszColumn, LONG lSegmentID,
        int bShowMessage);
    // Whether the operator's server type allows edits (see the top of this file).
    int CanBeEditedOnServerType();

    bool m_bViewPerm = false;
    bool m_bAddPerm = false;
    bool m_bModifyPerm = false;
    bool m_bDeletePerm = false;
    AcCfgFormState m_state = AcCfgStateView;
    LONG m_lValue = 0;
    bool m_bMultiSelect = false;
    bool m_bFirstActivation = true;
    std::set<int32_t> m_nonEditable;

private:
    // The window the page's messages to its view go to: the sheet's parent.
    HWND ViewWindow() const;
};
