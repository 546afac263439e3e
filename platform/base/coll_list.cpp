// Run-time classes of the non-template lists; the pointer list is not serialisable.

#include "platform/base/coll_list.h"

IMPLEMENT_SERIAL(CObList, CObject, 0)
IMPLEMENT_DYNAMIC(CPtrList, CObject)
IMPLEMENT_SERIAL(CStringList, CObject, 0)
