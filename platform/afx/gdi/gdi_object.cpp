#include "platform/afx/gdi/gdi_object.h"

#include <cstdio>
#include <memory>

#include "platform/afx/gdi/bitmap.h"
#include "platform/afx/gdi/brush.h"
#include "platform/afx/gdi/font.h"
#include "platform/afx/gdi/gdi_maps.h"
#include "platform/afx/gdi/palette.h"
#include "platform/afx/gdi/pen.h"
#include "platform/afx/gdi/rgn.h"
#include "platform/afx/gdi/temp_maps.h"
#include "platform/base/lasterror.h"
#include "platform/gdi/wingdi.h"

IMPLEMENT_DYNCREATE(CGdiObject, CObject)

namespace {

using zyn::afx::detail::PermanentGdiObjects;
using zyn::afx::detail::ThreadGdiTemps;

// The wrapper class for a kind of GDI object; plain CGdiObject for anything else.
CRuntimeClass* ClassForType(DWORD type)
{
    switch (type) {
    case OBJ_PEN:
    case OBJ_EXTPEN:
        return RUNTIME_CLASS(CPen);
    case OBJ_BRUSH:
        return RUNTIME_CLASS(CBrush);
    case OBJ_FONT:
        return RUNTIME_CLASS(CFont);
    case OBJ_BITMAP:
        return RUNTIME_CLASS(CBitmap);
    case OBJ_REGION:
        return RUNTIME_CLASS(CRgn);
    case OBJ_PAL:
        return RUNTIME_CLASS(CPalette);
    default:
        return RUNTIME_CLASS(CGdiObject);
    }
}

std::unique_ptr<CGdiObject> MakeWrapper(const CRuntimeClass* cls)
{
    if (cls == RUNTIME_CLASS(CPen))
        return std::make_unique<CPen>();
    if (cls == RUNTIME_CLASS(CBrush))
        return std::make_unique<CBrush>();
    if (cls == RUNTIME_CLASS(CFont))
        return std::make_unique<CFont>();
    if (cls == RUNTIME_CLASS(CBitmap))
        return std::make_unique<CBitmap>();
    if (cls == RUNTIME_CLASS(CRgn))
        return std::make_unique<CRgn>();
    if (cls == RUNTIME_CLASS(CPalette))
        return std::make_unique<CPalette>();
    return std::make_unique<CGdiObject>();
}

} // namespace

CGdiObject::~CGdiObject()
{
    if (!m_hObject)
        return;
    if (!DeleteObject() && m_hObject) {
        // Still selected into a DC: the handle cannot be freed now and outlives us.
        std::fprintf(stderr, "CGdiObject: GDI object %p could not be deleted (error %u) and leaks\n", m_hObject,
            static_cast<unsigned>(GetLastError()));
        Detach();
    }
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject) { return FromHandleAs(hObject, RUNTIME_CLASS(CGdiObject)); }

void CGdiObject::DeleteTempMap() { zyn::afx::DeleteTempGdiObjects(); }

CGdiObject* CGdiObject::FromHandleAs(HGDIOBJ h, CRuntimeClass* pClass)
{
    if (!h)
        return nullptr;
    if (CGdiObject* p = PermanentGdiObjects().Find(h, pClass))
        return p;
    auto& temps = ThreadGdiTemps();
    if (CGdiObject* t = temps.Find(h)) {
        if (t->IsKindOf(pClass))
            return t;
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    // A dead handle gets a wrapper of the class asked for, whose operations fail cleanly.
    const DWORD type = ::GetObjectType(h);
    const CRuntimeClass* cls = type != 0 ? ClassForType(type) : pClass;
    if (!cls->IsDerivedFrom(pClass)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    std::unique_ptr<CGdiObject> w = MakeWrapper(cls);
    w->m_hObject = h; // not Attach: a temporary is not an owner
    return temps.Add(h, std::move(w));
}

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    if (!hObject || (m_hObject && m_hObject != hObject)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (m_hObject == hObject)
        return TRUE;
    m_hObject = hObject;
    PermanentGdiObjects().Add(hObject, this);
    return TRUE;
}

BOOL CGdiObject::AttachNew(HGDIOBJ hObject)
{
    if (!hObject)
        return FALSE;
    if (m_hObject) {
        ::DeleteObject(hObject);
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return Attach(hObject);
}

HGDIOBJ CGdiObject::Detach()
{
    const HGDIOBJ h = m_hObject;
    if (h) {
        PermanentGdiObjects().Remove(h, this);
        m_hObject = nullptr;
    }
    return h;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!::DeleteObject(m_hObject)) {
        // A dead handle is forgotten; a live one (still selected) stays ours.
        if (::GetObjectType(m_hObject) == 0)
            Detach();
        return FALSE;
    }
    Detach();
    return TRUE;
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const { return ::GetObject(m_hObject, nCount, lpObject); }

UINT CGdiObject::GetObjectType() const { return ::GetObjectType(m_hObject); }

BOOL CGdiObject::CreateStockObject(int nIndex) { return AttachNew(::GetStockObject(nIndex)); }

BOOL CGdiObject::UnrealizeObject()
{
    if (::GetObjectType(m_hObject) == 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
