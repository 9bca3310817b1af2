# The set-up script against stand-ins for apt and the tools it looks for:
# runs natively, in every tree.
add_test(NAME install_deps_test COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/install_deps_test.sh)
set_tests_properties(install_deps_test PROPERTIES LABELS tools)
