# The decoder list's window at every size a user can make: layout, an edit, an added row, and a
# large spreadsheet opened into it (time and peak memory).
if(TARGET sorvell_window)
  add_executable(bench_decoder_list_window ${CMAKE_CURRENT_LIST_DIR}/decoder_list_window.cpp)
  target_link_libraries(bench_decoder_list_window PRIVATE sorvell_window Qt6::Test)
  sorvell_bench_smoke(bench_decoder_list_window 300)
endif()
