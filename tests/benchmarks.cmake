# Measuring programs, built with the tests but not run by ctest: the
# do-nothing program the monitor is measured against, and the side-by-side
# driver. benchmarks/run-benchmarks.sh runs them.
add_executable(idle_baseline WIN32 ${PROJECT_SOURCE_DIR}/benchmarks/idle_baseline.cpp)
target_link_libraries(idle_baseline PRIVATE shell32 user32)

add_executable(bench_idle ${PROJECT_SOURCE_DIR}/benchmarks/bench_idle.cpp)
target_link_libraries(bench_idle PRIVATE test_support psapi advapi32)
add_dependencies(bench_idle Monitor idle_baseline)
