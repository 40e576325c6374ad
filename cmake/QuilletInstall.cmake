# Installation layout, packaging and the helper programs of the tests.
if(QUILLET_TESTS)
  add_subdirectory(${CMAKE_SOURCE_DIR}/tests/tools ${CMAKE_BINARY_DIR}/tests/tools)
endif()
