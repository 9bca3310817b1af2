# The version of every program and library the project ships comes from
# PRODUCT_VERSION (set in the top-level CMakeLists.txt); the installer's
# DisplayVersion comes from it too.
#
# add_version_resource(<target> FILE <file name> DESCRIPTION <text> [PRODUCT_DATE])
#
# Gives <target> a version block: FileVersion and ProductVersion
# PRODUCT_VERSION, company, product name and copyright of the product, the
# file's own name and description, and with PRODUCT_DATE the extra key
# "ProductDate" that the monitor's version page shows.

set(VERSION_RC_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/version.rc.in)

function(add_version_resource target)
  cmake_parse_arguments(PARSE_ARGV 1 VER "PRODUCT_DATE;GERMAN" "FILE;DESCRIPTION" "")
  # A module of another language marks its version block with that language,
  # as it does every other resource.
  if(VER_GERMAN)
    set(VERSION_LANGUAGE_LINE "LANGUAGE LANG_GERMAN, SUBLANG_GERMAN")
    set(VERSION_BLOCK "040704B0")
    set(VERSION_TRANSLATION "0x0407")
  else()
    set(VERSION_LANGUAGE_LINE "")
    set(VERSION_BLOCK "040904B0")
    set(VERSION_TRANSLATION "0x0409")
  endif()
  string(REPLACE "." "," VERSION_COMMAS "${PRODUCT_VERSION}")
  get_filename_component(VERSION_INTERNAL "${VER_FILE}" NAME_WE)
  set(VERSION_FILE "${VER_FILE}")
  set(VERSION_DESCRIPTION "${VER_DESCRIPTION}")
  if(VER_FILE MATCHES "\\.[eE][xX][eE]$")
    set(VERSION_FILETYPE VFT_APP)
  else()
    set(VERSION_FILETYPE VFT_DLL)
  endif()
  set(VERSION_EXTRA "")
  if(VER_PRODUCT_DATE)
    set(VERSION_EXTRA "            VALUE \"ProductDate\",      \"${PRODUCT_DATE}\"\n")
  endif()
  set(script ${CMAKE_BINARY_DIR}/version/${target}_version.rc)
  configure_file(${VERSION_RC_TEMPLATE} ${script} @ONLY)
  # windres takes none of the C++ options: a target that compiles code gets
  # its block through an object library of its own.
  get_target_property(options ${target} COMPILE_OPTIONS)
  if(options)
    add_library(${target}_version OBJECT ${script})
    set_property(TARGET ${target}_version PROPERTY COMPILE_OPTIONS "")
    target_sources(${target} PRIVATE $<TARGET_OBJECTS:${target}_version>)
  else()
    target_sources(${target} PRIVATE ${script})
  endif()
endfunction()
