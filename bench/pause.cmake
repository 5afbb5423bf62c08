add_executable(bench_pause ${CMAKE_CURRENT_LIST_DIR}/pause_cpu.cpp)
target_link_libraries(bench_pause PRIVATE sorvell_window)
sorvell_bench_smoke(bench_pause)
