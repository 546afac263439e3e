#pragma once
// POSITION: the opaque cursor of the class library's lists and maps. A list's POSITION
// is the address of its node, so it stays valid while other elements come and go; a
// map's iteration starts from BEFORE_START_POSITION.

#include <cstdint>

struct ZynPositionTag;
using POSITION = ZynPositionTag*;

// Returned by a non-empty map's GetStartPosition; never the address of a node.
inline const POSITION BEFORE_START_POSITION = reinterpret_cast<POSITION>(static_cast<intptr_t>(-1));
