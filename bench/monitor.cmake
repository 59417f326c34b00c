# The running program's cost: CPU share, resident memory and reply-to-display time while
# polling a simulated controller.
if(TARGET uego_ui AND TARGET uego_sim)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  add_executable(bench_monitor ${CMAKE_CURRENT_LIST_DIR}/monitor.cpp)
  target_include_directories(bench_monitor PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(bench_monitor PRIVATE uego_ui uego_sim Qt6::Test benchmark::benchmark)
endif()
