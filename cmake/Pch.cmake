# The JSON library's header is most of the compile time of a unit that includes it (about 1.5 s
# of a 2 to 4 s unit), and 180 of our 211 units do, mostly through our headers. Each target of
# ours with several C++ units parses it once, into a precompiled header its units start from.
# The compiler cache cannot reuse compiles that start from a precompiled header unless told to
# be sloppy about them, so the default is on only for builds without a compiler launcher.
if(CMAKE_CXX_COMPILER_LAUNCHER)
  set(halvex_pch_default OFF)
else()
  set(halvex_pch_default ON)
endif()
option(HALVEX_PCH "Precompile the JSON header for targets with several units" ${halvex_pch_default})

# Every executable and library target under `dir` that links halvex_base and has at least three
# C++ sources; called once from the top directory after every target is made.
function(halvex_precompile_json dir)
  if(NOT HALVEX_PCH)
    return()
  endif()
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    if(NOT type MATCHES "^(EXECUTABLE|SHARED_LIBRARY|STATIC_LIBRARY)$")
      continue()
    endif()
    get_target_property(sources ${target} SOURCES)
    list(FILTER sources INCLUDE REGEX "\\.cpp$")
    list(LENGTH sources units)
    if(units LESS 3)
      continue()
    endif()
    target_precompile_headers(${target} PRIVATE "$<$<COMPILE_LANGUAGE:CXX>:<nlohmann/json.hpp$<ANGLE-R>>")
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir ${subdirs})
    halvex_precompile_json(${subdir})
  endforeach()
endfunction()
