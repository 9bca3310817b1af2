# The IP information page against Wine's own IP helper and the simulated
# adapter, and the throughput graph it carries.

# The page's texts, and string 20 for a test to set to the description of
# an adapter that Wine reports.
add_test_resource_module(pages_ip_resmod ${CMAKE_CURRENT_LIST_DIR}/pages_ip_resmod.rc)

add_wine_test(pages_ip_test
  ${CMAKE_CURRENT_LIST_DIR}/pages_ip_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/graph_test.cpp)
target_link_libraries(pages_ip_test PRIVATE mainwnd_fixture monitor_resources)
add_dependencies(pages_ip_test pages_ip_resmod)

# Painting the graph and one pass of the page's worker: a program of its own,
# built with the tests but not run by ctest.
#   <build>/wine-run <build>/bin/ip_bench.exe [runs]
add_executable(ip_bench ${PROJECT_SOURCE_DIR}/benchmarks/ip_bench.cpp)
target_include_directories(ip_bench PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(ip_bench PRIVATE mainwnd_fixture monitor_resources)
