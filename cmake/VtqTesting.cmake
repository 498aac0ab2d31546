# vtq_add_test(NAME name SOURCES ... LIBS ... [LOCK resource] [LABELS ...] [DISPLAY]
#              [FIXTURE_CASES gtest-pattern FIXTURE name [FIXTURE_ENVIRONMENT VAR=value ...]])
# One GoogleTest executable, its cases discovered into CTest. Under the win32
# preset the cases run through the Wine emulator of the build tree; DISPLAY
# gives them an X server (xvfb) for real windows and message boxes, in a
# prefix of their own and one at a time: a wineserver whose desktop belongs
# to one X server breaks the windows of a process on another.
# FIXTURE_CASES names the cases (a GoogleTest filter pattern) that need the
# CTest fixture FIXTURE, which is set up before them and cleaned up after
# them; they also get FIXTURE_ENVIRONMENT. The other cases go without.
function(vtq_add_test)
  cmake_parse_arguments(T "DISPLAY" "NAME;LOCK;FIXTURE_CASES;FIXTURE"
                        "SOURCES;LIBS;LABELS;FIXTURE_ENVIRONMENT" ${ARGN})
  if(NOT VTQ_BUILD_TESTS)
    return()
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${T_NAME} PRIVATE VTQ_SOURCE_DIR="${VTQ_ROOT}"
                                               VTQ_BINARY_DIR="${CMAKE_BINARY_DIR}")
  set(environment ENVIRONMENT "VTQ_BINARY_DIR=${CMAKE_BINARY_DIR}")
  set(props)
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
  if(NOT T_FIXTURE_CASES)
    gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 120 DISCOVERY_MODE PRE_TEST
                         PROPERTIES ${props} ${environment})
    return()
  endif()
  gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 120 DISCOVERY_MODE PRE_TEST
                       TEST_FILTER "-${T_FIXTURE_CASES}" PROPERTIES ${props} ${environment})
  gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 120 DISCOVERY_MODE PRE_TEST
                       TEST_FILTER "${T_FIXTURE_CASES}" TEST_LIST ${T_NAME}_FIXTURE_CASES
                       PROPERTIES ${props})
  # Discovered properties are passed on as a flat list, which would split an
  # environment of several variables: they are set after the discovery.
  set(fixture_file ${CMAKE_CURRENT_BINARY_DIR}/${T_NAME}_fixture.cmake)
  list(PREPEND T_FIXTURE_ENVIRONMENT "VTQ_BINARY_DIR=${CMAKE_BINARY_DIR}")
  file(WRITE ${fixture_file}
       "foreach(case IN LISTS ${T_NAME}_FIXTURE_CASES)\n"
       "  set_tests_properties(\"\${case}\" PROPERTIES FIXTURES_REQUIRED ${T_FIXTURE}\n"
       "                       ENVIRONMENT \"${T_FIXTURE_ENVIRONMENT}\")\n"
       "endforeach()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${fixture_file})
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

# vtq_add_fuzz_replay(NAME name SOURCES ... LIBS ... INPUTS folder...)
# A libFuzzer target's source built without libFuzzer, over the driver
# engine/fuzz/replay_main.cpp, and run as one test on every input kept in
# INPUTS (its seeds and regressions): what fuzzing found stays found in the
# ordinary native build, under its sanitizers. scripts/fuzz runs the
# targets themselves.
function(vtq_add_fuzz_replay)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;INPUTS" ${ARGN})
  if(NOT VTQ_BUILD_TESTS OR VTQ_WINDOWS)
    return()
  endif()
  add_executable(${T_NAME} ${VTQ_ROOT}/engine/fuzz/replay_main.cpp ${T_SOURCES})
  target_include_directories(${T_NAME} PRIVATE ${VTQ_ROOT})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS})
  add_test(NAME ${T_NAME} COMMAND ${T_NAME} ${T_INPUTS})
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT 300 LABELS fuzz)
endfunction()
