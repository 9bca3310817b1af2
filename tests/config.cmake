# The profile store, the configuration page and the common settings page,
# in process against the simulated adapter and Wine's registry.
add_wine_test(config_test
  ${CMAKE_CURRENT_LIST_DIR}/config_store_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/config_page_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/config_common_test.cpp)
target_link_libraries(config_test PRIVATE mainwnd_fixture monitor_resources)

# A resource module that suppresses the common sub-page.
add_library(config_resmod SHARED config_resmod.rc)
set_property(TARGET config_resmod PROPERTY COMPILE_OPTIONS "")
target_include_directories(config_resmod PRIVATE
  ${PROJECT_SOURCE_DIR}/resources/monitor ${PROJECT_BINARY_DIR}/resources/monitor/art)
add_dependencies(config_resmod monitor_art)
set_source_files_properties(config_resmod.rc PROPERTIES OBJECT_DEPENDS
  "${PROJECT_SOURCE_DIR}/resources/monitor/monitor_ui.rc;${PROJECT_SOURCE_DIR}/resources/monitor/resource.h")
set_target_properties(config_resmod PROPERTIES PREFIX "" LINKER_LANGUAGE C)
target_link_options(config_resmod PRIVATE -nostdlib -Wl,-e,0)
add_dependencies(config_test config_resmod)
