# Replaying a large log while the program polls the simulated controller and logs.
if(TARGET uego_chart AND TARGET uego_ui AND TARGET uego_sim)
  add_executable(bench_replay ${CMAKE_CURRENT_LIST_DIR}/replay.cpp)
  target_include_directories(bench_replay PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(bench_replay PRIVATE uego_ui uego_chart uego_sim)
endif()
