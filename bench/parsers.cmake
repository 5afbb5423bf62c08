# Receive parsers under a backlog: how long the LocoNet and Lenz parsers take for a megabyte of
# received bytes, in one receive event and spread over many.
if(benchmark_FOUND)
  add_executable(sorvell_bench_parsers
    ${CMAKE_CURRENT_LIST_DIR}/parsers_loconet.cpp
    ${CMAKE_CURRENT_LIST_DIR}/parsers_lenz.cpp
  )
  target_link_libraries(sorvell_bench_parsers PRIVATE
    sorvell_loconet_core sorvell_lenz_core benchmark::benchmark_main)
  sorvell_bench_smoke(sorvell_bench_parsers --benchmark_min_time=0.001)
endif()
