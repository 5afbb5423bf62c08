# CPU of the whole process over complete programming runs with the program's own timings,
# against sorvell-sim in a process of its own.
if(TARGET sorvell_window AND TARGET sorvell-sim)
  add_executable(bench_programming_cpu ${CMAKE_CURRENT_LIST_DIR}/programming_cpu.cpp)
  target_link_libraries(bench_programming_cpu PRIVATE sorvell_window Qt6::Test)
  add_dependencies(bench_programming_cpu sorvell-sim)
  target_compile_definitions(bench_programming_cpu PRIVATE
    SORVELL_SIM_PATH="$<TARGET_FILE:sorvell-sim>")
  sorvell_bench_smoke(bench_programming_cpu)
endif()
