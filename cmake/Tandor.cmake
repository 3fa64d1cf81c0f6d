# Build rules shared by the project's targets.

# A DLL that we deliver to users: it must load on Windows 98 and 2000, so it
# carries the compiler's runtime statically, uses neither exceptions nor
# run-time type information (whose support code would pull in the threading
# runtime and with it imports those systems lack), and imports nothing but
# system DLLs. The .def file passed among its sources fixes its exports.
function(tandor_delivered_dll target)
  set_target_properties(${target} PROPERTIES PREFIX "")
  target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti
                                           -fno-asynchronous-unwind-tables)
  target_link_options(${target} PRIVATE -static -static-libgcc
                                        -static-libstdc++ -Wl,--enable-stdcall-fixup)
endfunction()

# A program or DLL used only by the tests, the demo and the stand-in host.
function(tandor_tool target)
  target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
endfunction()
