#pragma once
// The library's entry: what a host calls (or the library's load does) before anything
// else. Registers the common resource module in the resource chain.
#include "platform/base/wintypes.h"

class ZyncmnDLL {
public:
    // TRUE once the common resources are in the chain; safe to call again.
    static BOOL Init();
};
