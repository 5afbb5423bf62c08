# Serial port figures: received byte to OnRxChar latency, the CPU an open idle port costs, and
# how long a Close takes.
if(TARGET sorvell_cport)
  add_executable(bench_cport ${CMAKE_CURRENT_LIST_DIR}/cport_bench.cpp)
  target_link_libraries(bench_cport PRIVATE sorvell_cport)
  sorvell_bench_smoke(bench_cport 20 1)
endif()
