#pragma once
// The program's toolbars: cool toolbars made by one recipe. A toolbar class names two
// resource IDs, one for its caption string and one for its TOOLBAR resource (buttons and
// bitmap); everything else follows from them and from the image size given at
// construction:
//   - the bar's control ID is the caption's resource ID, whatever ID the caller passes, so
//     a toolbar keeps the same ID from run to run (the frame's saved bar layout and its
//     View>Toolbars items rely on that); two classes with one caption ID collide;
//   - the caption string becomes the window text (the title of the floating bar);
//   - buttons are image + (7, 6) pixels, tooltips, fly-by prompts, dynamic size and a
//     gripper are on, it docks on any side, its texts are navy, hot texts blue;
//   - labels (the second line of each command's string) start hidden; ShowText switches
//     them, and the bar's text type says which way they are (TTID_NOTEXT: hidden).
// CToolbarMain is the suite's main toolbar; CToolbarMap is the registry of toolbars by ID
// that the main frame keeps (it does not own them).
#include <map>
#include <utility>

#include "toolkit/menus/cool_toolbar.h"

class CZynToolbar : public COXCoolToolBar {
    DECLARE_DYNAMIC(CZynToolbar)
public:
    // The size of one button image in the toolbar's bitmap.
    explicit CZynToolbar(int cx = 20, int cy = 20);
    ~CZynToolbar() override;

    // Makes the bar with the control ID CaptionResourceID() (nID is not used), loads the
    // buttons of ToolbarResourceID() and runs DoPostCreate. FALSE when the window cannot
    // be made, the toolbar resource cannot be loaded or DoPostCreate fails; the window may
    // exist then.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
        UINT nID = AFX_IDW_TOOLBAR) override;
    // The same with the toolkit base's extended creation.
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
        DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect rcBorders = CRect(0, 0, 0, 0),
        UINT nID = AFX_IDW_TOOLBAR) override;

    // Labels on: each button shows the second line of its command's string (a button whose
    // command has none keeps its text, or gets back the one it had before labels were
    // hidden), one text row, buttons up to five images wide.
    // Labels off: empty texts, no text row, buttons back to the recipe's size. Either way
    // the bar recomputes its frame and the docking frame lays out again.
    virtual void ShowText(bool show);
    bool TextIsShown() const { return GetTextType() != TTID_NOTEXT; }
    void ToggleShowText() { ShowText(!TextIsShown()); }

    // The caption string's resource ID, which is also the bar's control ID.
    virtual UINT CaptionResourceID() const = 0;

    int GetImageWidth() const { return m_cxImage; }
    int GetImageHeight() const { return m_cyImage; }

protected:
    // The TOOLBAR resource (and bitmap of the same ID) the buttons come from.
    virtual UINT ToolbarResourceID() const = 0;
    // The recipe after the buttons are loaded: styles, docking, caption, sizes, colours,
    // labels hidden. FALSE when the bitmap's image size is not the one this class states
    // (the buttons could not be sized for it).
    virtual BOOL DoPostCreate();

private:
    // The recipe's button size for the image size.
    CSize RecipeButtonSize() const { return CSize(m_cxImage + 7, m_cyImage + 6); }
    // The window text from the caption string (empty when it does not load).
    void TakeCaption();
    // Hiding labels empties every text, also the text a host gave a button whose command
    // has no string to take it from again: such texts are kept here while hidden and put
    // back when the labels show.
    void KeepOwnTexts();
    void RestoreOwnTexts();

    int m_cxImage;
    int m_cyImage;
    // Set while Create makes the window: the cool toolbar's Create reaches the virtual
    // CreateEx, which must then only make the window, not run the recipe a second time.
    bool m_bInCreate = false;
    std::map<UINT, CString> m_mapOwnTexts;   // command -> the host's text, for commands without a string
};

// The suite's main toolbar: 20 x 20 images, flat.
class CToolbarMain : public CZynToolbar {
    DECLARE_DYNAMIC(CToolbarMain)
public:
    CToolbarMain() : CZynToolbar(20, 20) {}
    ~CToolbarMain() override;

    UINT CaptionResourceID() const override;

protected:
    UINT ToolbarResourceID() const override;
    BOOL DoPostCreate() override;
};

// Toolbars by control ID, in ID order. Copies copy the pointers.
class CToolbarMap : public std::map<UINT, CZynToolbar*> {
public:
    CToolbarMap() = default;
    CToolbarMap(const CToolbarMap&) = default;
    CToolbarMap& operator=(const CToolbarMap&) = default;
    virtual ~CToolbarMap() = default;

    // The toolbar registered under id, null when none.
    CZynToolbar* Find(UINT id) const;
    // Registers a toolbar under its window's control ID: (the entry, true) when added,
    // (the entry already there, false) when the ID is taken, (end, false) for a null
    // toolbar or one without a window.
    std::pair<iterator, bool> Insert(CZynToolbar* pToolbar);
};
