#pragma once
// The console's bars besides the library's own: its toolbar, the sizeable bar with the
// recent events, the sizeable bar holding the shortcut bar whose items open the
// registered views, and the filter dialog bar.
//
// The shortcut bar's items carry the command they stand for; activating one posts that
// command to the main frame and refuses the activation, so the same item opens its view
// again the next time it is clicked.
#include <vector>

#include "frames/init_dialog_bar.h"
#include "frames/zyn_ctrl_bar.h"
#include "frames/zyn_toolbar.h"
#include "host_work.h"
#include "platform/afx/gdi/image_list.h"
#include "platform/afx/listctrl.h"
#include "toolkit/docking/shb_bar.h"

// The console's own program toolbar: 20 x 20 images from the host's resources, as the
// standard toolbar's.
class CHostToolbar : public CZynToolbar {
public:
    CHostToolbar() : CZynToolbar(20, 20) {}
    UINT CaptionResourceID() const override;

protected:
    UINT ToolbarResourceID() const override;
};

// A sizeable bar filled by one child window that follows the bar's size.
class CHostPaneBar : public CZynCtrlBar {
public:
    CHostPaneBar() = default;
    // Back to the width across its side it was made with, and its floating size (for the
    // default places).
    void RestoreDefaultSize();

protected:
    // Creates the bar at its default size.
    BOOL MakeBar(CWnd* pParent, const wchar_t* title, UINT id, DWORD side, CSize size);
    void OnSizedOrDocked(int cx, int cy, BOOL bFloating, int flags) override;
    virtual CWnd* Pane() = 0;

private:
    CSize m_defaultSize;
};

// The recent events, newest first: a report list with a column each for the time, what
// happened and the door, in the dialogs' font.
class CEventsBar : public CHostPaneBar {
public:
    BOOL Make(CWnd* pParent);
    // Replaces the events shown.
    void Show(const std::vector<host::EventRow>& events);
    int LineCount() const;
    CListCtrl& List() { return m_list; }

protected:
    CWnd* Pane() override { return &m_list; }

private:
    CListCtrl m_list;
};

// The shortcut bar in a sizeable bar. Items are (text, command, icon) of a group; each
// group shows large pictures (32 x 32) or small ones (16 x 16), both from the icon.
class CShortcutsBar : public CHostPaneBar {
public:
    struct Item {
        const wchar_t* text;
        UINT command;
        UINT icon;
    };
    BOOL Make(CWnd* pParent);
    BOOL AddGroup(const wchar_t* title, const std::vector<Item>& items);
    COXShortcutBar& Shortcuts() { return m_bar; }
    // The list of a group's items (null for no such group), where a click activates one.
    COXSHBListCtrl* ItemList(int group);
    // The group's handle, null for no such group.
    HSHBGROUP Group(int group) const;
    int GroupCount() const { return static_cast<int>(m_groups.size()); }

protected:
    CWnd* Pane() override { return &m_bar; }
    afx_msg void OnActivateItem(NMHDR* pHeader, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    // The icon's picture added to both lists; its index, -1 when it does not load.
    int AddPicture(UINT icon);

    COXShortcutBar m_bar;
    std::vector<HSHBGROUP> m_groups;
    CImageList m_large, m_small; // shared by the groups' lists, which leave them to the bar
};

// The event filter: an edit and a check box on the host's dialog template.
class CFilterBar : public CInitDialogBar {
public:
    CString m_text;
    BOOL m_alarmsOnly = FALSE;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
