#pragma once
// The class library's OLE classes in one include: data sources and data objects, drop
// sources and drop targets, and AfxOleInit.
#include "platform/afx/ole/ole2.h"
#include "platform/afx/ole/oledataobject.h"
#include "platform/afx/ole/oledatasource.h"
#include "platform/afx/ole/oledropsource.h"
#include "platform/afx/ole/oledroptarget.h"

// OleInitialize for the calling thread (an application calls it in InitInstance); FALSE
// when it fails.
BOOL AfxOleInit();
// Whether no OLE object of the application is still in use, so it may exit. No object
// outlives its user here: always TRUE.
BOOL AfxOleCanExitApp();
