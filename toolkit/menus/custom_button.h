#pragma once
// Custom toolbar buttons: a button of a cool toolbar that hosts a child window (a combo
// box, an edit, a slider...). COXCustomTBButtonTemplate is the interface such a window
// implements: the toolbar asks it for its window, has it create the window (or a copy of
// itself for a further toolbar), tells it when customisation starts and ends, deletes
// copies through it, and lets it keep its own state in the toolbars' saved state.
// OXCUSTOMBUTTONDESCRIPTOR describes one custom button for the whole program: its
// template, the hosted window's control ID, its size, where it is shown and the image the
// button shows where the window is hidden.
//
// The base template does nothing and answers "no"; a concrete template derives from both
// a CWnd class and this interface (see the tests' sample template).
#include "platform/base/wintypes.h"

class CArchive;
class CWnd;

class COXCustomTBButtonTemplate {
public:
    COXCustomTBButtonTemplate() = default;
    // A copy carries the three words over (customisation mode, dynamically created, the
    // spare word).
    COXCustomTBButtonTemplate(const COXCustomTBButtonTemplate&) = default;
    COXCustomTBButtonTemplate& operator=(const COXCustomTBButtonTemplate&) = default;
    virtual ~COXCustomTBButtonTemplate() = default;

    // The hosted window (null: none).
    virtual CWnd* CBGetWindow() { return nullptr; }
    // Creates the hosted window as a child of pParentWnd with control ID nID.
    virtual BOOL CBCreate(int /*nID*/, CWnd* /*pParentWnd*/, DWORD /*dwStyle*/, DWORD /*dwStyleEx*/,
        LPCTSTR /*lpszClassName*/, LPCTSTR /*lpszWindowName*/)
    {
        return FALSE;
    }
    // A new template with its own window on pParentWnd, showing what this one shows; the
    // toolbar deletes it through CBDelete when its button goes.
    virtual COXCustomTBButtonTemplate* CBCreateCopy(CWnd* /*pParentWnd*/) const { return nullptr; }
    virtual COXCustomTBButtonTemplate* CBCreateNewInstance() const { return nullptr; }
    virtual void CBCopyContents(COXCustomTBButtonTemplate* /*pTarget*/) const {}
    // The toolbar no longer shows this template's window.
    virtual BOOL CBDelete() { return FALSE; }
    virtual BOOL CBIsInCustomizationMode() const { return m_bCustomizationMode; }
    virtual void CBSetCustomizationMode(BOOL bMode) { m_bCustomizationMode = bMode; }
    virtual BOOL CBIsDynamicallyCreated() const { return m_bDynamicallyCreated; }
    virtual void CBSetDynamicallyCreated(BOOL bDynamic) { m_bDynamicallyCreated = bDynamic; }
    // The template's own part of the program-wide custom-button record. A template that
    // writes something must read back exactly what it wrote.
    virtual BOOL CBSaveState(CArchive& /*ar*/) { return FALSE; }
    virtual BOOL CBLoadState(CArchive& /*ar*/) { return FALSE; }

protected:
    BOOL m_bCustomizationMode = FALSE;
    BOOL m_bDynamicallyCreated = FALSE;
    DWORD m_dwSpare = 0;   // kept and copied, for the concrete templates
};

// Where a custom button's window is shown (the descriptor's show flags).
inline constexpr int OXCBD_SHOWVERT = 1;    // docked at the left or right
inline constexpr int OXCBD_SHOWHORZ = 2;    // docked at the top or bottom
inline constexpr int OXCBD_SHOWFLOAT = 4;   // floating
inline constexpr int OXCBD_SHOWANY = 7;     // always (7 or more)

struct _tagOXCUSTOMBUTTONDESCRIPTOR {
    _tagOXCUSTOMBUTTONDESCRIPTOR() = default;
    _tagOXCUSTOMBUTTONDESCRIPTOR(COXCustomTBButtonTemplate* pTemplate, int nID, int nWidth, int nHeight, int nFlags,
        int nImageIndex)
        : m_pCBTemplate(pTemplate), m_nID(nID), m_nWidth(nWidth), m_nHeight(nHeight), m_nFlags(nFlags),
          m_nImageIndex(nImageIndex)
    {
    }

    // Takes width, height, show flags and hidden-state image of another descriptor of the
    // same control ID (or of itself); the template stays. FALSE, nothing changed, for a
    // descriptor of another ID. (Plain copying, as containers do, copies every field.)
    BOOL Assign(const _tagOXCUSTOMBUTTONDESCRIPTOR& other)
    {
        if (&other == this)
            return TRUE;
        if (other.m_nID != m_nID)
            return FALSE;
        m_nWidth = other.m_nWidth;
        m_nHeight = other.m_nHeight;
        m_nFlags = other.m_nFlags;
        m_nImageIndex = other.m_nImageIndex;
        return TRUE;
    }

    COXCustomTBButtonTemplate* m_pCBTemplate = nullptr;   // not owned by the descriptor
    int m_nID = 0;            // the hosted window's control ID; the button's identity
    int m_nWidth = -1;        // the button's (separator's) and the window's width
    int m_nHeight = -1;       // the window's height; 0 or less: the button's height
    int m_nFlags = OXCBD_SHOWANY;
    int m_nImageIndex = -1;   // the image shown where the window is hidden
};
using OXCUSTOMBUTTONDESCRIPTOR = _tagOXCUSTOMBUTTONDESCRIPTOR;
