// The stubs' memory routines: plain malloc and free.
#include <cstdlib>

#include "platform/rpc/rpcndr.h"

void* MIDL_user_allocate(size_t size) { return std::malloc(size); }

void MIDL_user_free(void* p) { std::free(p); }
