# Each library of ours compiles against an include folder of its own that holds only its own
# folder, and sees the folders of the libraries it links through their usage requirements. An
# include of a layer it does not link then fails to compile. The folders are links into the
# source tree, made at configure time under build/layers/<library>/.
set(HALVEX_LAYERS_DIR ${CMAKE_BINARY_DIR}/layers)

function(halvex_layer_include target)
  file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(root ${HALVEX_LAYERS_DIR}/${target})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${root}>)
endfunction()
