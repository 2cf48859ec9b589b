# Settings every target of the project shares.
function(ryx_target_defaults target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  endif()
endfunction()

# Makes the current folder the public include path of `target`, reached as
# "<folder>/Header.h" and holding nothing else, so a target sees only the folders of the
# libraries it links.
function(ryx_expose_folder target)
  get_filename_component(folder "${CMAKE_CURRENT_SOURCE_DIR}" NAME)
  set(root "${PROJECT_BINARY_DIR}/include/${folder}")
  file(MAKE_DIRECTORY "${root}")
  if(NOT EXISTS "${root}/${folder}")
    file(CREATE_LINK "${CMAKE_CURRENT_SOURCE_DIR}" "${root}/${folder}" RESULT linked SYMBOLIC)
    if(NOT linked EQUAL 0)
      # Where symbolic links are not allowed, one forwarding header per header does the same.
      file(GLOB headers RELATIVE "${CMAKE_CURRENT_SOURCE_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
      foreach(header IN LISTS headers)
        file(WRITE "${root}/${folder}/${header}"
             "#pragma once\n#include \"${CMAKE_CURRENT_SOURCE_DIR}/${header}\"\n")
      endforeach()
    endif()
  endif()
  target_include_directories(${target} PUBLIC "${root}")
endfunction()

# A library of one folder under src/: every .cpp file in it. It links only the libraries it
# names: PUBLIC those its headers include, PRIVATE those only its sources use. With
# ryx_expose_folder, a source that includes a header of a folder its library may not use does
# not compile, which keeps the layers of the architecture.
function(ryx_library name)
  cmake_parse_arguments(ARG "" "" "PUBLIC;PRIVATE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  add_library(${name} STATIC ${sources})
  ryx_expose_folder(${name})
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
  ryx_target_defaults(${name})
endfunction()

# One GoogleTest binary for a folder of tests, registered with CTest test by test.
function(ryx_test_binary name)
  cmake_parse_arguments(ARG "" "" "LIBS;ENVIRONMENT" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} ryx_test_support GTest::gtest_main)
  ryx_target_defaults(${name})
  target_compile_definitions(${name} PRIVATE RYX_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES ENVIRONMENT "${ARG_ENVIRONMENT}")
endfunction()
