#pragma once
// CViewInfo: one configuration view a host registers with the application: the command
// that opens it, its resource, its view class, the document template that creates it,
// the permissions of which an operator must hold one to open it, and the kinds of
// object it shows. CViewInfoMap holds the registered views by command ID.
#include <vector>

#include "model/ptr_map.h"
#include "platform/base/wintypes.h"

struct CRuntimeClass;
class CDocTemplate;
class CFrameWnd;

class CViewInfo {
public:
    CViewInfo(UINT nCommandID, UINT nResourceID, CRuntimeClass* pViewClass, CDocTemplate* pTemplate,
        std::vector<LONG> permissions, std::vector<int> objectTypes);

    UINT GetCommandID() const { return m_nCommandID; }
    UINT GetResourceID() const { return m_nResourceID; }
    CRuntimeClass* GetViewClass() const { return m_pViewClass; }
    // Not owned: the application's template list owns templates.
    CDocTemplate* GetDocTemplate() const { return m_pTemplate; }
    const std::vector<LONG>& GetPermissions() const { return m_permissions; }
    const std::vector<int>& GetObjectTypes() const { return m_objectTypes; }
    bool ShowsObjectType(int type) const;

    // The frame showing this view while it is open (null when closed or when the frame
    // window has gone since).
    CFrameWnd* GetOpenFrame() const;
    HWND GetOpenFrameHwnd() const;
    // Recorded by whoever opens the view; null closes it.
    void SetOpenFrame(CFrameWnd* pFrame, HWND hFrame);

private:
    UINT m_nCommandID;
    UINT m_nResourceID;
    CRuntimeClass* m_pViewClass;
    CDocTemplate* m_pTemplate;
    std::vector<LONG> m_permissions;
    std::vector<int> m_objectTypes;
    CFrameWnd* m_pOpenFrame = nullptr;
    HWND m_hOpenFrame = nullptr;
};

using CViewInfoMap = PtrMap<UINT, CViewInfo>;
