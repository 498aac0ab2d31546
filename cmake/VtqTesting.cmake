# Every test that runs under Wine does so in a session of its prefix (see
# scripts/wine-run): one wineserver with the prefix's services, started by a
# fixture before the first such test and ended after the last, so that no
# test starts while the server of the one before is shutting down. The
# window tests' prefix has a session of its own with one X server for all of
# them.
if(VTQ_BUILD_TESTS AND VTQ_WINDOWS)
  add_test(NAME wine_session_start COMMAND ${VTQ_WINE_RUN} --prefix ${VTQ_WINEPREFIX} --start-session)
  add_test(NAME wine_session_end COMMAND ${VTQ_WINE_RUN} --prefix ${VTQ_WINEPREFIX} --end-session)
  add_test(NAME wine_display_session_start
           COMMAND ${VTQ_WINE_RUN} --prefix ${VTQ_WINEPREFIX}-display --display --start-session)
  add_test(NAME wine_display_session_end
           COMMAND ${VTQ_WINE_RUN} --prefix ${VTQ_WINEPREFIX}-display --end-session)
  set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine_session)
  set_tests_properties(wine_session_end PROPERTIES FIXTURES_CLEANUP wine_session)
  set_tests_properties(wine_display_session_start PROPERTIES FIXTURES_SETUP wine_display_session)
  set_tests_properties(wine_display_session_end PROPERTIES FIXTURES_CLEANUP wine_display_session)
  # A test added without its session would pass most of the time.
  add_test(NAME wine_session_check
           COMMAND ${VTQ_ROOT}/scripts/wine-session-check ${CMAKE_CTEST_COMMAND} ${CMAKE_BINARY_DIR})
  set_tests_properties(wine_session_check PROPERTIES ENVIRONMENT VTQ_WINEPREFIX=${VTQ_WINEPREFIX})
  # A test program that dies before GoogleTest's first line fails, and says why.
  add_test(NAME wine_run_gtest_report
           COMMAND ${VTQ_ROOT}/scripts/wine-run-gtest-check ${VTQ_WINE_RUN} --prefix ${VTQ_WINEPREFIX})
  set_tests_properties(wine_run_gtest_report PROPERTIES FIXTURES_REQUIRED wine_session)
endif()

# vtq_wine_session_tests(TEST... [DISPLAY])
# The tests named, added with add_test in the calling folder, run under Wine
# in the build tree's prefix (DISPLAY: the window tests' prefix) and so
# inside its session.
function(vtq_wine_session_tests)
  cmake_parse_arguments(S "DISPLAY" "" "" ${ARGN})
  if(NOT VTQ_WINDOWS)
    return()
  endif()
  set(session wine_session)
  if(S_DISPLAY)
    set(session wine_display_session)
  endif()
  set_property(TEST ${S_UNPARSED_ARGUMENTS} APPEND PROPERTY FIXTURES_REQUIRED ${session})
endfunction()

# vtq_add_test(NAME name SOURCES ... LIBS ... [LOCK resource] [LABELS ...] [DISPLAY]
#              [FIXTURE_CASES gtest-pattern FIXTURE name [FIXTURE_ENVIRONMENT VAR=value ...]])
# One GoogleTest executable, its cases discovered into CTest. Under the
# Windows presets the cases run through the Wine emulator of the build tree,
# in its prefix's session; DISPLAY gives them an X server for real windows
# and message boxes, that of the session of a prefix of their own, and runs
# them one at a time: their windows share one desktop, its focus and its
# foreground window.
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
  set(sessions)
  if(T_DISPLAY AND VTQ_WINDOWS)
    set_property(TARGET ${T_NAME} PROPERTY CROSSCOMPILING_EMULATOR
                 ${VTQ_WINE_RUN} --prefix ${VTQ_WINEPREFIX}-display --display --gtest)
    set(T_LOCK wine_display)  # the one lock these cases need
    set(sessions wine_display_session)
  elseif(VTQ_WINDOWS)
    set_property(TARGET ${T_NAME} PROPERTY CROSSCOMPILING_EMULATOR
                 ${VTQ_WINE_RUN} --prefix ${VTQ_WINEPREFIX} --gtest)
    set(sessions wine_session)
  endif()
  if(sessions)
    list(APPEND props FIXTURES_REQUIRED ${sessions})
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
  list(PREPEND sessions ${T_FIXTURE})
  file(WRITE ${fixture_file}
       "foreach(case IN LISTS ${T_NAME}_FIXTURE_CASES)\n"
       "  set_tests_properties(\"\${case}\" PROPERTIES FIXTURES_REQUIRED \"${sessions}\"\n"
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
    vtq_wine_session_tests(${T_NAME} DISPLAY)
  else()
    add_test(NAME ${T_NAME} COMMAND vtq_script_host ${arguments} ${script})
    vtq_wine_session_tests(${T_NAME})
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
