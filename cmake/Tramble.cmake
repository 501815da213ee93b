# Helpers shared by every subsystem folder.

# tramble_add_test(<name> SOURCES <files...> LIBS <targets...>)
# One GoogleTest program, discovered by CTest, run in a fixed environment.
function(tramble_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    TRAMBLE_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    TRAMBLE_BINARY_DIR="${PROJECT_BINARY_DIR}")
  # End-to-end tests drive a real X server and measure time on it: one at a
  # time, so that parallel tests do not starve them.
  set(serial FALSE)
  if(name MATCHES "_e2e_tests$")
    set(serial TRUE)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    # One value per property: discovery splits a list of several.
    PROPERTIES ENVIRONMENT "LC_ALL=C"
               ENVIRONMENT_MODIFICATION "QT_QPA_PLATFORM=set:offscreen"
               RUN_SERIAL ${serial}
               TIMEOUT 300)
endfunction()

# tramble_add_fuzzer(<name> SOURCES <files...> LIBS <targets...>)
# A libFuzzer target; scripts/fuzz builds and runs every one of them.
function(tramble_add_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/fuzzers)
  add_dependencies(tramble_fuzzers ${name})
endfunction()

# Adds every child folder of the current one that has a CMakeLists.txt.
function(tramble_add_child_folders)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child IN LISTS children)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
