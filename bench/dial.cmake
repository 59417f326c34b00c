# Cost of a lambda dial value update (pointer square only) next to a full repaint.
if(TARGET uego_widgets_dial)
  add_executable(bench_dial ${CMAKE_CURRENT_LIST_DIR}/dial.cpp)
  target_link_libraries(bench_dial PRIVATE uego_widgets_dial benchmark::benchmark)
endif()
