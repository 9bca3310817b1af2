# The version information page against the simulated adapter: the test
# program's own version block (it links the program's resources), a module
# whose block lacks ProductDate, and pages_resmod.dll, which has no block.
add_test_resource_module(pages_version_nodate pages_version_nodate.rc)
add_wine_test(pages_version_test pages_version_test.cpp)
target_link_libraries(pages_version_test PRIVATE mainwnd_fixture monitor_resources)
add_dependencies(pages_version_test pages_version_nodate pages_resmod)
