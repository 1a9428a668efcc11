# Applied to every target of ours; never set as global flags.
function(halvex_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(HALVEX_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# A shared library of ours: default visibility so that template messages and their type
# information are one across libraries.
function(halvex_shared_library target)
  add_library(${target} SHARED ${ARGN})
  target_link_libraries(${target} PUBLIC halvex_base)
  halvex_warnings(${target})
endfunction()
