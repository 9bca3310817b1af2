# The profile store, the configuration page and the common settings page,
# in process against the simulated adapter and Wine's registry.
add_wine_test(config_test
  ${CMAKE_CURRENT_LIST_DIR}/config_store_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/config_page_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/config_common_test.cpp)
target_link_libraries(config_test PRIVATE mainwnd_fixture monitor_resources)
