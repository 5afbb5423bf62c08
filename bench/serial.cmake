# Serial port figures: received byte to OnRxChar latency, the CPU an open idle port costs, and
# how long a Close takes.
if(TARGET sorvell_serial)
  add_executable(bench_serial ${CMAKE_CURRENT_LIST_DIR}/serial_bench.cpp)
  target_link_libraries(bench_serial PRIVATE sorvell_serial)
  sorvell_bench_smoke(bench_serial 20 1)
endif()
