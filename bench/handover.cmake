# Hand-over round trip: worker -> UI thread under a running Qt event loop -> worker.
if(UEGO_GUI)
  add_executable(bench_handover ${CMAKE_CURRENT_LIST_DIR}/handover.cpp)
  target_link_libraries(bench_handover PRIVATE uego_platform_qt benchmark::benchmark Threads::Threads)
endif()
