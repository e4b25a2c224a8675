# quillmar_add_test(NAME SOURCES... LIBS...): one GoogleTest executable, registered with ctest.
function(quillmar_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} qm_testsupport GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "LC_ALL=C;QT_QPA_PLATFORM=offscreen")
endfunction()
