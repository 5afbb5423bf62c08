add_executable(bench_pause ${CMAKE_CURRENT_LIST_DIR}/pause_cpu.cpp)
target_link_libraries(bench_pause PRIVATE sorvell_wd10)
sorvell_bench_smoke(bench_pause)
