# The JSON library's header is about 1.5 s of CPU of every unit that includes it, and 180 of our
# 211 units do, mostly through our headers. HALVEX_PCH precompiles it once per target with three
# or more units. Measured on the five lower libraries (39 units, release, GCC 12, no compiler
# cache): 111 s of CPU without, 113 s with: loading the 100 MB precompiled header costs about
# what parsing saves, and the five precompiles come on top. So it is off by default; a unit that
# needs only the type's name is better served by <nlohmann/json_fwd.hpp> (0.4 s instead of 1.5 s).
# The compiler cache cannot reuse compiles that start from a precompiled header unless it is told
# to be sloppy about them.
option(HALVEX_PCH "Precompile the JSON header for targets with several units" OFF)

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
