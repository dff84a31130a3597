# The Windows build, cross-compiled with MinGW-w64 (cmake/mingw-w64-x86_64.cmake): each
# program is one file that needs no DLL beyond Windows' own, so libstdc++, libgcc and
# winpthread are linked in.
add_link_options(-static)

# Its tests run under Wine, as on a Russian Windows, in a prefix of the build's own.
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine.sh ${PROJECT_BINARY_DIR}/wine)

# The seams that speak COM and OLE, plain Win32, each with tests of its own.
include(${PROJECT_SOURCE_DIR}/platform/windows/com.cmake)

# Each program carries its icon and version, as Explorer shows them (packaging/windows).
enable_language(RC)
function(zelm_windows_resources target description)
  set(ZELM_RC_NAME ${target})
  set(ZELM_RC_DESCRIPTION ${description})
  set(ZELM_RC_ICON ${PROJECT_SOURCE_DIR}/packaging/windows/zelm.ico)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/version.rc.in
                 ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
endfunction()

# The README the zip carries, with the version (packaging/windows/pack.sh takes it from here).
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/README.txt.in ${PROJECT_BINARY_DIR}/README.txt
               @ONLY)
