# vtq_add_test(NAME name SOURCES ... LIBS ... [LOCK resource] [LABELS ...])
# One GoogleTest executable, its cases discovered into CTest. Under the win32
# preset the cases run through the Wine emulator of the build tree.
function(vtq_add_test)
  cmake_parse_arguments(T "" "NAME;LOCK" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT VTQ_BUILD_TESTS)
    return()
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${T_NAME} PRIVATE VTQ_SOURCE_DIR="${VTQ_ROOT}"
                                               VTQ_BINARY_DIR="${CMAKE_BINARY_DIR}")
  set(props ENVIRONMENT "VTQ_BINARY_DIR=${CMAKE_BINARY_DIR}")
  if(T_LOCK)
    list(APPEND props RESOURCE_LOCK ${T_LOCK})
  endif()
  if(T_LABELS)
    list(APPEND props LABELS "${T_LABELS}")
  endif()
  gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 120 DISCOVERY_MODE PRE_TEST
                       PROPERTIES ${props})
endfunction()
