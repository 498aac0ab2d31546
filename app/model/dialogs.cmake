# The option dialogs' states and the help route: portable, tested natively
# over the in-memory settings store. Included from app/CMakeLists.txt.
add_library(vtq_dialog_model STATIC
  ${CMAKE_CURRENT_LIST_DIR}/batgen_dialog_state.cpp
  ${CMAKE_CURRENT_LIST_DIR}/customize_dialog_state.cpp
  ${CMAKE_CURRENT_LIST_DIR}/help_route.cpp)
target_include_directories(vtq_dialog_model PUBLIC ${VTQ_ROOT})
target_link_libraries(vtq_dialog_model PUBLIC vtq_settings)

vtq_add_test(NAME dialog_model_tests
             SOURCES
               ${CMAKE_CURRENT_LIST_DIR}/tests/batgen_dialog_state_test.cpp
               ${CMAKE_CURRENT_LIST_DIR}/tests/customize_dialog_state_test.cpp
               ${CMAKE_CURRENT_LIST_DIR}/tests/help_route_test.cpp
             LIBS vtq_dialog_model vtq_test_support)
