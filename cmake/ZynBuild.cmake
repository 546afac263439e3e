# Shared compile settings and helpers for every target of the project.

add_library(zyn_options INTERFACE)
target_compile_options(zyn_options INTERFACE
  -Wall -Wextra -Werror -Wsuggest-override -Wno-unused-parameter)
target_include_directories(zyn_options INTERFACE ${PROJECT_SOURCE_DIR})
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # GCC 12's flow analysis reports known false positives inside the standard library
  # when ASan is on or when inlining at -O2 (std::string's memcpy paths): they stay
  # warnings, not errors.
  target_compile_options(zyn_options INTERFACE
    -Wno-error=maybe-uninitialized -Wno-error=stringop-overflow -Wno-error=array-bounds
    -Wno-error=stringop-overread -Wno-error=restrict -Wno-error=null-dereference)
endif()

if(ZYN_LIBFUZZER)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "ZYN_LIBFUZZER needs clang: configure with CC=clang CXX=clang++")
  endif()
  # Every library is instrumented for coverage (fuzzer-no-link: the counters and the
  # comparison hooks, without libFuzzer's main), so the fuzzer sees inside the parsers
  # and not only the harness; fuzz/CMakeLists.txt links the programs with -fsanitize=fuzzer.
  # The sanitizers come with it: a fuzzer without them misses most memory faults.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
    -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
elseif(ZYN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# The standard headers most library sources include, precompiled once and reused by the
# platform units and the system library: about a fifth of such a source's compile time
# is spent parsing them. Standard headers only, so that no macro of the project's can
# change what the header holds; GCC accepts the header under the units' differing -D
# options because none of those macros appears in it (other compilers build as before).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_library(zyn_lib_pch OBJECT ${PROJECT_SOURCE_DIR}/cmake/pch_anchor.cpp)
  target_link_libraries(zyn_lib_pch PRIVATE zyn_options)
  target_precompile_headers(zyn_lib_pch PRIVATE <algorithm> <array> <atomic> <cstddef>
    <cstdint> <cstdio> <cstdlib> <cstring> <cwchar> <functional> <map> <memory> <mutex>
    <optional> <ostream> <span> <string> <string_view> <unordered_map> <utility> <vector>)
endif()
# zyn_use_library_pch(target): the target's sources start from the precompiled header above.
function(zyn_use_library_pch target)
  if(TARGET zyn_lib_pch)
    target_precompile_headers(${target} REUSE_FROM zyn_lib_pch)
  endif()
endfunction()

# Sources of a folder: *.cpp in it, and in its sub-folders when RECURSE is given.
function(zyn_glob_sources out dir)
  cmake_parse_arguments(G "RECURSE" "" "" ${ARGN})
  if(G_RECURSE)
    file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  else()
    file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  endif()
  set(${out} ${srcs} PARENT_SCOPE)
endfunction()

# zyn_add_test_support(name SOURCES ... LIBS ...)
# Fixture sources that several test binaries share, compiled once: an object library, so
# each binary that names it in LIBS links all of its objects, as if it listed the sources.
function(zyn_add_test_support name)
  cmake_parse_arguments(S "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} OBJECT ${S_SOURCES})
  target_link_libraries(${name} PUBLIC zyn_options ${S_LIBS} GTest::gtest GTest::gmock)
endfunction()

# zyn_add_test(NAME area LABELS l1 [l2] SOURCES ... LIBS ...)
# One GoogleTest binary per area; each test case becomes a CTest test carrying the labels.
function(zyn_add_test)
  cmake_parse_arguments(T "" "NAME" "LABELS;SOURCES;LIBS" ${ARGN})
  add_executable(test_${T_NAME} ${T_SOURCES})
  target_link_libraries(test_${T_NAME} PRIVATE zyn_options ${T_LIBS} zyn_testmain GTest::gtest GTest::gmock)
  # Every test binary shares one precompiled GoogleTest header.
  target_precompile_headers(test_${T_NAME} REUSE_FROM zyn_test_pch)
  # Test discovery flattens list-valued properties, so a binary carries exactly one
  # label (areas with pixel and pure-logic tests build two binaries). Sanitizer options
  # and paths are compiled into the test main for the same reason.
  list(LENGTH T_LABELS nlabels)
  if(NOT nlabels EQUAL 1)
    message(FATAL_ERROR "test_${T_NAME}: give exactly one label (got '${T_LABELS}')")
  endif()
  gtest_discover_tests(test_${T_NAME}
    PROPERTIES LABELS "${T_LABELS}"
    DISCOVERY_TIMEOUT 60
    DISCOVERY_MODE PRE_TEST)
endfunction()
