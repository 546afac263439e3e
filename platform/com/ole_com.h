#pragma once
// The public face of COM for code written against the Windows headers: GUIDs, result
// codes, IUnknown, initialisation, task memory, the class table, streams and data objects,
// automation (BSTR, VARIANT, IDispatch) and property pages.
#include "platform/com/dataobject.h"
#include "platform/com/guid.h"
#include "platform/com/hresult.h"
#include "platform/com/objbase.h"
#include "platform/com/oleauto.h"
#include "platform/com/proppage.h"
#include "platform/com/stream.h"
#include "platform/com/unknown.h"
