#pragma once
// The class library's collections in one include: arrays, lists and maps.

#include "platform/base/coll_array.h"
#include "platform/base/coll_list.h"
#include "platform/base/coll_map.h"
