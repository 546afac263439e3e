#pragma once
// CCreateContext: what the document layer hands to a frame it creates, so that the frame
// can make its view (OnCreateClient) and connect it to the document.
#include "platform/base/wintypes.h"

struct CRuntimeClass;
class CDocument;
class CDocTemplate;
class CFrameWnd;
class CView;

struct CCreateContext {
    CRuntimeClass* m_pNewViewClass = nullptr;   // the view to create (null: none)
    CDocument* m_pCurrentDoc = nullptr;         // the document the view shows
    CDocTemplate* m_pNewDocTemplate = nullptr;  // the template that makes the frame
    CView* m_pLastView = nullptr;               // a view the new frame copies (new window)
    CFrameWnd* m_pCurrentFrame = nullptr;       // the frame being copied
};
