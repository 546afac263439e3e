#pragma once
// Helpers of the collection tests.

#include <gtest/gtest.h>

#include "platform/base/exception.h"

namespace zyn::test {

// Runs f and expects it to throw a CInvalidArgException (by pointer), which is freed.
template <class F>
void ExpectInvalidArg(F&& f, const char* what)
{
    try {
        f();
        ADD_FAILURE() << what << ": no exception";
    } catch (CException* e) {
        EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CInvalidArgException))) << what << ": wrong exception class";
        e->Delete();
    }
}

// An element that counts its live instances, so tests see every construction matched
// by one destruction.
struct Tracked {
    static inline int live = 0;
    int value = 0;
    Tracked() { ++live; }
    Tracked(int v) : value(v) { ++live; }
    Tracked(const Tracked& o) : value(o.value) { ++live; }
    Tracked& operator=(const Tracked&) = default;
    ~Tracked() { --live; }
    bool operator==(const Tracked& o) const { return value == o.value; }
};

} // namespace zyn::test
