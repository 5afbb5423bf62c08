# The P50X link against the simulator on a pty: round trip of one binary command, the CPU the
# 100 ms event poll costs while nothing happens, and how soon a click is answered during
# interface detection.
foreach(bench p50x_roundtrip p50x_idle_poll click_during_detection)
  add_executable(bench_${bench} ${CMAKE_CURRENT_LIST_DIR}/${bench}.cpp)
  target_link_libraries(bench_${bench} PRIVATE sorvell_p50x sorvell_sim)
  sorvell_bench_smoke(bench_${bench})
endforeach()
