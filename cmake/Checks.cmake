# Run-time checks of a build tree, chosen by the presets: the standard library's assertions and
# the sanitizers. They ride on a target's usage requirements, never on global flags.
option(HALVEX_ASSERTIONS "Bounds and precondition checks in the standard library" OFF)
set(HALVEX_SANITIZE "" CACHE STRING "Sanitizers: empty, address (with undefined) or thread")
set_property(CACHE HALVEX_SANITIZE PROPERTY STRINGS "" address thread)

function(halvex_checks target scope)
  if(HALVEX_ASSERTIONS)
    target_compile_definitions(${target} ${scope} _GLIBCXX_ASSERTIONS)
  endif()
  if(HALVEX_SANITIZE STREQUAL "address")
    target_compile_options(${target} ${scope} -fsanitize=address,undefined
      -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(${target} ${scope} -fsanitize=address,undefined)
  elseif(HALVEX_SANITIZE STREQUAL "thread")
    target_compile_options(${target} ${scope} -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(${target} ${scope} -fsanitize=thread)
  elseif(NOT HALVEX_SANITIZE STREQUAL "")
    message(FATAL_ERROR "HALVEX_SANITIZE must be empty, address or thread, not ${HALVEX_SANITIZE}")
  endif()
endfunction()
