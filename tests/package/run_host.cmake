# The package test, run as `cmake -P`: installs the build tree's package into a fresh
# prefix, configures and builds the host under host/ against that prefix alone, and runs
# it once headless. Nothing is compiled for the install; the host is one source file and
# one resource script.
#
# Variables: BUILD_DIR (the build tree to install), HOST_SOURCE_DIR, WORK_DIR (wiped
# first), GENERATOR, MAKE_PROGRAM, CXX_COMPILER, CXX_LAUNCHER (may be empty).
cmake_minimum_required(VERSION 3.25)

foreach(v BUILD_DIR HOST_SOURCE_DIR WORK_DIR GENERATOR CXX_COMPILER)
  if(NOT DEFINED ${v} OR "${${v}}" STREQUAL "")
    message(FATAL_ERROR "run_host.cmake: ${v} is not given")
  endif()
endforeach()

set(prefix ${WORK_DIR}/prefix)
set(host_build ${WORK_DIR}/host-build)
set(run_dir ${WORK_DIR}/run)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${run_dir}/registry ${run_dir}/windows ${run_dir}/logs)

string(TIMESTAMP started "%s%f")
set(last ${started})
# Runs one step; stops the test with the step's output when it fails.
function(step name)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 300)
  string(TIMESTAMP now "%s%f")
  math(EXPR ms "(${now} - ${last}) / 1000")
  set(last ${now} PARENT_SCOPE)
  if(NOT rc STREQUAL "0")
    message(FATAL_ERROR "${name} failed (${rc}):\n${out}\n${err}")
  endif()
  message(STATUS "${name}: ${ms} ms")
  set(step_output "${out}${err}" PARENT_SCOPE)
endfunction()

# ---- install ---------------------------------------------------------------------------------
step(install ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix} --component ZynCmn)

# What the package must hold; the library folder is found, not assumed (GNUInstallDirs).
file(GLOB_RECURSE config_files ${prefix}/*/ZynCmnConfig.cmake)
list(LENGTH config_files n_configs)
if(NOT n_configs EQUAL 1)
  message(FATAL_ERROR "expected one ZynCmnConfig.cmake under ${prefix}, found: ${config_files}")
endif()
get_filename_component(cmake_dir ${config_files} DIRECTORY)
get_filename_component(lib_dir ${cmake_dir}/../.. ABSOLUTE)
foreach(f ${lib_dir}/libZynCmn.so ${lib_dir}/libzynplatform.so ${prefix}/bin/zyn-rc ${prefix}/bin/zyn-createdb
    ${cmake_dir}/ZynCmnConfigVersion.cmake ${cmake_dir}/ZynCmnTargets.cmake ${cmake_dir}/ZynResources.cmake
    ${prefix}/include/ZynCmn/app/zyn_app.h ${prefix}/include/ZynCmn/platform/afx/frame.h
    ${prefix}/include/ZynCmn/resources/resource.h ${prefix}/share/ZynCmn/schema/sqlite.sql
    ${prefix}/share/ZynCmn/schema/postgresql.sql)
  if(NOT EXISTS ${f})
    message(FATAL_ERROR "the package lacks ${f}")
  endif()
endforeach()
# Sources and build files stay out of the include folder.
file(GLOB_RECURSE strays ${prefix}/include/*.cpp ${prefix}/include/*.txt ${prefix}/include/*.rc)
if(strays)
  message(FATAL_ERROR "the include folder holds files that are not headers: ${strays}")
endif()
# The installed libraries must not reach back into the build tree.
foreach(lib libZynCmn.so libzynplatform.so)
  file(READ_ELF ${lib_dir}/${lib} RUNPATH runpath RPATH rpath)
  string(FIND "${runpath}:${rpath}" "${BUILD_DIR}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "${lib} still searches the build tree: ${runpath}${rpath}")
  endif()
endforeach()

# The installed zyn-createdb makes a database from the installed schema.
step(createdb ${CMAKE_COMMAND} -E env --unset=ZYN_SCHEMA_DIR ${prefix}/bin/zyn-createdb ${run_dir}/created.db)
if(NOT EXISTS ${run_dir}/created.db)
  message(FATAL_ERROR "zyn-createdb reported success but wrote no ${run_dir}/created.db")
endif()

# ---- the host --------------------------------------------------------------------------------
set(configure ${CMAKE_COMMAND} -S ${HOST_SOURCE_DIR} -B ${host_build} -G ${GENERATOR}
  -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_COMPILER=${CXX_COMPILER})
if(MAKE_PROGRAM)
  list(APPEND configure -DCMAKE_MAKE_PROGRAM=${MAKE_PROGRAM})
endif()
if(CXX_LAUNCHER)
  list(APPEND configure -DCMAKE_CXX_COMPILER_LAUNCHER=${CXX_LAUNCHER})
endif()
step(configure ${configure})
step(build ${CMAKE_COMMAND} --build ${host_build})

# Headless, with settings in the run folder, and nothing pointing at the source tree: the
# schema must come from the prefix.
step(run ${CMAKE_COMMAND} -E env --unset=ZYN_SCHEMA_DIR --unset=ZYN_SOURCE_DIR
  ZYN_REGISTRY_DIR=${run_dir}/registry ZYN_WINDIR=${run_dir}/windows ZYN_LOG_DIR=${run_dir}/logs
  ${host_build}/zyn_package_host --work ${run_dir} --expect-schema ${prefix}/share/ZynCmn/schema)
message(STATUS "host:\n${step_output}")
if(NOT EXISTS ${run_dir}/desktop.png)
  message(FATAL_ERROR "the host wrote no snapshot")
endif()

string(TIMESTAMP finished "%s%f")
math(EXPR total "(${finished} - ${started}) / 1000")
message(STATUS "package test: ${total} ms in all")
