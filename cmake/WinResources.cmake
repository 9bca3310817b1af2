# The resources of every program in the project are built the same way: the
# pictures are drawn at build time from readable descriptions by
# tools/gen_art.py, and the resource scripts are compiled by windres with the
# drawn pictures on their include path.

set(GEN_ART_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/../tools/gen_art.py)

# add_art_target(<name> SOURCE_DIR <dir> OUTPUT_DIR <dir> [COMMENT <text>])
#
# A custom target <name> that draws <dir>/icons/*.art as .ico files and
# <dir>/bitmaps/*.art as .bmp files into OUTPUT_DIR. The drawings in <dir>/*.art
# are the shared parts the pictures include: changing one redraws them all.
function(add_art_target name)
  cmake_parse_arguments(PARSE_ARGV 1 ART "" "SOURCE_DIR;OUTPUT_DIR;COMMENT" "")
  file(GLOB icons CONFIGURE_DEPENDS ${ART_SOURCE_DIR}/icons/*.art)
  file(GLOB bitmaps CONFIGURE_DEPENDS ${ART_SOURCE_DIR}/bitmaps/*.art)
  file(GLOB shared CONFIGURE_DEPENDS ${ART_SOURCE_DIR}/*.art)
  set(outputs)
  foreach(src IN LISTS icons)
    get_filename_component(stem ${src} NAME_WE)
    list(APPEND outputs ${ART_OUTPUT_DIR}/${stem}.ico)
  endforeach()
  foreach(src IN LISTS bitmaps)
    get_filename_component(stem ${src} NAME_WE)
    list(APPEND outputs ${ART_OUTPUT_DIR}/${stem}.bmp)
  endforeach()
  if(NOT ART_COMMENT)
    set(ART_COMMENT "Drawing the pictures of ${name}")
  endif()
  add_custom_command(
    OUTPUT ${outputs}
    COMMAND ${Python3_EXECUTABLE} ${GEN_ART_SCRIPT}
            --out ${ART_OUTPUT_DIR} --art-root ${ART_SOURCE_DIR} ${icons} ${bitmaps}
    DEPENDS ${GEN_ART_SCRIPT} ${icons} ${bitmaps} ${shared}
    COMMENT "${ART_COMMENT}"
    VERBATIM)
  add_custom_target(${name} DEPENDS ${outputs})
  set_target_properties(${name} PROPERTIES ART_OUTPUT_DIR ${ART_OUTPUT_DIR} ART_OUTPUTS "${outputs}")
endfunction()

# target_art_resources(<target> ART <art target> [INCLUDE_DIRS <dir>...] [DEPENDS <file>...])
#
# Makes <target>'s .rc sources compile against the pictures of <art target>:
# the pictures and INCLUDE_DIRS on windres's include path, and the scripts
# compiled again whenever a picture or one of DEPENDS (the scripts and
# headers they include) changes. windres takes none of the C++ warning
# options, so <target> must hold resource scripts only.
function(target_art_resources target)
  cmake_parse_arguments(PARSE_ARGV 1 RC "" "ART" "INCLUDE_DIRS;DEPENDS")
  get_target_property(art_dir ${RC_ART} ART_OUTPUT_DIR)
  get_target_property(art_outputs ${RC_ART} ART_OUTPUTS)
  set_property(TARGET ${target} PROPERTY COMPILE_OPTIONS "")
  target_include_directories(${target} PRIVATE ${RC_INCLUDE_DIRS} ${art_dir})
  add_dependencies(${target} ${RC_ART})
  get_target_property(sources ${target} SOURCES)
  foreach(src IN LISTS sources)
    if(src MATCHES "\\.rc$")
      set_property(SOURCE ${src} APPEND PROPERTY OBJECT_DEPENDS ${RC_DEPENDS} ${art_outputs})
    endif()
  endforeach()
endfunction()

# add_resource_module(<name> <rc file>... ART <art target> [INCLUDE_DIRS ...] [DEPENDS ...])
#
# <name>.dll: a module of resources only (no code, no C runtime, no entry
# point) that a program can load its texts and pictures from.
function(add_resource_module name)
  cmake_parse_arguments(PARSE_ARGV 1 MOD "" "ART" "INCLUDE_DIRS;DEPENDS")
  add_library(${name} SHARED ${MOD_UNPARSED_ARGUMENTS})
  target_art_resources(${name} ART ${MOD_ART} INCLUDE_DIRS ${MOD_INCLUDE_DIRS} DEPENDS ${MOD_DEPENDS})
  set_target_properties(${name} PROPERTIES PREFIX "" LINKER_LANGUAGE C)
  target_link_options(${name} PRIVATE -nostdlib -Wl,-e,0)
endfunction()
