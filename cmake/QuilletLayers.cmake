# One static library per layer, linked downward only. A layer's include root holds links
# to its own folders alone, so a layer sees the headers of the layers it links and no
# others: an upward include does not compile.
function(quillet_layer target)
  cmake_parse_arguments(PARSE_ARGV 1 L "" "" "FOLDERS;SOURCES;LINKS")
  add_library(${target} STATIC ${L_SOURCES})
  set(root ${CMAKE_BINARY_DIR}/layers/${target})
  foreach(folder IN LISTS L_FOLDERS)
    get_filename_component(parent ${root}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PUBLIC ${root})
  target_link_libraries(${target} PUBLIC ${L_LINKS})
  # One compile per few sources instead of one each: the Qt headers every source parses
  # are most of its time. A layer's sources are built in batches when asked for.
  set_target_properties(${target} PROPERTIES UNITY_BUILD ${QUILLET_UNITY_BUILD} UNITY_BUILD_BATCH_SIZE 8)
  foreach(source IN LISTS L_SOURCES)
    if(source IN_LIST QUILLET_UNITY_ALONE)
      set_source_files_properties(${source} PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
    endif()
  endforeach()
endfunction()
