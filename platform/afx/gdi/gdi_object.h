#pragma once
// CGdiObject: the base of the class library's drawing-object wrappers. It owns the
// handle in m_hObject (DeleteObject or the destructor deletes it) unless it is one of
// the temporaries FromHandle returns, which never delete what they wrap.
#include "platform/base/object.h"
#include "platform/base/wintypes.h"

class CGdiObject : public CObject {
    DECLARE_DYNCREATE(CGdiObject)
public:
    CGdiObject() = default;
    ~CGdiObject() override;

    // The object that holds h: a permanent wrapper when one exists, otherwise this
    // thread's temporary wrapper of the class matching the handle's kind (CPen for a
    // pen, CBrush for a brush...). Null for a null handle.
    static CGdiObject* FromHandle(HGDIOBJ hObject);
    // Frees this thread's temporary wrappers (see temp_maps.h).
    static void DeleteTempMap();

    // Takes ownership of a handle. Fails (ERROR_INVALID_PARAMETER) for a null handle and
    // when this object already holds one: release that first (DeleteObject or Detach).
    BOOL Attach(HGDIOBJ hObject);
    // Gives up ownership; returns the handle (null when none).
    HGDIOBJ Detach();
    // Deletes the handle. When the drawing layer refuses (the object is still selected
    // into a DC) the handle stays attached and FALSE is returned, so it can be
    // deselected and deleted again instead of leaking.
    BOOL DeleteObject();

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; }
    int GetObject(int nCount, LPVOID lpObject) const;
    UINT GetObjectType() const;
    BOOL CreateStockObject(int nIndex);
    // Resets a brush's origin for its next selection; brush origins live in the DC
    // here, so this only checks the handle.
    BOOL UnrealizeObject();

    BOOL operator==(const CGdiObject& obj) const { return m_hObject == obj.m_hObject; }
    BOOL operator!=(const CGdiObject& obj) const { return m_hObject != obj.m_hObject; }

    HGDIOBJ m_hObject = nullptr;

protected:
    // FromHandle for a wrapper class: a permanent object of pClass (or derived) holding
    // h, else this thread's temporary. Null for a null handle, and (ERROR_INVALID_HANDLE)
    // when h is a live object of another kind than pClass wraps.
    static CGdiObject* FromHandleAs(HGDIOBJ h, CRuntimeClass* pClass);
    // Attaches a handle a Create* member just made; a null handle fails (the drawing
    // layer's error stays), and when this object already holds one the new handle is
    // deleted and the call fails.
    BOOL AttachNew(HGDIOBJ hObject);
};

namespace zyn::afx {
// GetSafeHandle for a pointer that may be null (calling a member through a null
// pointer is undefined behaviour in C++).
inline HGDIOBJ SafeHandleOf(const CGdiObject* p) { return p ? p->m_hObject : nullptr; }
} // namespace zyn::afx
