# The lambda chart: a redraw with an hour of readings in view, its decimation alone, and
# opening a data log of 100,000 lines.
if(TARGET uego_chart AND TARGET uego_ui)
  add_executable(bench_chart ${CMAKE_CURRENT_LIST_DIR}/chart.cpp)
  target_include_directories(bench_chart PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(bench_chart PRIVATE uego_ui uego_chart benchmark::benchmark)
endif()
