#pragma once
// COXLayoutManager: keeps the child controls of one container window (a dialog or a
// form) in place while the container is resized.
//
// Each child, known by its control ID, has four side constraints (layout_constraint.h),
// each relative to the container or to another child, and may have a minimum and a
// maximum size. On every WM_SIZE of the container the manager resolves all sides for
// the new client size (a layout pass), and when a child would break its minimum or
// maximum it widens or narrows the size it lays out for, one pixel at a time, until
// every child fits; the size that fitted is remembered as the container's limit until
// the constraints change. Then all children move in one deferred batch. The manager
// sees the container's messages by replacing its window procedure (a process-wide map
// leads from the window to its manager); the container's own procedure runs after the
// children are laid out.
//
// Impossible layouts (a cycle of constraints, a side that must come from a missing
// window, limits no size satisfies, a size driven out of 1..32767) make OnSize answer
// FALSE and move nothing.
#include <memory>
#include <vector>

#include "platform/afx/gdi/geometry.h"
#include "platform/base/object.h"
#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"
#include "toolkit/skins/layout_constraint.h"

class CWnd;

class COXLayoutManager : public CObject {
    DECLARE_DYNCREATE(COXLayoutManager)
public:
    // Side masks.
    enum Side { sideTop = 1, sideBottom = 2, sideLeft = 4, sideRight = 8, sideAll = 15 };
    // Constraint types (GetConstraint answers typeNone for an empty side).
    enum Type {
        typeNone = 0,
        typeSame = 1,      // offset from the same edge of the base (a top from the base's top)
        typeOpposite = 2,  // offset from the opposite edge of the base (a top from the base's bottom)
        typeFraction = 3,  // offset / fraction base of the way from the base's near to its far edge
    };

    explicit COXLayoutManager(CWnd* pContainer = nullptr);
    ~COXLayoutManager() override;
    COXLayoutManager(const COXLayoutManager&) = delete;
    COXLayoutManager& operator=(const COXLayoutManager&) = delete;

    // Removes all children, leaves any previous container, stores pContainer and
    // subclasses its window. FALSE when the window could not be subclassed (no window
    // yet, or another layout manager has it); the container is stored all the same.
    BOOL Attach(CWnd* pContainer);
    // Removes all children, forgets the container and gives it its window procedure back.
    void Detach();
    BOOL IsAttached() const { return m_pContainerWnd != nullptr; }

    // A record for a new ID at the end of the array, or the existing one's index; -1 for
    // ID 0. With bSetDefault, SetDefaultConstraint follows (also for an existing child).
    int AddChild(UINT nChildID, BOOL bSetDefault = TRUE);
    int AddChild(CWnd* pChild, BOOL bSetDefault = TRUE);
    // AddChild for every child window of the container with an ID, in window order.
    void AddAllChildren(BOOL bSetDefault = TRUE);
    // FALSE when the ID is not registered or another child's side is based on it.
    BOOL RemoveChild(UINT nChildID);
    BOOL RemoveChild(CWnd* pChild);
    void RemoveAllChildren();

    // Ties the sides in nSides of a child (registered if new; FALSE for ID 0) to a base
    // (registered if new; 0: the container) with a type and an offset.
    BOOL SetConstraint(UINT nChildID, int nSides, int nType, int nOffset = 0, UINT nBaseID = 0);
    BOOL SetConstraint(CWnd* pChild, int nSides, int nType, int nOffset = 0, CWnd* pBase = nullptr);
    // Limits of a child's size (0 or less: none); registers a new child.
    BOOL SetMinMax(UINT nChildID, CSize sizeMin, CSize sizeMax = CSize(0, 0));
    BOOL SetMinMax(CWnd* pChild, CSize sizeMin, CSize sizeMax = CSize(0, 0));
    BOOL RemoveConstraint(UINT nChildID, int nSides);
    BOOL RemoveConstraint(CWnd* pChild, int nSides);
    // The constraint of one side (a single side bit) as type, offset and base.
    BOOL GetConstraint(UINT nChildID, int nSide, int& nType, int& nOffset, UINT& nBaseID) const;
    BOOL GetConstraint(CWnd* pChild, int nSide, int& nType, int& nOffset, UINT& nBaseID) const;
    BOOL GetMinMax(UINT nChildID, CSize& sizeMin, CSize& sizeMax) const;
    BOOL GetMinMax(CWnd* pChild, CSize& sizeMin, CSize& sizeMax) const;
    // Ties sides at the distances they have now (type typeSame or typeOpposite).
    BOOL TieChild(UINT nChildID, int nSides, int nType = typeSame, UINT nBaseID = 0);
    BOOL TieChild(CWnd* pChild, int nSides, int nType = typeSame, CWnd* pBase = nullptr);

    int GetFractionBase() const { return m_nFractionBase; }
    // 0 is ignored.
    void SetFractionBase(int nBase);

    // Ties the child's top and left to the container where they are now and empties the
    // bottom and right: the child keeps its place and size.
    virtual void SetDefaultConstraint(UINT nChildID);
    // Lays out for the container's present client size.
    virtual BOOL RedrawLayout();
    // Lays out for a client size and moves the children (see the header's opening).
    virtual BOOL OnSize(int cx, int cy);

    // The registered children, in insertion order.
    int GetChildCount() const { return static_cast<int>(m_children.size()); }
    const COXWndConstraint* GetChild(int nIndex) const;

protected:
    // What one layout pass found.
    static constexpr int kLayoutFits = 0;
    static constexpr int kLayoutImpossible = 1;
    static constexpr int kTooNarrow = 2;
    static constexpr int kTooShort = 4;
    static constexpr int kTooWide = 8;
    static constexpr int kTooTall = 16;

    int FindChild(UINT nChildID) const;
    COXWndConstraint* FindRecord(UINT nChildID) const;
    // The resolved position of one side (an index of COXWndConstraint::SideIndex), or
    // COXSideConstraint::kNotComputed when it cannot be resolved.
    int CalcSideConstraint(COXWndConstraint* pChild, int nSideIndex);
    // One pass: kLayoutFits, kLayoutImpossible, or the kToo* bits.
    int CalcLayout();
    void ResetLearnedLimits();
    // The child window's rectangle in the container's client coordinates.
    BOOL GetChildWindowRect(UINT nChildID, CRect& rect) const;
    HWND GetContainerHwnd() const;

    BOOL SubclassContainer(CWnd* pContainer);
    void UnsubclassContainer();
    static LRESULT GlobalLayoutManagerProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnContainerMessage(UINT message, WPARAM wParam, LPARAM lParam);

    CWnd* m_pContainerWnd = nullptr;  // not owned
    int m_nFractionBase = 100;
    int m_nMinMaxCount = 0;           // children with m_bHasMinMax
    int m_cx = 0;                     // the size being laid out for
    int m_cy = 0;
    // The container limits learned by relaxation.
    int m_nMinWidth = -1;
    int m_nMaxWidth = 32767;
    int m_nMinHeight = -1;
    int m_nMaxHeight = 32767;
    std::vector<std::unique_ptr<COXWndConstraint>> m_children;
    HWND m_hWnd = nullptr;            // the subclassed container
    WNDPROC m_pfnSuper = nullptr;     // its previous window procedure
};
