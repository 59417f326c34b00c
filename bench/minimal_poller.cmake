# The minimal poller that bench/side_by_side.sh measures the program against; not installed.
if(UEGO_GUI)
  add_executable(bench_minimal_poller ${CMAKE_CURRENT_LIST_DIR}/minimal_poller.cpp)
  target_link_libraries(bench_minimal_poller PRIVATE Qt6::Widgets)
endif()
