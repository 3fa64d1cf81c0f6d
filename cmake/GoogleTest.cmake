# GoogleTest from Debian's source package, built for the target, and the
# rules that turn a test program into CTest tests run under Wine.

set(TANDOR_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest's sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${TANDOR_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(gtest_target gtest gtest_main)
  target_compile_options(${gtest_target} PRIVATE -Wno-error)
  set_target_properties(${gtest_target} PROPERTIES
    ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/googletest/lib)
endforeach()

include(GoogleTest)

# tandor_gtest(<target> SOURCES <files...> [LIBS <libraries...>])
# A GoogleTest program <target>.exe in the bin folder, built from an object
# library that tandor_wine_tests can link again under other file names.
function(tandor_gtest target)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${target}_objects OBJECT ${T_SOURCES})
  target_link_libraries(${target}_objects PUBLIC GTest::gtest tandor_testsupport ${T_LIBS})
  add_executable(${target})
  target_link_libraries(${target} PRIVATE ${target}_objects GTest::gtest_main)
  tandor_tool(${target})
  add_dependencies(${target} wine_prefixes)
endfunction()

# tandor_wine_tests(<target> [VERSION <windows-version>] [FILTER <gtest filter>]
#                   [TIMEOUT <seconds>] [PREFIX <name>])
# Registers the tests of a tandor_gtest program with CTest. With VERSION the
# program is linked again as <target>-<version>.exe, which Wine runs as that
# Windows version, and its tests are named "<version>.<suite>.<test>". With
# PREFIX the names begin with "<name>." (before the version).
function(tandor_wine_tests target)
  cmake_parse_arguments(T "" "VERSION;FILTER;TIMEOUT;PREFIX" "" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set(exe ${target})
  set(prefix "")
  if(T_PREFIX)
    set(prefix "${T_PREFIX}.")
  endif()
  if(T_VERSION)
    set(exe ${target}-${T_VERSION})
    set(prefix "${prefix}${T_VERSION}.")
    add_executable(${exe})
    target_link_libraries(${exe} PRIVATE ${target}_objects GTest::gtest_main)
    tandor_tool(${exe})
    add_dependencies(${exe} wine_prefixes)
    set_property(GLOBAL APPEND PROPERTY TANDOR_VERSIONED_NAMES ${target})
  endif()
  set(filter_args)
  if(T_FILTER)
    set(filter_args TEST_FILTER ${T_FILTER})
  endif()
  gtest_discover_tests(${exe}
    TEST_PREFIX "${prefix}"
    ${filter_args}
    WORKING_DIRECTORY ${TANDOR_BIN_DIR}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    PROPERTIES RESOURCE_GROUPS "wine:1" TIMEOUT ${T_TIMEOUT})
endfunction()
