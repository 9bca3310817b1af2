# The advanced settings sub-page, in process, and the resource module that
# shows every field the program's own strings hide.
add_wine_test(config_advanced_test config_advanced_test.cpp)
target_link_libraries(config_advanced_test PRIVATE mainwnd_fixture monitor_resources)
add_dependencies(config_advanced_test showall)
