# toolkit_library(NAME DIR): a static library of every .cpp directly in DIR.
# Sources are globbed so that a new file joins its library without editing
# the build; CONFIGURE_DEPENDS re-runs the glob on every build.
function(toolkit_library name dir)
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  if(NOT srcs)
    set(srcs ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
endfunction()
