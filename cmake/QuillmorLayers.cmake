# The game's libraries and the direction they may use each other in. Each library lists its
# files (sources and headers) and the libraries below it that it uses; the layer check then
# refuses, before anything compiles, an include of a header from a library it may not use,
# and any file under src/ that no library lists.

# quillmor_layer(<target> [EXECUTABLE] FILES <files relative to src/...>
#                [USES <our libraries...>] [LINKS <outside libraries...>])
function(quillmor_layer target)
  cmake_parse_arguments(LAYER "EXECUTABLE" "" "FILES;USES;LINKS" ${ARGN})
  set(sources "")
  foreach(file ${LAYER_FILES})
    list(APPEND sources ${CMAKE_CURRENT_SOURCE_DIR}/${file})
  endforeach()
  set(compiled ${LAYER_FILES})
  list(FILTER compiled INCLUDE REGEX "\\.cpp$")
  if(LAYER_EXECUTABLE)
    add_executable(${target} ${sources})
    target_link_libraries(${target} PRIVATE ${LAYER_USES} ${LAYER_LINKS})
    add_dependencies(${target} quillmor_layer_check)
  elseif(compiled)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${target} PUBLIC ${LAYER_USES} ${LAYER_LINKS})
    add_dependencies(${target} quillmor_layer_check)
  else()
    add_library(${target} INTERFACE ${sources})
    target_include_directories(${target} INTERFACE ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${LAYER_USES} ${LAYER_LINKS})
  endif()

  # What the library may include: its own files and, transitively, those of what it uses.
  set(allowed ${target})
  foreach(used ${LAYER_USES})
    get_property(below GLOBAL PROPERTY QUILLMOR_LAYER_ALLOWED_${used})
    if(NOT below)
      message(FATAL_ERROR "${target} uses ${used}, which is not a library defined before it")
    endif()
    list(APPEND allowed ${below})
  endforeach()
  list(REMOVE_DUPLICATES allowed)
  set_property(GLOBAL PROPERTY QUILLMOR_LAYER_ALLOWED_${target} ${allowed})
  set_property(GLOBAL APPEND PROPERTY QUILLMOR_LAYERS ${target})
  set_property(GLOBAL PROPERTY QUILLMOR_LAYER_FILES_${target} ${LAYER_FILES})
endfunction()

# Writes what the layers hold and may use, and checks every listed file's includes against it
# whenever one of them changes. Call once, after the last quillmor_layer.
function(quillmor_layer_check_setup)
  get_property(layers GLOBAL PROPERTY QUILLMOR_LAYERS)
  set(manifest "")
  set(depends "")
  foreach(layer ${layers})
    get_property(allowed GLOBAL PROPERTY QUILLMOR_LAYER_ALLOWED_${layer})
    get_property(files GLOBAL PROPERTY QUILLMOR_LAYER_FILES_${layer})
    string(REPLACE ";" " " allowed_text "${allowed}")
    string(APPEND manifest "layer ${layer} ${allowed_text}\n")
    foreach(file ${files})
      string(APPEND manifest "file ${layer} ${file}\n")
      list(APPEND depends ${CMAKE_CURRENT_SOURCE_DIR}/${file})
    endforeach()
  endforeach()
  set(manifest_file ${CMAKE_CURRENT_BINARY_DIR}/layers.txt)
  file(WRITE ${manifest_file} "${manifest}")
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/layers.checked)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DMANIFEST=${manifest_file} -DSOURCE_DIR=${CMAKE_CURRENT_SOURCE_DIR}
            -DSTAMP=${stamp} -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake
    DEPENDS ${depends} ${manifest_file} ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake
    COMMENT "Checking that every include points down the layers"
    VERBATIM)
  add_custom_target(quillmor_layer_check DEPENDS ${stamp})
endfunction()
