# The drawn controls and the link information and site survey pages, tested
# in-process against the simulated adapter (nicport.dll beside the tests).

# A resource-only module with the program's templates and pictures and a few
# page texts of its own.
add_library(pages_resmod SHARED pages_resmod.rc)
set_property(TARGET pages_resmod PROPERTY COMPILE_OPTIONS "")
target_include_directories(pages_resmod PRIVATE
  ${PROJECT_SOURCE_DIR}/resources/monitor ${PROJECT_BINARY_DIR}/resources/monitor/art)
add_dependencies(pages_resmod monitor_art)
set_source_files_properties(pages_resmod.rc PROPERTIES OBJECT_DEPENDS
  "${PROJECT_SOURCE_DIR}/resources/monitor/monitor_ui.rc;${PROJECT_SOURCE_DIR}/resources/monitor/resource.h")
set_target_properties(pages_resmod PROPERTIES PREFIX "" LINKER_LANGUAGE C)
target_link_options(pages_resmod PRIVATE -nostdlib -Wl,-e,0)

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
