# What a Windows user gets: the two DLLs and the check tool with their
# version information, a sample settings file and the user guide, packed as
# a ZIP with its SHA256SUMS by `cmake -P build/PackRelease.cmake` (or
# `scripts/package.sh`, which builds them first).

enable_language(RC)

# tandor_version_resource(<target> <file name> <description>)
function(tandor_version_resource target file description)
  set(TANDOR_RC_FILE ${file})
  set(TANDOR_RC_NAME ${target})
  set(TANDOR_RC_DESCRIPTION ${description})
  set(rc ${CMAKE_BINARY_DIR}/version/${target}.rc)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  set_property(TARGET ${target} PROPERTY TANDOR_DESCRIPTION "${description}")
endfunction()

if(TARGET TandorUtl)
  tandor_version_resource(TandorUtl TandorUtl.dll
    "Tandor card utility library: software I2C through the capture driver")
  install(TARGETS TandorUtl RUNTIME DESTINATION . LIBRARY DESTINATION .)
endif()
if(TARGET tandor)
  tandor_version_resource(tandor tandor.dll
    "Tandor remote-control plug-in for Mirabo")
  install(TARGETS tandor RUNTIME DESTINATION . LIBRARY DESTINATION .)
endif()
if(TARGET tandorcheck)
  tandor_version_resource(tandorcheck tandorcheck.exe
    "Tandor remote check tool: driver, card, receiver and keys")
  install(TARGETS tandorcheck RUNTIME DESTINATION .)
endif()
# Windows' own editors of that time want CR LF line ends.
foreach(doc mirabo.ini USER-GUIDE.txt)
  configure_file(${CMAKE_SOURCE_DIR}/dist/${doc} ${CMAKE_BINARY_DIR}/dist/${doc}
                 @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${CMAKE_BINARY_DIR}/dist/${doc} DESTINATION .)
endforeach()

# Packing builds nothing: scripts/package.sh builds what is packed first, and
# the delivery tests pack a tree that the test run has just built.
set(TANDOR_RELEASE_NAME "TandorRemote-${PROJECT_VERSION}-win32")
configure_file(${CMAKE_SOURCE_DIR}/cmake/PackRelease.cmake.in
               ${CMAKE_BINARY_DIR}/PackRelease.cmake @ONLY)
