# The tray program's main window, tray icon and icon button: in process
# against the simulated adapter (shell and menu loop through recorders), and
# Monitor.exe as a whole.
add_library(mainwnd_fixture STATIC ${CMAKE_CURRENT_LIST_DIR}/mainwnd_fixture.cpp)
target_link_libraries(mainwnd_fixture PUBLIC monitor_core test_support)

add_wine_test(mainwnd_test
  ${CMAKE_CURRENT_LIST_DIR}/mainwnd_dialog_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tray_icon_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/iconbutton_draw_test.cpp)
target_link_libraries(mainwnd_test PRIVATE mainwnd_fixture monitor_resources)
add_dependencies(mainwnd_test monitor_de)

add_wine_test(mainwnd_process_test ${CMAKE_CURRENT_LIST_DIR}/mainwnd_process_test.cpp)
target_link_libraries(mainwnd_process_test PRIVATE test_support)
add_dependencies(mainwnd_process_test Monitor nicsim)

# The compiled help file, read by a CHM reader of its own.
add_test(NAME mainwnd_help_chm
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/help/check_chm.py ${BIN_DIR}/Monitor.chm
          --title "Wavelume Help" --default-topic index.htm
          index.htm tray.htm connect.htm config.htm security.htm link.htm ip.htm survey.htm version.htm trouble.htm
          install.htm native.htm)

# Registry reads of the default-processing hook: a benchmark, built with the
# tests but not run by them (build/wine-run build/bin/bench_tray_profiles.exe).
add_executable(bench_tray_profiles ${PROJECT_SOURCE_DIR}/benchmarks/bench_tray_profiles.cpp)
target_link_libraries(bench_tray_profiles PRIVATE monitor_core monitor_resources test_support)

# Drives a running Monitor.exe for scripts/screenshots.sh.
add_executable(mainwnd_shotdriver ${CMAKE_CURRENT_LIST_DIR}/mainwnd_shotdriver.cpp)
target_link_libraries(mainwnd_shotdriver PRIVATE comctl32 user32)
