# Serial port component: receive throughput and request/reply round trip on a pseudo-terminal.
add_executable(bench_serial ${CMAKE_CURRENT_LIST_DIR}/serial.cpp)
target_link_libraries(bench_serial PRIVATE uego_serial uego_platform benchmark::benchmark Threads::Threads)
target_include_directories(bench_serial PRIVATE ${PROJECT_SOURCE_DIR})
