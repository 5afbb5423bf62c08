# The decoder list's file: how long a save takes and how large the files are with a long history
# of runs, and how long the list takes to load.
if(TARGET sorvell_window)
  add_executable(bench_decoder_store ${CMAKE_CURRENT_LIST_DIR}/decoder_store.cpp)
  target_link_libraries(bench_decoder_store PRIVATE sorvell_window)
  sorvell_bench_smoke(bench_decoder_store 100 1)
endif()
