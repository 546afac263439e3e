// Loaded by the module tests. It records its load state in the environment so the
// tests can see when the object really leaves the process.
#include <cstdlib>

namespace {
struct LoadState {
    LoadState() { ::setenv("ZYN_TEST_PLUGIN_STATE", "loaded", 1); }
    ~LoadState() { ::setenv("ZYN_TEST_PLUGIN_STATE", "unloaded", 1); }
} g_state;
} // namespace

extern "C" __attribute__((visibility("default"))) int zyn_plugin_answer() { return 42; }
