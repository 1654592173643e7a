include(GoogleTest)

# suite_add_test(name LABEL core|gui SOURCES ... LIBS ...)
#   core: no Qt, runs under the sanitizers too; gui runs offscreen in the normal build,
#   with a main that makes the QApplication.
function(suite_add_test name)
  cmake_parse_arguments(T "" "LABEL" "SOURCES;LIBS" ${ARGN})
  if(NOT T_LABEL)
    set(T_LABEL core)
  endif()
  if(SUITE_SANITIZE AND NOT T_LABEL STREQUAL "core")
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  if(NOT T_LABEL STREQUAL "core")
    target_link_libraries(${name} PRIVATE ${T_LIBS} suite_qt_test_main)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  endif()
  target_link_libraries(${name} PRIVATE suite_test_support)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_compile_definitions(${name} PRIVATE SUITE_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                                             SUITE_TREE_DIR="${SUITE_TREE}")
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS ${T_LABEL} ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
  set_property(GLOBAL APPEND PROPERTY SUITE_TESTS_${T_LABEL} ${name})
endfunction()

# suite_add_bench(name SOURCES ... LIBS ...)
function(suite_add_bench name)
  if(NOT SUITE_BENCH)
    return()
  endif()
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()

# One target per label so the sanitizer builds compile only what they run.
function(suite_finish_testing)
  get_property(core GLOBAL PROPERTY SUITE_TESTS_core)
  get_property(fuzz GLOBAL PROPERTY SUITE_FUZZERS)
  add_custom_target(core_tests DEPENDS ${core} ${fuzz})
endfunction()
