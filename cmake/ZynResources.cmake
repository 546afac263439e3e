# zyn_add_resources(<target> <script.rc>...
#                   [FUNCTION <qualified::name> | MODULE <name>]
#                   [INCLUDE_DIRECTORIES <dir>...] [DEFINITIONS <NAME[=VALUE]>...]
#                   [LANGUAGE <n>])
#
# Compiles resource scripts with zyn-rc at build time into a C++ source that holds the
# resources in their standard binary layouts and adds it to <target>. Scripts given
# together are compiled as one (their icon image IDs are numbered across them); call the
# function once per target, in the directory that defines the target.
# The package installs this file beside its config: a host's find_package(ZynCmn) defines
# the same function over the installed compiler.
#
# How the resources reach a module at run time:
#   (default)        when the target is loaded, they are added to the module the code is
#                    linked into: the executable, or the shared library.
#   FUNCTION f       nothing happens at load; `bool f(HMODULE)` adds them to a module of the
#                    caller's choice (the library's "ZynCommonResources" is made this way).
#   MODULE name      at load, a resource-only module `name` is registered, the resources are
#                    added to it and it joins the back of the resource chain.
#
# INCLUDE_DIRECTORIES are searched for #include files and for the files of BITMAP, ICON,
# CURSOR and user-defined resources, after the script's own folder; the compiler's own
# platform headers (windows.h, winres.h, winresrc.h, winuser.h, winnt.h, winver.h,
# commctrl.h, dlgs.h, prsht.h, richedit.h, winspool.h) and afxres.h come last. Header
# files changed after a build rebuild the resources (zyn-rc writes a dependency file).
# Errors name the script or header and the line: "app.rc(12): error: ...".
function(zyn_add_resources target)
  cmake_parse_arguments(R "" "FUNCTION;MODULE;LANGUAGE" "INCLUDE_DIRECTORIES;DEFINITIONS" ${ARGN})
  set(scripts)
  foreach(s ${R_UNPARSED_ARGUMENTS})
    get_filename_component(abs ${s} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    list(APPEND scripts ${abs})
  endforeach()
  if(NOT scripts)
    message(FATAL_ERROR "zyn_add_resources(${target}): no script given")
  endif()
  if(R_FUNCTION AND R_MODULE)
    message(FATAL_ERROR "zyn_add_resources(${target}): FUNCTION and MODULE exclude each other")
  endif()

  set(args)
  foreach(d ${R_INCLUDE_DIRECTORIES})
    get_filename_component(abs ${d} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    list(APPEND args -I ${abs})
  endforeach()
  foreach(d ${R_DEFINITIONS})
    list(APPEND args -D ${d})
  endforeach()
  if(R_FUNCTION)
    list(APPEND args --function ${R_FUNCTION})
  endif()
  if(R_MODULE)
    list(APPEND args --module ${R_MODULE})
  endif()
  if(DEFINED R_LANGUAGE)
    list(APPEND args --language ${R_LANGUAGE})
  endif()

  # The project's own compiler in its build tree; the installed one in a host's build.
  if(TARGET zyn-rc)
    set(rc zyn-rc)
    set(rc_dep zyn-rc)
  elseif(TARGET ZynCmn::zyn-rc)
    set(rc ZynCmn::zyn-rc)
    set(rc_dep $<TARGET_FILE:ZynCmn::zyn-rc>)
  else()
    message(FATAL_ERROR "zyn_add_resources(${target}): no resource compiler (zyn-rc); find_package(ZynCmn) first")
  endif()

  list(GET scripts 0 first)
  get_filename_component(stem ${first} NAME_WE)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_${stem}_rc.cpp)
  add_custom_command(OUTPUT ${out}
    COMMAND ${rc} ${args} -o ${out} --depfile ${out}.d ${scripts}
    DEPENDS ${rc_dep} ${scripts}
    DEPFILE ${out}.d
    COMMENT "Compiling resources ${stem} for ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${out})
endfunction()
