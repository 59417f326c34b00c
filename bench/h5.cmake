# Flash service tick with many blinking widgets; LED lamp redraw next to a full LED paint.
if(TARGET uego_widgets_base)
  add_executable(bench_h5 ${CMAKE_CURRENT_LIST_DIR}/h5.cpp)
  target_link_libraries(bench_h5 PRIVATE uego_widgets_base benchmark::benchmark)
endif()
