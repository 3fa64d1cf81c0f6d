# GoogleTest from Debian's source package, built for the target, and the
# rule that makes a test program and registers its tests with CTest.

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

# tandor_test_program(<program> SOURCES <files...> [LIBS <libraries...>]
#                     [NEEDS <targets...>] [TIMEOUT <seconds>])
# The test program of one thing tested, <program>_tests.exe, run under Wine
# in each way that the rows of TANDOR_TEST_RUNS (tests/CMakeLists.txt) give
# for <program>, its tests named "<program>.[stdcall.][<version>.]<suite>.
# <test>". NEEDS: what the tests load or start at run time.
function(tandor_test_program program)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;NEEDS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_library(${program}_tests_objects OBJECT ${T_SOURCES})
  target_link_libraries(${program}_tests_objects PUBLIC
    GTest::gtest tandor_testsupport ${T_LIBS})

  # The program's "*" row gives `everywhere`; every other row a pattern and
  # the ways it runs.
  set(everywhere)
  set(patterns)
  set(all_ways)
  foreach(row IN LISTS TANDOR_TEST_RUNS)
    string(REGEX MATCHALL "[^ \t\n]+" fields "${row}")
    list(POP_FRONT fields row_program pattern)
    if(NOT row_program STREQUAL program)
      continue()
    endif()
    if(NOT fields)
      message(FATAL_ERROR "TANDOR_TEST_RUNS: \"${row}\" runs nowhere")
    endif()
    if(pattern STREQUAL "*")
      set(everywhere ${fields})
    else()
      list(LENGTH patterns index)
      list(APPEND patterns "${pattern}")
      set(ways_${index} ${fields})
    endif()
    list(APPEND all_ways ${fields})
  endforeach()
  if(NOT everywhere)
    message(FATAL_ERROR "TANDOR_TEST_RUNS has no row \"${program} *\"")
  endif()
  list(REMOVE_DUPLICATES all_ways)
  list(REMOVE_ITEM all_ways child)

  # A way of the "*" row runs every suite but those of rows without it; any
  # other way runs the suites of its rows.
  list(LENGTH patterns count)
  foreach(way IN LISTS all_ways)
    set(with)
    set(without)
    if(count GREATER 0)
      math(EXPR last "${count} - 1")
      foreach(index RANGE ${last})
        list(GET patterns ${index} pattern)
        if(way IN_LIST ways_${index})
          list(APPEND with ${pattern})
        else()
          list(APPEND without ${pattern})
        endif()
      endforeach()
    endif()
    if(way IN_LIST everywhere)
      set(filter "*")
      if(without)
        list(JOIN without ":" without)
        string(APPEND filter "-${without}")
      endif()
    else()
      list(JOIN with ":" filter)
    endif()
    _tandor_run_tests(${program} ${way} "${filter}" ${T_TIMEOUT} ${T_NEEDS})
  endforeach()
endfunction()

# Registers the tests of <program> that `filter` selects, run in `way`: the
# program linked as <program>_tests[-<version>].exe, in the bin folder or,
# for "stdcall." ways, in bin/stdcall, where the simulated driver and
# wdmI2cDll.dll are their __stdcall builds.
function(_tandor_run_tests program way filter timeout)
  string(REPLACE "." ";" parts "${way}")
  set(name ${program}_tests)
  set(exe ${name})
  set(prefix "${program}.")
  set(folder ${TANDOR_BIN_DIR})
  if("stdcall" IN_LIST parts)
    list(REMOVE_ITEM parts stdcall)
    set(exe ${name}-stdcall)
    string(APPEND prefix "stdcall.")
    set(folder ${TANDOR_STDCALL_DIR})
  endif()
  if(NOT parts STREQUAL "default" AND NOT parts STREQUAL "")
    # Wine's settings name <program>_tests-<version>.exe for every version.
    set_property(GLOBAL APPEND PROPERTY TANDOR_VERSIONED_NAMES ${name})
    set(name ${name}-${parts})
    set(exe ${exe}-${parts})
    string(APPEND prefix "${parts}.")
  endif()
  add_executable(${exe})
  target_link_libraries(${exe} PRIVATE ${program}_tests_objects GTest::gtest_main)
  set_target_properties(${exe} PROPERTIES OUTPUT_NAME ${name}
                        RUNTIME_OUTPUT_DIRECTORY ${folder})
  tandor_tool(${exe})
  add_dependencies(${exe} wine_prefixes ${ARGN})
  if(NOT folder STREQUAL TANDOR_BIN_DIR)
    add_dependencies(${exe} stdcall_bin)
  endif()
  gtest_discover_tests(${exe}
    TEST_PREFIX "${prefix}"
    TEST_FILTER "${filter}"
    WORKING_DIRECTORY ${folder}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    PROPERTIES RESOURCE_GROUPS "wine:1" TIMEOUT ${timeout})
endfunction()
