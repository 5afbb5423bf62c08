add_executable(bench_waitms ${CMAKE_CURRENT_LIST_DIR}/waitms_cpu.cpp)
target_link_libraries(bench_waitms PRIVATE sorvell_wd10)
sorvell_bench_smoke(bench_waitms)
