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

# vtq_add_script_test(NAME name SCRIPT file.vbs [SERVERS dll-target...]
#                     [DISPLAY] [LABELS ...])
# One VBScript run by vtq_script_host (comkit/tests/script_host): its Host
# item echoes lines, creates objects with their events connected
# (Host.CreateObject(progid, "prefix_") calls Sub prefix_Event), and quits
# with a code. SERVERS are in-process server DLLs of the build whose classes
# the host creates from their embedded type libraries, without the
# registry ("Library.Class"). The test passes on exit code 0; a script
# error makes it 1, Host.Quit n makes it n. DISPLAY runs it under xvfb as
# vtq_add_test's window tests run.
function(vtq_add_script_test)
  cmake_parse_arguments(T "DISPLAY" "NAME;SCRIPT" "SERVERS;LABELS" ${ARGN})
  if(NOT VTQ_BUILD_TESTS OR NOT VTQ_WINDOWS)
    return()
  endif()
  get_filename_component(script ${T_SCRIPT} ABSOLUTE)
  set(arguments)
  foreach(server IN LISTS T_SERVERS)
    list(APPEND arguments --server $<TARGET_FILE:${server}>)
  endforeach()
  if(T_DISPLAY)
    add_test(NAME ${T_NAME}
             COMMAND ${VTQ_WINE_RUN} --prefix ${VTQ_WINEPREFIX}-display --display
                     $<TARGET_FILE:vtq_script_host> ${arguments} ${script})
    set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK wine_display)
  else()
    add_test(NAME ${T_NAME} COMMAND vtq_script_host ${arguments} ${script})
  endif()
  if(T_LABELS)
    set_tests_properties(${T_NAME} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()
