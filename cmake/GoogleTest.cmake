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
#                   [TIMEOUT <seconds>] [PREFIX <name>] [STDCALL])
# Registers the tests of a tandor_gtest program with CTest. With VERSION the
# program is linked again as <target>-<version>.exe, which Wine runs as that
# Windows version, and its tests are named "<version>.<suite>.<test>". With
# PREFIX the names begin with "<name>." (before the version). With STDCALL
# the program runs from bin/stdcall, where the simulated driver and
# wdmI2cDll.dll are their __stdcall builds (tests/CMakeLists.txt), and the
# names begin with "stdcall.".
function(tandor_wine_tests target)
  cmake_parse_arguments(T "STDCALL" "VERSION;FILTER;TIMEOUT;PREFIX" "" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set(name ${target})
  set(prefix "")
  set(folder ${TANDOR_BIN_DIR})
  if(T_STDCALL)
    set(prefix "stdcall.")
    set(folder ${TANDOR_STDCALL_DIR})
  endif()
  if(T_PREFIX)
    set(prefix "${prefix}${T_PREFIX}.")
  endif()
  if(T_VERSION)
    set(name ${target}-${T_VERSION})
    set(prefix "${prefix}${T_VERSION}.")
    set_property(GLOBAL APPEND PROPERTY TANDOR_VERSIONED_NAMES ${target})
  endif()
  set(exe ${name})
  if(T_STDCALL)
    set(exe ${name}-stdcall)
  endif()
  if(NOT TARGET ${exe})
    add_executable(${exe})
    target_link_libraries(${exe} PRIVATE ${target}_objects GTest::gtest_main)
    set_target_properties(${exe} PROPERTIES OUTPUT_NAME ${name}
                          RUNTIME_OUTPUT_DIRECTORY ${folder})
    tandor_tool(${exe})
    add_dependencies(${exe} wine_prefixes)
    if(T_STDCALL)
      add_dependencies(${exe} stdcall_bin)
    endif()
  endif()
  set(filter_args)
  if(T_FILTER)
    set(filter_args TEST_FILTER ${T_FILTER})
  endif()
  gtest_discover_tests(${exe}
    TEST_PREFIX "${prefix}"
    ${filter_args}
    WORKING_DIRECTORY ${folder}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    PROPERTIES RESOURCE_GROUPS "wine:1" TIMEOUT ${T_TIMEOUT})
endfunction()
