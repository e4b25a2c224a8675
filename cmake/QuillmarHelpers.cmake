# quillmar_add_test(NAME SOURCES... LIBS...): one GoogleTest executable, registered with ctest.
function(quillmar_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} qm_testsupport GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "LC_ALL=C;QT_QPA_PLATFORM=offscreen")
endfunction()

# quillmar_add_qt_test(NAME SOURCES... LIBS...): one Qt Test executable (offscreen widgets).
function(quillmar_add_qt_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} qm_qttestsupport Qt6::Test)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "LC_ALL=C;QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
endfunction()
