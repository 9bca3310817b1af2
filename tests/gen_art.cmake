# The picture generator of the resource builds, checked natively by Python.
add_test(NAME gen_art_test COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/gen_art_test.py)
set_tests_properties(gen_art_test PROPERTIES LABELS tools)
