# GoogleTest for both presets, built from Debian's sources so that the cross
# build gets a MinGW copy, and one helper that declares a test executable.
set(QM_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources (Debian package googletest)")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${QM_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# qm_add_test(Name SOURCES a.cpp ... LIBRARIES lib ... [WINDOWS_ONLY] [WORKING_DIRECTORY dir])
# Under Wine one CTest test runs a whole executable (each Wine start costs time);
# natively every GoogleTest case becomes its own CTest test.
function(qm_add_test name)
  cmake_parse_arguments(ARG "WINDOWS_ONLY" "WORKING_DIRECTORY" "SOURCES;LIBRARIES" ${ARGN})
  if(ARG_WINDOWS_ONLY AND NOT WIN32)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gtest_main)
  if(NOT ARG_WORKING_DIRECTORY)
    set(ARG_WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  if(WIN32)
    add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${ARG_WORKING_DIRECTORY})
  else()
    include(GoogleTest)
    gtest_discover_tests(${name} WORKING_DIRECTORY ${ARG_WORKING_DIRECTORY} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
