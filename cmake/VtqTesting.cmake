# vtq_add_test(NAME name SOURCES ... LIBS ... [LOCK resource] [LABELS ...] [DISPLAY])
# One GoogleTest executable, its cases discovered into CTest. Under the win32
# preset the cases run through the Wine emulator of the build tree; DISPLAY
# gives them an X server (xvfb) for real windows and message boxes, in a
# prefix of their own and one at a time: a wineserver whose desktop belongs
# to one X server breaks the windows of a process on another.
function(vtq_add_test)
  cmake_parse_arguments(T "DISPLAY" "NAME;LOCK" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT VTQ_BUILD_TESTS)
    return()
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${T_NAME} PRIVATE VTQ_SOURCE_DIR="${VTQ_ROOT}"
                                               VTQ_BINARY_DIR="${CMAKE_BINARY_DIR}")
  set(props ENVIRONMENT "VTQ_BINARY_DIR=${CMAKE_BINARY_DIR}")
  if(T_DISPLAY AND VTQ_WINDOWS)
    set_property(TARGET ${T_NAME} PROPERTY CROSSCOMPILING_EMULATOR
                 ${VTQ_WINE_RUN} --prefix ${VTQ_WINEPREFIX}-display --display)
    set(T_LOCK wine_display)  # the one lock these cases need
  endif()
  if(T_LOCK)
    list(APPEND props RESOURCE_LOCK ${T_LOCK})
  endif()
  if(T_LABELS)
    list(APPEND props LABELS "${T_LABELS}")
  endif()
  gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 120 DISCOVERY_MODE PRE_TEST
                       PROPERTIES ${props})
endfunction()
