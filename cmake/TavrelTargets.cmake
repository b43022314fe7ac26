# Helpers shared by every subsystem's CMakeLists.txt.

# A plug-in: a shared library without the "lib" prefix in build/components/, so that the
# name "command.dll" in a data file maps to components/command.so.
function(tavrel_add_plugin name)
  add_library(${name} MODULE ${ARGN})
  set_target_properties(${name} PROPERTIES
    PREFIX ""
    LIBRARY_OUTPUT_DIRECTORY "${TAVREL_COMPONENTS_DIR}"
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  # Calls inside a plug-in bind to its own definitions, never to a same-named symbol
  # that another library of the process happens to export.
  target_link_options(${name} PRIVATE -Wl,-Bsymbolic -Wl,--no-undefined)
endfunction()

# A GoogleTest program under build/tests/, registered with CTest.
function(tavrel_add_test name)
  add_executable(${name} ${ARGN})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tests")
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gtest_main GTest::gmock Threads::Threads)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "TAVREL_BUILD_DIR=${CMAKE_BINARY_DIR};TAVREL_SOURCE_DIR=${CMAKE_SOURCE_DIR};LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp"
    TIMEOUT 600)
endfunction()

# A fuzz target. With TAVREL_FUZZ it is a libFuzzer program; otherwise it is built with a
# small driver that replays its seed corpus, and the replay runs as a test.
function(tavrel_add_fuzz_target name)
  cmake_parse_arguments(FZ "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${FZ_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/fuzz")
  target_link_libraries(${name} PRIVATE ${FZ_LIBS})
  if(TAVREL_FUZZ)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  else()
    target_sources(${name} PRIVATE "${PROJECT_SOURCE_DIR}/fuzz/ReplayMain.cpp")
    if(TAVREL_TESTS AND FZ_CORPUS)
      add_test(NAME ${name}_replay COMMAND ${name} "${FZ_CORPUS}")
    endif()
  endif()
endfunction()
