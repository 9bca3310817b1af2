# Start-up: in-process helpers and Monitor.exe run as a whole.
# Shared test support: child processes, driving a program's windows from
# outside, and XML read back by the system's reader.
add_library(test_support STATIC support/TestProcess.cpp support/MonitorDriver.cpp support/ParsedXml.cpp)
target_include_directories(test_support PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(test_support PUBLIC advapi32 shlwapi)

# The stand-in for the zero-configuration service.
add_executable(fake_wzcsvc fake_service.cpp)

# A second resource module beside testres.dll: the program's templates
# and pictures under another product name.
add_library(resmod_b SHARED resmod/resmod_b.rc)
set_target_properties(resmod_b PROPERTIES PREFIX "" LINKER_LANGUAGE C COMPILE_OPTIONS "")
target_include_directories(resmod_b PRIVATE
  ${CMAKE_SOURCE_DIR}/resources/monitor ${CMAKE_BINARY_DIR}/resources/monitor/art)
target_link_options(resmod_b PRIVATE -nostdlib -Wl,-e,0)
add_dependencies(resmod_b monitor_art)

add_wine_test(app_test app_test.cpp app_labels.rc)
target_link_libraries(app_test PRIVATE monitor_core monitor_resources test_support)

add_wine_test(startup_test startup_test.cpp)
target_link_libraries(startup_test PRIVATE test_support monitor_resource_ids advapi32)
add_dependencies(startup_test Monitor fake_wzcsvc testres resmod_b monitor_de)

# The 32-bit program's format and export table: the five record operations
# and nothing else. Runs natively (objdump), so also where Wine cannot run
# 32-bit programs.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_test(NAME monitor_exports
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/check_exports.sh $<TARGET_FILE:Monitor>)
  set_tests_properties(monitor_exports PROPERTIES LABELS program)
endif()
