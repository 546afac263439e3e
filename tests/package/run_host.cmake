# The package test, run as `cmake -P`: installs the build tree's package into a fresh
# prefix, configures and builds the host under host/ against that prefix alone, and runs
# it once headless; then does the same with the host that the hosting guide's own text
# makes (its code blocks that name a file). Nothing is compiled for the install; each
# host is one source file and one resource script.
#
# Variables: BUILD_DIR (the build tree to install), HOST_SOURCE_DIR, HOSTING_DOC (the
# guide), WORK_DIR (wiped first), GENERATOR, MAKE_PROGRAM, CXX_COMPILER, CXX_LAUNCHER (may
# be empty).
cmake_minimum_required(VERSION 3.25)

foreach(v BUILD_DIR HOST_SOURCE_DIR HOSTING_DOC WORK_DIR GENERATOR CXX_COMPILER)
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
# The configure command of a host's project against the prefix alone.
function(configure_command source build out)
  set(c ${CMAKE_COMMAND} -S ${source} -B ${build} -G ${GENERATOR} -DCMAKE_PREFIX_PATH=${prefix}
    -DCMAKE_CXX_COMPILER=${CXX_COMPILER})
  if(MAKE_PROGRAM)
    list(APPEND c -DCMAKE_MAKE_PROGRAM=${MAKE_PROGRAM})
  endif()
  if(CXX_LAUNCHER)
    list(APPEND c -DCMAKE_CXX_COMPILER_LAUNCHER=${CXX_LAUNCHER})
  endif()
  set(${out} ${c} PARENT_SCOPE)
endfunction()
configure_command(${HOST_SOURCE_DIR} ${host_build} configure)
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

# ---- the hosting guide's host -------------------------------------------------------------------
# Each fenced block whose opening line names a file after the language ("```cpp main.cpp")
# is appended to that file; the other blocks only illustrate.
set(doc_source ${WORK_DIR}/doc-host)
set(doc_build ${WORK_DIR}/doc-host-build)
set(doc_run ${WORK_DIR}/doc-run)
file(MAKE_DIRECTORY ${doc_source} ${doc_run}/registry ${doc_run}/windows ${doc_run}/logs)
file(READ ${HOSTING_DOC} text)
set(doc_files "")
while(TRUE)
  string(FIND "${text}" "\n```" open)
  if(open EQUAL -1)
    break()
  endif()
  math(EXPR after "${open} + 4")
  string(SUBSTRING "${text}" ${after} -1 text)
  string(FIND "${text}" "\n" eol)
  if(eol EQUAL -1)
    message(FATAL_ERROR "${HOSTING_DOC}: a code block is not closed")
  endif()
  string(SUBSTRING "${text}" 0 ${eol} info)
  math(EXPR body_at "${eol} + 1")
  string(SUBSTRING "${text}" ${body_at} -1 text)
  string(FIND "${text}" "\n```" close)
  if(close EQUAL -1)
    message(FATAL_ERROR "${HOSTING_DOC}: the block \"${info}\" is not closed")
  endif()
  math(EXPR body_length "${close} + 1")
  string(SUBSTRING "${text}" 0 ${body_length} body)
  math(EXPR rest "${close} + 4")
  string(SUBSTRING "${text}" ${rest} -1 text)
  if(info MATCHES "^[A-Za-z]+ ([A-Za-z0-9_.]+)$")
    set(name ${CMAKE_MATCH_1})
    if(NOT name IN_LIST doc_files)
      list(APPEND doc_files ${name})
      file(WRITE ${doc_source}/${name} "")
    endif()
    file(APPEND ${doc_source}/${name} "${body}")
  endif()
endwhile()
foreach(f CMakeLists.txt main.cpp console.rc resource.h)
  if(NOT f IN_LIST doc_files)
    message(FATAL_ERROR "${HOSTING_DOC} gives no ${f} (it gives: ${doc_files})")
  endif()
endforeach()
configure_command(${doc_source} ${doc_build} doc_configure)
step("configure the guide's host" ${doc_configure})
step("build the guide's host" ${CMAKE_COMMAND} --build ${doc_build})
# Headless whatever the test's surroundings: it pictures its window and ends.
step("run the guide's host" ${CMAKE_COMMAND} -E env --unset=ZYN_SCHEMA_DIR --unset=ZYN_SOURCE_DIR --unset=DISPLAY
  --unset=WAYLAND_DISPLAY ZYN_REGISTRY_DIR=${doc_run}/registry ZYN_WINDIR=${doc_run}/windows
  ZYN_LOG_DIR=${doc_run}/logs ${doc_build}/door_console ${doc_run}/door-console.png)
if(NOT EXISTS ${doc_run}/door-console.png)
  message(FATAL_ERROR "the guide's host wrote no picture")
endif()

string(TIMESTAMP finished "%s%f")
math(EXPR total "(${finished} - ${started}) / 1000")
message(STATUS "package test: ${total} ms in all")
