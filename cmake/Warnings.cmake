# Applied to every target of ours; never set as global flags.
function(halvex_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(HALVEX_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  # In a unity build every source is an included file, and GCC then warns of each test fixture
  # in an anonymous namespace as if it were in a header shared between units.
  target_compile_options(${target} PRIVATE
    $<$<AND:$<CXX_COMPILER_ID:GNU>,$<BOOL:$<TARGET_PROPERTY:UNITY_BUILD>>>:-Wno-subobject-linkage>)
endfunction()

# A shared library of ours: default visibility so that template messages and their type
# information are one across libraries. Every symbol must resolve against the libraries it
# links, so a use of a layer it does not link fails at link time (the sanitizers' runtimes are
# left to the programs, as are the fuzz preset's).
function(halvex_shared_library target)
  add_library(${target} SHARED ${ARGN})
  target_link_libraries(${target} PUBLIC halvex_common)
  halvex_layer_include(${target})
  if(HALVEX_SANITIZE STREQUAL "" AND NOT HALVEX_FUZZ)
    target_link_options(${target} PRIVATE -Wl,--no-undefined)
  endif()
  halvex_warnings(${target})
endfunction()
