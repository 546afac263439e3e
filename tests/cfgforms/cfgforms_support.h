#pragma once
// The host of the configuration-framework tests: an application of the suite with an MDI
// main window that records the configuration messages it receives, the configuration
// document and child frame, and a configuration view registered for doors whose pages
// the test chooses. The pages:
//   DoorPage   a list of doors on the left and a sub-form (DoorForm, a UI component) on the
//              right with a name and a number (validated: at most 20 characters, 1..9999),
//              two check boxes and a drop-down list. With a database it keeps its doors in
//              TEST_DOOR, checks names for duplicates, writes an audit row per change and
//              tells the main window (2027, 2045); without one it keeps them in memory.
//   ZonePage   an edit and a check box; every permission.
//   KnobPage   a page whose answers the test sets (show buttons, refuse states, fail
//              validation or the operation) and which records what the view asked.
//
// The fixture resets the window system per case, runs scripted on the virtual clock, and
// checks at the end that no window, window object, GDI object, DC or page is left.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/zyn_app.h"
#include "frames/acconfig_page.h"
#include "frames/acconfig_view.h"
#include "frames/cfg_message.h"
#include "frames/ui_component.h"
#include "frames/zyn_app_doc.h"
#include "frames/zyn_child_frame.h"
#include "platform/afx/afxwin.h"
#include "platform/afx/doc.h"
#include "platform/afx/doctempl.h"
#include "platform/afx/frame.h"
#include "platform/afx/listctrl.h"
#include "platform/afx/mdi.h"
#include "platform/comctl/tabctrl.h"
#include "platform/user/button.h"
#include "platform/user/edit.h"
#include "platform/user/msgbox.h"
#include "platform/user/vkeys.h"
#include "platform/user/winuser.h"
#include "platform/suite/database/zyn_database.h"
#include "platform/suite/user/acs_user.h"
#include "tests/cfgforms/cfgforms_ids.h"

