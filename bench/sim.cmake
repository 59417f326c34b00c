# Simulated controller: request parsing, reply building, and a live-data round trip on a
# pseudo-terminal (the time the utility waits for an answer from the simulator).
if(TARGET uego_sim)
  add_executable(bench_sim ${CMAKE_CURRENT_LIST_DIR}/sim.cpp)
  target_link_libraries(bench_sim PRIVATE uego_sim benchmark::benchmark Threads::Threads)
  target_include_directories(bench_sim PRIVATE ${PROJECT_SOURCE_DIR})
endif()
