# The dialog framework on its own.
add_wine_test(framework_test ${CMAKE_CURRENT_LIST_DIR}/framework_test.cpp)
target_link_libraries(framework_test PRIVATE monitor_core monitor_resources test_support)
