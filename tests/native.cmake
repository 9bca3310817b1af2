# The Native Wi-Fi library (native/): its pure pieces in process, and the
# monitor on it with Wine's own wlanapi.dll.
add_wine_test(native_test ${CMAKE_CURRENT_LIST_DIR}/native_test.cpp)
target_link_libraries(native_test PRIVATE nicport_native_core shlwapi ole32)
