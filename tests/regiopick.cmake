# Regiopick.exe run as a whole, with a class installer of the tests' own
# watching the restart.
add_library(regiopick_installer SHARED regiopick_installer.cpp)
set_target_properties(regiopick_installer PROPERTIES PREFIX "")
target_link_libraries(regiopick_installer PRIVATE test_support setupapi advapi32)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  # The device installer looks the entry point up by its plain name.
  target_link_options(regiopick_installer PRIVATE -Wl,--kill-at)
endif()

add_wine_test(regiopick_test regiopick_test.cpp)
target_link_libraries(regiopick_test PRIVATE test_support setupapi advapi32)
add_dependencies(regiopick_test Regiopick regiopick_installer)

# The 32-bit program's format: a GUI program that needs no DLL beyond the
# system's. Runs natively (objdump), so also where Wine cannot run 32-bit code.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_test(NAME regiopick_format
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/check_imports.sh $<TARGET_FILE:Regiopick>
            ADVAPI32.dll KERNEL32.dll msvcrt.dll SETUPAPI.dll USER32.dll)
  set_tests_properties(regiopick_format PROPERTIES LABELS program)
endif()
