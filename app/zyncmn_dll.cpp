#include "app/zyncmn_dll.h"

#include "app/zyncmn_resources.h"

BOOL ZyncmnDLL::Init()
{
    return zyn::resources::RegisterZynCommonResources() ? TRUE : FALSE;
}
