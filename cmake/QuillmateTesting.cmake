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

# qm_add_fuzzer(Name SOURCES a.cpp ... LAYERS Database Records ... SMOKE_SECONDS n MAX_LEN n
#               [SEEDS folder])
# A libFuzzer executable (host build with clang only) and a short CTest run of
# it over the folder's FuzzCorpus (or SEEDS, which scripts/fuzz.sh also finds
# through a link <Name>-seeds beside the executable). The layers' sources are compiled again into
# the fuzzer so that libFuzzer sees their coverage; new inputs go to a corpus
# folder in the build tree, the seeds are only read.
function(qm_add_fuzzer name)
  if(WIN32 OR NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    return()
  endif()
  cmake_parse_arguments(ARG "" "SMOKE_SECONDS;MAX_LEN;SEEDS" "SOURCES;LAYERS" ${ARGN})
  if(ARG_SEEDS)
    file(CREATE_LINK ${ARG_SEEDS} ${CMAKE_CURRENT_BINARY_DIR}/${name}-seeds SYMBOLIC)
  else()
    set(ARG_SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/FuzzCorpus)
  endif()
  set(layerSources)
  set(layerLibraries)
  foreach(layer IN LISTS ARG_LAYERS)
    get_target_property(sources Quillmate${layer} SOURCES)
    list(TRANSFORM sources PREPEND ${CMAKE_SOURCE_DIR}/Source/${layer}/)
    list(APPEND layerSources ${sources})
    # What the layers link besides each other (zlib, for one).
    get_target_property(libraries Quillmate${layer} LINK_LIBRARIES)
    if(libraries)
      list(FILTER libraries EXCLUDE REGEX "^Quillmate")
      list(APPEND layerLibraries ${libraries})
    endif()
  endforeach()
  add_executable(${name} ${ARG_SOURCES} ${layerSources})
  target_link_libraries(${name} PRIVATE ${layerLibraries})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/Source ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE _FILE_OFFSET_BITS=64)
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined -fno-omit-frame-pointer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  set(corpus ${CMAKE_CURRENT_BINARY_DIR}/${name}-smoke-corpus)
  file(MAKE_DIRECTORY ${corpus})
  string(REGEX REPLACE "^Fuzz" "" subject ${name})
  add_test(NAME ${subject}FuzzSmoke
    COMMAND ${name} -max_total_time=${ARG_SMOKE_SECONDS} -max_len=${ARG_MAX_LEN} -timeout=10
            ${corpus} ${ARG_SEEDS})
  set_tests_properties(${subject}FuzzSmoke PROPERTIES TIMEOUT 120)
endfunction()
