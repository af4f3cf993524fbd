# Test programs run under Wine. A ctest fixture boots the private prefix (and a virtual
# display when none is set) before the first test and stops exactly that after the last.
add_test(NAME wine_up COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-env.sh --state ${TV_WINE_STATE} up)
add_test(NAME wine_down COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-env.sh --state ${TV_WINE_STATE} down)
set_tests_properties(wine_up PROPERTIES FIXTURES_SETUP wine TIMEOUT 240)
set_tests_properties(wine_down PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)

# tv_add_test(NAME name SOURCES ... LIBS ... [TIMEOUT s]): one GoogleTest program, one ctest
# test, always with a timeout so that nothing can hold a run forever.
function(tv_add_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 180)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} gtest gmock)
  target_compile_options(${T_NAME} PRIVATE ${TV_WARNINGS})
  add_test(NAME ${T_NAME} COMMAND ${T_NAME} --gtest_color=no)
  set_tests_properties(${T_NAME} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT ${T_TIMEOUT}
                       RESOURCE_LOCK wine_display)
endfunction()
