# The Windows install and its zip: the programs, every DLL they load that Windows does not have
# (ours, the platform libraries built by tools/windows/deps.sh, and the compiler's C++ and
# thread runtimes) and Assets/, all in one folder. The game finds Assets/ beside its program,
# so the unpacked folder runs wherever it is put.
install(TARGETS Halvex halvex-validate RUNTIME DESTINATION .)
install(TARGETS VornEngine VornPhysics2D VornTiled VornParticle VornAudio VornGraphics VornUI
  VornAnimation RUNTIME DESTINATION .)

# One copy of the C++ runtime shared by all our DLLs, rather than one linked into each: objects
# and exceptions cross the DLLs' borders.
set(halvex_runtime_dlls)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
    message(FATAL_ERROR "The cross compiler has no ${dll}")
  endif()
  list(APPEND halvex_runtime_dlls ${path})
endforeach()
file(GLOB halvex_platform_dlls ${HALVEX_WINDOWS_DEPS}/bin/*.dll)
if(NOT halvex_platform_dlls)
  message(FATAL_ERROR "No platform DLLs in ${HALVEX_WINDOWS_DEPS}/bin: run tools/windows/deps.sh")
endif()
install(FILES ${halvex_runtime_dlls} ${halvex_platform_dlls} DESTINATION .)
install(DIRECTORY Assets/ DESTINATION Assets)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Halvex)
set(CPACK_PACKAGE_VERSION 1.0.0)
set(CPACK_SYSTEM_NAME windows-x64)
set(CPACK_PACKAGE_FILE_NAME Halvex-windows-x64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
