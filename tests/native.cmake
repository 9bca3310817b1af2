# The Native Wi-Fi library (native/): its pure pieces in process, and the
# monitor on it with Wine's own wlanapi.dll.
add_wine_test(native_test ${CMAKE_CURRENT_LIST_DIR}/native_test.cpp)
target_link_libraries(native_test PRIVATE nicport_native_core test_support ole32)

add_wine_test(native_monitor_test ${CMAKE_CURRENT_LIST_DIR}/native_monitor_test.cpp)
target_link_libraries(native_monitor_test PRIVATE test_support)
add_dependencies(native_monitor_test Monitor nicport_native)

# The 32-bit library's format and export table against the simulated one's.
# Runs natively (objdump), so also where Wine cannot run 32-bit programs.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_test(NAME native_exports
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/check_native_exports.sh $<TARGET_FILE:nicport> $<TARGET_FILE:nicport_native>)
  set_tests_properties(native_exports PROPERTIES LABELS program)
endif()

# The monitor on the Native Wi-Fi library against the stand-in wlanapi.dll:
# Monitor.exe from bin/wlantest/, driven from outside, the stand-in's state
# read back through wlansim.exe.
add_wine_test(native_e2e_test ${CMAKE_CURRENT_LIST_DIR}/native_e2e_test.cpp)
target_link_libraries(native_e2e_test PRIVATE test_support monitor_resource_ids gdi32 setupapi)
target_include_directories(native_e2e_test PRIVATE ${PROJECT_SOURCE_DIR}/monitor)
add_dependencies(native_e2e_test wlantest_folder showall)
