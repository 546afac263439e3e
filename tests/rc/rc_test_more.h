// A nested header: function-like macros, continuations and conditionals.
#pragma once
#define IDM_BASE 40000
#define MAKE_ID(a, b) \
    ((a) * 100 + (b))
#ifndef TEST_LEVEL
#define TEST_LEVEL 2
#endif