namespace zyn::test {

// Permissions of the door screen and the object type it shows.
inline constexpr LONG kPermDoorView = 101, kPermDoorAdd = 102, kPermDoorModify = 103, kPermDoorDelete = 104;
inline constexpr int kTypeDoor = 2;
inline constexpr LONG kDoorObjectType = 7;
inline constexpr UINT kDoorViewCommand = 56001;
inline constexpr LONG kDoorPageID = 1, kZonePageID = 2, kKnobPageID = 3;

// What the test classes saw, in order.
struct CfgTrace {
    static std::vector<std::wstring>& Log();
    static void Add(const std::wstring& s) { Log().push_back(s); }
    static void Clear() { Log().clear(); }
};

// A configuration message the main window received.
struct MainMessage {
    UINT message;
    WPARAM wParam;
    LONG type, value, id;
    std::wstring text;
};

class TestMainFrame : public CMDIFrameWnd {
public:
    std::vector<MainMessage> received;
    std::vector<std::wstring> statusTexts;

protected:
    afx_msg LRESULT OnPanelDrivers(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUpdateApp(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnStatusText(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

struct Door {
    LONG id = 0;
    CString name;
    int number = 1;
    int enabled = 0;
    int alarm = 0;
    int kind = 0;
};

class DoorForm : public CUIComponent {
public:
    explicit DoorForm(CWnd* pParent) : CUIComponent(IDD_DOOR_FORM, pParent) {}
    BOOL ValidateData() override { return UpdateData(TRUE); }
    void Clear() override;
    void Load(const Door& door);
    // The fields as an edit would store them.
    Door Fields() const;
    // Enables the fields while an edit is open.
    void EnableFields(bool enable);

    CString m_name;
    int m_number = 1;
    int m_enabled = 0;
    int m_alarm = 0;
    int m_kind = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

class DoorPage : public CZynAcConfigPage {
    DECLARE_DYNAMIC(DoorPage)
public:
    DoorPage();
    ~DoorPage() override;

    void SetPermissions(const CAcsUser& user) override;
    int CanModify() override;
    int CanDelete() override;
    int SetState(AcCfgFormState state) override;
    int ValidateData() override;
    int Add() override;
    int Modify() override;
    int Delete() override;
    int Clear() override;
    void Cancel() override;
    int GetSelectedCount(LONG& first, LONG& second) override;
    void UpdateCfg(LONG lHint, const CfgMessage* pMsg) override;
    int ShowObject(const CZynAcObject& object) override;
    ULONG GetHelpID(int nControlID, CPoint& point) override;
    BOOL OnInitDialog() override;
    using CZynAcConfigPage::NameExists;

    // Doors known before the page is shown without a database.
    static std::vector<Door>& Preset();
    static int& LiveCount();

    CListCtrl m_list;
    DoorForm m_form;
    CWnd* m_pForm = nullptr;
    std::vector<Door> m_doors;
    int m_selected = -1;
    std::vector<LONG> m_cfgHints;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg void OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    void Reload();
    void Select(int index);
    // Writes the audit row and tells the main window.
    void Announce(LONG id, const CString& name);
};

class ZonePage : public CZynAcConfigPage {
    DECLARE_DYNAMIC(ZonePage)
public:
    ZonePage();
    ~ZonePage() override;
    void SetPermissions(const CAcsUser& user) override;
    int SetState(AcCfgFormState state) override;
    CString m_name;
    int m_armed = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

class KnobPage : public CZynAcConfigPage {
    DECLARE_DYNAMIC(KnobPage)
public:
    explicit KnobPage(LONG id = kKnobPageID, UINT nIDTemplate = IDD_KNOB_PAGE);
    ~KnobPage() override;
    void SetPermissions(const CAcsUser& user) override;
    int ShowButtons() override { return showButtons; }
    int SetState(AcCfgFormState state) override;
    int ValidateData() override;
    int Add() override;
    int Modify() override;
    int Delete() override;
    int Clear() override;
    void Cancel() override;
    int GetSelectedCount(LONG& first, LONG& second) override;
    void ModifyStatusString(CString& text) override;
    bool CanMultipleSelect() override { return canMultiSelect; }
    void MultipleSelect(int bMultiple) override;
    ULONG GetHelpID(int nControlID, CPoint& point) override { return helpID + static_cast<ULONG>(nControlID); }

    int showButtons = TRUE;
    bool refuseEdits = false;
    int validate = TRUE;
    int operation = TRUE;
    bool grantAll = true;
    bool canMultiSelect = true;
    LONG selectedFirst = -1, selectedSecond = -1;
    CString statusSuffix;
    ULONG helpID = 0;
    int multipleSelect = -1;
    CString m_text;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// The registered view: its pages come from MakePages (by default a door page and a zone
// page); it has the sunken client edge.
class HostView : public CZynAcConfigView {
    DECLARE_DYNCREATE(HostView)
public:
    HostView();
    ~HostView() override;
    int AddPages() override;
    // The sunken client edge of the class library's default views, which the skins repaint.
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    static std::function<int(CZynAcConfigSheet&)>& MakePages();
    static int& LiveCount();
    // For the layout rules' own numbers: the height the sheet is taken to have been made with.
    void SetCreatedSheetHeight(int height) { m_nSheetHeight = height; }
};

class HostApp : public CZynApp {
public:
    HostApp() : CZynApp(L"Host") {}
};

class CfgFormsTest : public ::testing::Test {
public:
    void SetUp() override;
    void TearDown() override;

    // Logs an operator in (the given permissions; the database, or an unopened one) and
    // opens the door view through the application's registry.
    HostView* OpenDoorView(std::vector<LONG> permissions, CZynDatabase* pDatabase = nullptr);
    std::unique_ptr<CAcsUser> MakeOperator(std::vector<LONG> permissions, CZynDatabase* pDatabase);
    // The idle pass of the application (command UI of the main window's descendants).
    void Idle();
    // Runs the queue as the class library's loop does (PreTranslateMessage first).
    static void Pump();
    // A key pressed and released (with Ctrl or Shift when asked), then Pump.
    static void Press(int vk, bool ctrl = false, bool shift = false);
    // A click in the middle of a window, then Pump.
    static void Click(HWND hWnd);
    static void Type(const std::wstring& text);
    static std::wstring TextOf(HWND hWnd);
    // The view's item, and whether it can be seen and pressed.
    HWND Item(int id) const;
    bool Shown(int id) const;
    bool Enabled(int id) const;

    std::unique_ptr<HostApp> m_app;
    TestMainFrame* m_main = nullptr;
    CMultiDocTemplate* m_template = nullptr;
    CZynDatabase m_noDatabase;  // an operator's database that is never opened
    HostView* m_view = nullptr;
    CFrameWnd* m_frame = nullptr;

private:
    size_t m_gdiObjects = 0;
    size_t m_dcs = 0;
};

} // namespace zyn::test
