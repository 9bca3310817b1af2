# The installer run silently in the test prefix: what it puts down, an
# upgrade over a running monitor, and the uninstaller. The installer is a
# 32-bit program packing the 32-bit release build, so a tree without it
# (the 64-bit one) builds the test to skip.
add_wine_test(installer_test installer_test.cpp)
target_link_libraries(installer_test PRIVATE test_support advapi32 version shell32 ole32 uuid)
target_compile_definitions(installer_test PRIVATE PRODUCT_VERSION="${PRODUCT_VERSION}"
  PRODUCT_DATE="${PRODUCT_DATE}")
if(TARGET installer)
  get_filename_component(installer_name ${INSTALLER_FILE} NAME)
  target_compile_definitions(installer_test PRIVATE INSTALLER_NAME="${installer_name}")
  add_dependencies(installer_test installer Monitor fake_wzcsvc)
  # Two installs and an uninstall per test.
  set_tests_properties(installer_test PROPERTIES TIMEOUT 600)
else()
  # Its one test skips, with the reason: ctest lists it as skipped, not passed.
  set_tests_properties(installer_test PROPERTIES SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
endif()
