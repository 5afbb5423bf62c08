# Command-station simulators: a library for the tests and the sorvell-sim tool.
file(GLOB sim_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
list(FILTER sim_sources EXCLUDE REGEX "/main\\.cpp$")
add_library(sorvell_sim STATIC ${sim_sources})
target_include_directories(sorvell_sim PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(sorvell_sim PUBLIC Qt6::Core Qt6::Network Threads::Threads)
