# The drawn controls and the link information and site survey pages, tested
# in-process against the simulated adapter (nicport.dll beside the tests).

# A resource-only module with the program's templates and pictures and a few
# page texts of its own.
add_test_resource_module(pages_resmod pages_resmod.rc)

add_wine_test(controls_test controls_test.cpp)
target_link_libraries(controls_test PRIVATE monitor_core monitor_resources)

add_wine_test(pages_test pages_link_test.cpp pages_survey_test.cpp)
target_link_libraries(pages_test PRIVATE mainwnd_fixture monitor_resources)
add_dependencies(pages_test pages_resmod)

# Filling and painting a survey of 1,000 networks: a program of its own, built
# with the tests but not run by ctest (timings are for reading, not asserting).
#   <build>/wine-run <build>/bin/survey_bench.exe
add_executable(survey_bench ${PROJECT_SOURCE_DIR}/benchmarks/survey_bench.cpp)
target_include_directories(survey_bench PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(survey_bench PRIVATE mainwnd_fixture monitor_resources)
