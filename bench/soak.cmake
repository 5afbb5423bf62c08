# The soak: complete programming runs of the main window against the simulators with faults
# injected, no run ending in a false success, and descriptors, threads and resident memory flat.
# With the tests it runs a short round; scripts/bench.sh runs the full one.
if(TARGET sorvell_window AND TARGET sorvell_sim)
  add_executable(bench_soak
    ${CMAKE_CURRENT_LIST_DIR}/soak/soak_bench.cpp
    ${CMAKE_CURRENT_LIST_DIR}/soak/FaultyLine.cpp ${CMAKE_CURRENT_LIST_DIR}/soak/FaultyLine.h
    ${CMAKE_CURRENT_LIST_DIR}/soak/ProgrammingRun.cpp
    ${CMAKE_CURRENT_LIST_DIR}/soak/ProgrammingRun.h
    ${CMAKE_CURRENT_LIST_DIR}/soak/SoakPlan.cpp ${CMAKE_CURRENT_LIST_DIR}/soak/SoakPlan.h)
  target_include_directories(bench_soak PRIVATE ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(bench_soak PRIVATE sorvell_window sorvell_sim Qt6::Test)
  sorvell_bench_smoke(bench_soak 20)
endif()
