# Running the Windows test programs under Wine.
#
# Each test runs in one of TANDOR_WINE_SLOTS private Wine prefixes in the
# build tree. CTest hands every test one slot of the resource "wine" (see
# wine/resources.json and scripts/test.sh), so that tests running at the same
# time never share a Wine server: the card utility library's named shared
# region is machine-wide, and two tests must not see each other's.

find_program(WINE_PROGRAM wine REQUIRED)
find_program(WINESERVER_PROGRAM wineserver REQUIRED)

set(TANDOR_WINE_DIR ${CMAKE_BINARY_DIR}/wine)
set(TANDOR_WINE_SLOTS 2 CACHE STRING "Wine prefixes, one per test run in parallel")
# The Windows versions a program can be made to see, by Wine's names.
set(TANDOR_WINDOWS_VERSIONS win31 win95 win98 winme nt40 win2k winxp win2003 win10)
# Programs that tests run under each of those versions, copied as
# <name>-<version>.exe (Wine picks the version by the program's file name).
set(TANDOR_VERSIONED_PROGRAMS host probe tandorcheck)

configure_file(${CMAKE_SOURCE_DIR}/scripts/wine-run.in ${TANDOR_WINE_DIR}/wine-run
               @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
               GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TANDOR_WINE_DIR}/wine-run)

set(_slots)
math(EXPR _last "${TANDOR_WINE_SLOTS} - 1")
foreach(slot RANGE ${_last})
  list(APPEND _slots "{ \"id\": \"${slot}\", \"slots\": 1 }")
endforeach()
list(JOIN _slots ", " _slots)
file(WRITE ${TANDOR_WINE_DIR}/resources.json
  "{ \"version\": { \"major\": 1, \"minor\": 0 },\n"
  "  \"local\": [ { \"wine\": [ ${_slots} ] } ] }\n")

# The registry settings of every prefix: headless, no crash dialog, and the
# Windows version of each versioned program.
string(CONCAT _reg
  "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\n\"Graphics\"=\"null\"\n\n"
  "[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\n\"ShowCrashDialog\"=dword:00000000\n\n")
function(_tandor_version_entries var)
  set(reg "${${var}}")
  foreach(name ${ARGN})
    foreach(version ${TANDOR_WINDOWS_VERSIONS})
      string(APPEND reg "[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\${name}-${version}.exe]\n"
                        "\"Version\"=\"${version}\"\n\n")
    endforeach()
  endforeach()
  set(${var} "${reg}" PARENT_SCOPE)
endfunction()

# Registers the Windows-version copies that tandor_test_program makes; the
# registry file is written once all of them are known.
set_property(GLOBAL PROPERTY TANDOR_VERSIONED_NAMES ${TANDOR_VERSIONED_PROGRAMS})
function(_tandor_write_wine_registry)
  get_property(names GLOBAL PROPERTY TANDOR_VERSIONED_NAMES)
  list(REMOVE_DUPLICATES names)
  set(reg "${_reg}")
  _tandor_version_entries(reg ${names})
  file(WRITE ${TANDOR_WINE_DIR}/settings.reg.new "${reg}")
  configure_file(${TANDOR_WINE_DIR}/settings.reg.new ${TANDOR_WINE_DIR}/settings.reg COPYONLY)
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL _tandor_write_wine_registry)

add_custom_command(
  OUTPUT ${TANDOR_WINE_DIR}/ready.stamp
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-prefix.sh ${TANDOR_WINE_DIR}
          ${TANDOR_WINE_SLOTS} ${TANDOR_WINE_DIR}/settings.reg
  COMMAND ${CMAKE_COMMAND} -E touch ${TANDOR_WINE_DIR}/ready.stamp
  DEPENDS ${CMAKE_SOURCE_DIR}/scripts/wine-prefix.sh ${TANDOR_WINE_DIR}/settings.reg
  COMMENT "Preparing the Wine prefixes"
  VERBATIM)
add_custom_target(wine_prefixes ALL DEPENDS ${TANDOR_WINE_DIR}/ready.stamp)
