# The installer run silently in the test prefix: what it puts down, the
# adapter library chosen, the start at logon, an upgrade over a running
# monitor, and the uninstaller. The shipped installer is a 32-bit program
# packing the 32-bit release build; a 64-bit tree, whose Wine runs no 32-bit
# code, makes the same script into a 64-bit installer of its own programs
# and tests that one (it is never shipped).
add_wine_test(installer_test installer_test.cpp)
target_link_libraries(installer_test PRIVATE test_support advapi32 version shell32 ole32 oleaut32 uuid taskschd)
target_compile_definitions(installer_test PRIVATE PRODUCT_VERSION="${PRODUCT_VERSION}"
  PRODUCT_DATE="${PRODUCT_DATE}")
if(NOT TARGET installer AND CMAKE_SIZEOF_VOID_P EQUAL 8 AND MAKENSIS)
  set(INSTALLER_FILE ${CMAKE_BINARY_DIR}/dist/${PRODUCT_NAME}-setup-x64-test.exe)
  set(packed Monitor nicport nicport_native nicsim Regiopick monitor_help)
  if(TARGET monitor_de)
    list(APPEND packed monitor_de)
  endif()
  add_nsis_installer(installer AMD64 OUTFILE ${INSTALLER_FILE} BIN ${BIN_DIR} DEPENDS ${packed})
endif()
if(TARGET installer)
  get_filename_component(installer_name ${INSTALLER_FILE} NAME)
  target_compile_definitions(installer_test PRIVATE INSTALLER_NAME="${installer_name}")
  add_dependencies(installer_test installer Monitor fake_wzcsvc)
  # Several installs and uninstalls per test.
  set_tests_properties(installer_test PROPERTIES TIMEOUT 900)
else()
  # Its one test skips, with the reason: ctest lists it as skipped, not passed.
  set_tests_properties(installer_test PROPERTIES SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
endif()
