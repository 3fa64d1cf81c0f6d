# Build rules shared by the project's targets.

# Code that goes into a binary we deliver to users. Our users run Windows 95
# (as shipped) to XP on processors from the 486 on, so:
# - it is compiled for the 486: the compiler's default target, the Pentium
#   Pro, brings CMOV and FCOMI, which the Pentium, the AMD K6 family and the
#   486 lack (the first one executed takes the host down). The assembler is
#   held to the 486 as well, so inline assembly cannot slip past;
# - it uses neither exceptions nor run-time type information, whose support
#   lives in the C++ runtime that these binaries do not link.
function(tandor_delivered_code target)
  target_compile_options(${target} PRIVATE -march=i486 -Wa,-march=i486
                                           -fno-exceptions -fno-rtti
                                           -fno-asynchronous-unwind-tables)
endfunction()

# A delivered binary links no C runtime (-nostdlib): Windows 95 has no
# msvcrt.dll, and the toolchain's start-up code gives a DLL a TLS
# directory, which makes Windows 95 and Win32s refuse to LoadLibrary it.
# runtime/ stands in for both; the binary imports nothing but kernel32 and
# user32. libgcc supplies only the compiler's own helpers (64-bit division).
#
# Its header asks for Windows 4.0, operating system and subsystem alike:
# Windows 95, 98 and NT 4 refuse a file that asks for 5.0, the default that
# toolchains moved to, so the fields are set here rather than left to the
# linker's default.
#
# It carries no link time (the header's and the export directory's time
# stamps are 0), so that one commit gives the same bytes whenever it is built.
function(_tandor_without_runtime target)
  tandor_delivered_code(${target})
  target_link_options(${target} PRIVATE -nostdlib -Wl,--enable-stdcall-fixup
    -Wl,--no-insert-timestamp
    -Wl,--major-os-version,4 -Wl,--minor-os-version,0
    -Wl,--major-subsystem-version,4 -Wl,--minor-subsystem-version,0)
  target_link_libraries(${target} PRIVATE tandor_runtime tandor_no_crt
                                          kernel32 user32 gcc)
endfunction()

# A delivered DLL. Its DllMain is called by runtime/'s entry point; the .def
# file among its sources fixes its exports.
function(tandor_delivered_dll target)
  _tandor_without_runtime(${target})
  set_target_properties(${target} PROPERTIES PREFIX "")
endfunction()

# tandor_plugin_dll(<target> [<source>...]): a plug-in DLL, all of the
# plug-in's code (remote/'s tandor_plugin; the host reaches it through the
# export only, so the whole library goes in) with the one export that
# remote/tandor.def fixes, and any further sources of the caller's.
function(tandor_plugin_dll target)
  add_library(${target} SHARED ${ARGN} ${CMAKE_SOURCE_DIR}/remote/tandor.def)
  set_target_properties(${target} PROPERTIES LINKER_LANGUAGE CXX)
  target_link_libraries(${target} PRIVATE
                        "$<LINK_LIBRARY:WHOLE_ARCHIVE,tandor_plugin>")
  tandor_delivered_dll(${target})
endfunction()

# A delivered console program. It defines its own mainCRTStartup, the
# entry point where the C runtime's start-up code would stand.
function(tandor_delivered_program target)
  _tandor_without_runtime(${target})
  target_link_options(${target} PRIVATE -mconsole)
endfunction()

# A program or DLL used only by the tests, the demo and the stand-in host.
function(tandor_tool target)
  target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
endfunction()
