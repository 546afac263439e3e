#include "toolkit/docking/dock_document.h"

IMPLEMENT_DYNCREATE(COXDockDocument, CDocument)
