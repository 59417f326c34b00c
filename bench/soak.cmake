# The soak run of the program against the simulator's round of line faults, one minute long
# in the test suite (bench/soak.sh runs ten minutes by default). Label: soak.
if(TARGET uego4100 AND TARGET wbx4100-sim)
  add_test(NAME soak_one_minute COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/soak.sh 60)
  set_tests_properties(soak_one_minute PROPERTIES
    LABELS soak
    TIMEOUT 600
    ENVIRONMENT "SKIP_BUILD=1;BUILD_DIR=${PROJECT_BINARY_DIR}")
endif()
