# The simulated adapter library and its control tool.
add_wine_test(nicport_test ${CMAKE_CURRENT_LIST_DIR}/nicport_test.cpp)
target_link_libraries(nicport_test PRIVATE nicport simstate shlwapi test_support)
# The test starts nicsim.exe from bin/, so it must be built first.
add_dependencies(nicport_test nicsim)
