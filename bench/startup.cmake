# Start-up: process start to the main window shown, and resident memory once it is up.
if(TARGET sorvell_window)
  add_executable(bench_startup ${CMAKE_CURRENT_LIST_DIR}/startup_bench.cpp)
  target_link_libraries(bench_startup PRIVATE sorvell_window)
  sorvell_bench_smoke(bench_startup 1)
endif()
