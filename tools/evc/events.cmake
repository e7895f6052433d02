# The event compiler (tools/evc): its core as a library that tests call, a thin main, and
# tessaly_compile_events, which compiles folders of event sources into an event pack at
# build time.
add_library(tessaly_evc STATIC ${CMAKE_CURRENT_LIST_DIR}/event_compiler.cpp)
target_include_directories(tessaly_evc PUBLIC ${CMAKE_CURRENT_LIST_DIR})
add_executable(tessaly-evc ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(tessaly-evc PRIVATE tessaly_evc)
get_filename_component(TESSALY_GLYPHS_TSV ${CMAKE_CURRENT_LIST_DIR}/../../content/glyphs/glyphs.tsv ABSOLUTE)

# tessaly_compile_events(<target> OUTPUT <file.dat> SOURCES <folder>... [FILL_EMPTY])
#
# Compiles the .ev sources of the folders into the event pack <file.dat> whenever a source,
# the glyph table or the compiler changes, as the custom target <target>. A later folder's
# script replaces an earlier folder's script of the same number, so a test can lay a few
# scripts of its own over content/events; FILL_EMPTY makes the scripts that no folder holds
# empty (they end at once) instead of refusing the pack. The game data target depends on it,
# so the tests find the pack built. A test script, for example:
#   tessaly_compile_events(events_choice OUTPUT ${CMAKE_BINARY_DIR}/test-events/choice.dat
#                          SOURCES ${CMAKE_SOURCE_DIR}/tests/events/choice FILL_EMPTY)
# and the test copies choice.dat as epack.dat into its working directory.
function(tessaly_compile_events target)
  cmake_parse_arguments(PARSE_ARGV 1 EVC "FILL_EMPTY" "OUTPUT" "SOURCES")
  if(NOT EVC_OUTPUT OR NOT EVC_SOURCES)
    message(FATAL_ERROR "tessaly_compile_events(${target}): OUTPUT and SOURCES are needed")
  endif()
  set(inputs)
  foreach(folder ${EVC_SOURCES})
    file(GLOB found CONFIGURE_DEPENDS ${folder}/*.ev)
    list(APPEND inputs ${found})
  endforeach()
  set(flags)
  if(EVC_FILL_EMPTY)
    list(APPEND flags --fill-empty)
  endif()
  get_filename_component(out_dir ${EVC_OUTPUT} DIRECTORY)
  add_custom_command(
    OUTPUT ${EVC_OUTPUT}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out_dir}
    COMMAND tessaly-evc --glyphs ${TESSALY_GLYPHS_TSV} ${flags} ${EVC_OUTPUT} ${EVC_SOURCES}
    DEPENDS tessaly-evc ${TESSALY_GLYPHS_TSV} ${inputs}
    COMMENT "Compiling event scripts into ${EVC_OUTPUT}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${EVC_OUTPUT})
  add_dependencies(game_data ${target})
endfunction()
