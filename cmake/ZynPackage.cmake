# The installable package: `cmake --install` puts the two shared libraries, their headers,
# the resource compiler, zyn-createdb, the schema files and a CMake package under the
# prefix, so that a host project writes
#
#   find_package(ZynCmn REQUIRED)
#   target_link_libraries(app PRIVATE ZynCmn::ZynCmn)
#   zyn_add_resources(app app.rc)
#
# Layout (relative to the prefix; the library folder follows GNUInstallDirs):
#   lib/libZynCmn.so, lib/libzynplatform.so
#   bin/zyn-rc, bin/zyn-createdb
#   include/ZynCmn/<folder>/...h      the source tree's folders, so hosts include
#                                     "app/zyn_app.h" and "platform/afx/frame.h" as here
#   share/ZynCmn/schema/*.sql         found by the library beside itself (schema_loader)
#   lib/cmake/ZynCmn/                 ZynCmnConfig.cmake, the exported targets,
#                                     ZynResources.cmake
#
# Everything is in the component "ZynCmn"; installing copies what the build made and
# rewrites the run paths, it compiles nothing.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(ZYN_PACKAGE_COMPONENT ZynCmn)
set(ZYN_PACKAGE_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/ZynCmn)
set(ZYN_PACKAGE_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/ZynCmn)

# ---- what a host sees of the two libraries ----------------------------------------------------
# In the build tree the libraries pass on the project's own options (warnings as errors,
# the source root as include folder) and the third-party libraries they link. A host needs
# none of that: no public header includes a third-party header, and the shared libraries
# carry their own dependencies. So every link item that is not one of the exported targets
# is kept for the build tree only; the installed targets give the include folder, C++20
# and, from a sanitized build, the sanitizer run-time the libraries need in the executable.
set(ZYN_PACKAGE_TARGETS zynplatform ZynCmn)
foreach(t ${ZYN_PACKAGE_TARGETS})
  get_target_property(items ${t} INTERFACE_LINK_LIBRARIES)
  set(kept)
  if(items)
    foreach(item ${items})
      if(item IN_LIST ZYN_PACKAGE_TARGETS)
        list(APPEND kept "${item}")
      else()
        list(APPEND kept "$<BUILD_INTERFACE:${item}>")
      endif()
    endforeach()
  endif()
  set_target_properties(${t} PROPERTIES INTERFACE_LINK_LIBRARIES "${kept}")
endforeach()
target_include_directories(zynplatform INTERFACE $<INSTALL_INTERFACE:${ZYN_PACKAGE_INCLUDEDIR}>)
target_compile_features(zynplatform INTERFACE cxx_std_20)
if(ZYN_SANITIZE OR ZYN_LIBFUZZER)
  target_link_options(zynplatform INTERFACE $<INSTALL_INTERFACE:-fsanitize=address,undefined>)
endif()

# Installed programs and libraries find ours beside them, wherever the prefix is.
file(RELATIVE_PATH bin_to_lib /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${CMAKE_INSTALL_LIBDIR})
set_target_properties(ZynCmn PROPERTIES INSTALL_RPATH "$ORIGIN")
set_target_properties(zyn-createdb PROPERTIES INSTALL_RPATH "$ORIGIN/${bin_to_lib}")

install(TARGETS zynplatform ZynCmn EXPORT ZynCmnTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT ${ZYN_PACKAGE_COMPONENT})
install(TARGETS zyn-rc EXPORT ZynCmnTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${ZYN_PACKAGE_COMPONENT})
install(TARGETS zyn-createdb
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${ZYN_PACKAGE_COMPONENT})

# ---- headers: every header of the platform, the system and the resource IDs ------------------
set(header_dirs platform ${ZYN_SYSTEM_DIRS} resources)
list(REMOVE_DUPLICATES header_dirs)
foreach(d ${header_dirs})
  if(NOT IS_DIRECTORY ${PROJECT_SOURCE_DIR}/${d})
    continue()
  endif()
  file(GLOB_RECURSE headers RELATIVE ${PROJECT_SOURCE_DIR} CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${d}/*.h)
  foreach(h ${headers})
    get_filename_component(sub ${h} DIRECTORY)
    list(APPEND headers_in_${sub} ${PROJECT_SOURCE_DIR}/${h})
    list(APPEND header_subdirs ${sub})
  endforeach()
endforeach()
list(REMOVE_DUPLICATES header_subdirs)
foreach(sub ${header_subdirs})
  install(FILES ${headers_in_${sub}} DESTINATION ${ZYN_PACKAGE_INCLUDEDIR}/${sub}
    COMPONENT ${ZYN_PACKAGE_COMPONENT})
endforeach()

# The library looks for the schema at this place relative to itself.
file(RELATIVE_PATH lib_to_schema /prefix/${CMAKE_INSTALL_LIBDIR} /prefix/${CMAKE_INSTALL_DATADIR}/ZynCmn/schema)
target_compile_definitions(zynp_suite_database PRIVATE ZYN_SCHEMA_INSTALL_RELDIR="${lib_to_schema}")
install(DIRECTORY ${PROJECT_SOURCE_DIR}/db/schema/ DESTINATION ${CMAKE_INSTALL_DATADIR}/ZynCmn/schema
  COMPONENT ${ZYN_PACKAGE_COMPONENT} FILES_MATCHING PATTERN "*.sql")

# ---- the CMake package --------------------------------------------------------------------------
install(EXPORT ZynCmnTargets NAMESPACE ZynCmn:: DESTINATION ${ZYN_PACKAGE_CMAKEDIR}
  COMPONENT ${ZYN_PACKAGE_COMPONENT})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/ZynCmnConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/package/ZynCmnConfig.cmake
  INSTALL_DESTINATION ${ZYN_PACKAGE_CMAKEDIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/package/ZynCmnConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/package/ZynCmnConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/package/ZynCmnConfigVersion.cmake
  ${PROJECT_SOURCE_DIR}/cmake/ZynResources.cmake
  DESTINATION ${ZYN_PACKAGE_CMAKEDIR} COMPONENT ${ZYN_PACKAGE_COMPONENT})
