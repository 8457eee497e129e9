# telvo_add_test(NAME src...): one GoogleTest program per subsystem. Natively each test case is
# registered with CTest; when cross-built the whole program runs once under the emulator
# (Wine), because starting Wine for every case would take minutes.
include(GoogleTest)

function(telvo_add_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE telvo_core telvo_test_support GTest::gtest_main)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
  endif()
endfunction()
