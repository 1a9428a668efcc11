# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (the posix thread model, which
# std::thread and std::mutex need). Libraries are looked for in the Windows dependency prefix
# (tools/windows/deps.sh) and the cross compiler's own folder, never in the build machine's.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(HALVEX_MINGW_HOST x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${HALVEX_MINGW_HOST}-gcc-posix)
set(CMAKE_CXX_COMPILER ${HALVEX_MINGW_HOST}-g++-posix)
set(CMAKE_RC_COMPILER ${HALVEX_MINGW_HOST}-windres)

if(NOT HALVEX_WINDOWS_DEPS)
  if(DEFINED ENV{HALVEX_WINDOWS_DEPS})
    set(HALVEX_WINDOWS_DEPS $ENV{HALVEX_WINDOWS_DEPS})
  else()
    set(HALVEX_WINDOWS_DEPS $ENV{HOME}/.cache/halvex-windows-deps)
  endif()
endif()
set(HALVEX_WINDOWS_DEPS ${HALVEX_WINDOWS_DEPS} CACHE PATH "Prefix of the Windows platform libraries")

set(CMAKE_FIND_ROOT_PATH ${HALVEX_WINDOWS_DEPS} /usr/${HALVEX_MINGW_HOST})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config reads only the dependency prefix's files.
set(ENV{PKG_CONFIG_LIBDIR} ${HALVEX_WINDOWS_DEPS}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
