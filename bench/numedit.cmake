# Cost of showing a new lambda reading in the numeric field, and of checking typed text.
if(TARGET uego_widgets_numedit)
  add_executable(bench_numedit ${CMAKE_CURRENT_LIST_DIR}/numedit.cpp)
  target_link_libraries(bench_numedit PRIVATE uego_widgets_numedit benchmark::benchmark)
endif()
