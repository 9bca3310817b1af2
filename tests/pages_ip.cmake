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
