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
endfunction()
