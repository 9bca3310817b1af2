# The profile store, the configuration page and the common settings page,
# in process against the simulated adapter and Wine's registry.
add_wine_test(config_test
  ${CMAKE_CURRENT_LIST_DIR}/config_store_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/config_page_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/config_common_test.cpp)
target_link_libraries(config_test PRIVATE mainwnd_fixture monitor_resources)

# A resource module that suppresses the common sub-page.
add_test_resource_module(config_resmod config_resmod.rc)
add_dependencies(config_test config_resmod)
