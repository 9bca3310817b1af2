# The security sub-page and its key dialogs, in process; testres.dll offers
# the key types the program's own strings hide.
add_wine_test(config_security_test ${CMAKE_CURRENT_LIST_DIR}/config_security_test.cpp)
target_link_libraries(config_security_test PRIVATE mainwnd_fixture monitor_resources)
add_dependencies(config_security_test testres)
