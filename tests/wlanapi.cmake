# The scripted stand-in of the Native Wi-Fi client library (wlanapi.dll), its
# control tool wlansim.exe, and bin/wlantest/: the monitor with the Native
# Wi-Fi nicport.dll beside them, where Wine loads the stand-in instead of its
# own wlanapi.dll. Test-only, so never in the release build or the installer.
set(standin_dir ${CMAKE_CURRENT_LIST_DIR}/wlanapi)
set(wlantest_dir ${BIN_DIR}/wlantest)

add_library(wlanstandin_state STATIC
  ${standin_dir}/standin/StandinState.cpp ${standin_dir}/standin/ProfileXml.cpp)
target_include_directories(wlanstandin_state PUBLIC ${standin_dir}/standin)
target_link_libraries(wlanstandin_state PUBLIC simstate)

add_library(wlanapi_standin SHARED ${standin_dir}/standin/wlanapi.cpp)
target_link_libraries(wlanapi_standin PRIVATE wlanstandin_state)
# The system library's names are undecorated; the 32-bit compiler would
# export WlanOpenHandle@16.
target_link_options(wlanapi_standin PRIVATE -Wl,--kill-at)
set_target_properties(wlanapi_standin PROPERTIES OUTPUT_NAME wlanapi PREFIX ""
  RUNTIME_OUTPUT_DIRECTORY ${wlantest_dir}
  ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib/wlantest)

add_executable(wlansim ${standin_dir}/wlansim.cpp)
target_link_libraries(wlansim PRIVATE wlanstandin_state)
set_target_properties(wlansim PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${wlantest_dir})

# The programs under test beside the stand-in, copied again whenever they
# are rebuilt.
set(wlantest_copies ${wlantest_dir}/Monitor.exe ${wlantest_dir}/nicport.dll ${wlantest_dir}/Monitor.chm)
add_custom_command(OUTPUT ${wlantest_copies}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Monitor> ${wlantest_dir}/Monitor.exe
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:nicport_native> ${wlantest_dir}/nicport.dll
  COMMAND ${CMAKE_COMMAND} -E copy ${BIN_DIR}/Monitor.chm ${wlantest_dir}/Monitor.chm
  DEPENDS Monitor nicport_native ${BIN_DIR}/Monitor.chm
  COMMENT "Filling bin/wlantest with the monitor and the Native Wi-Fi library"
  VERBATIM)
add_custom_target(wlantest_folder ALL DEPENDS ${wlantest_copies})
add_dependencies(wlantest_folder wlanapi_standin wlansim monitor_help)

add_wine_test(wlanapi_test ${CMAKE_CURRENT_LIST_DIR}/wlanapi_test.cpp)
target_link_libraries(wlanapi_test PRIVATE wlanstandin_state test_support)
# The test loads bin/wlantest/wlanapi.dll and runs wlansim.exe from there.
add_dependencies(wlanapi_test wlantest_folder)
