# The Monitor's resources, loaded the way the program loads them.
add_wine_test(resources_test resources_test.cpp)
target_link_libraries(resources_test PRIVATE monitor_core monitor_resources comctl32 version gdi32 user32)
add_dependencies(resources_test testres monitor_de Monitor Regiopick)
