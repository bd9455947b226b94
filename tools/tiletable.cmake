# Tables the program takes from the tile set's source, data/src/tiles.txt.
#
# At configure time, add_tile_table(OUTPUT SCRIPT) makes OUTPUT by running
# SCRIPT (cmake -DINPUT=tiles.txt -DOUTPUT=OUTPUT -P SCRIPT) whenever the
# source or the script changes. In such a script, read_tile_headers(CODES
# NAMES) lists the codes and names of the source's "tile CODE NAME ..."
# lines, and write_table(TEXT) writes OUTPUT, leaving it untouched when it
# holds TEXT already, so nothing is built again for nothing.
set(ZELBUN_TILE_TABLE_HELPERS ${CMAKE_CURRENT_LIST_FILE})

function(add_tile_table output script)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${PROJECT_SOURCE_DIR}/data/src/tiles.txt -DOUTPUT=${output} -P ${script}
    DEPENDS ${PROJECT_SOURCE_DIR}/data/src/tiles.txt ${script} ${ZELBUN_TILE_TABLE_HELPERS}
    VERBATIM)
endfunction()

function(read_tile_headers codes_var names_var)
  file(STRINGS ${INPUT} headers REGEX "^tile ")
  set(codes "")
  set(names "")
  foreach(header ${headers})
    if(header MATCHES "^tile +([0-9a-fA-Fx]+) +([a-z0-9-]+)")
      math(EXPR code "${CMAKE_MATCH_1}")
      list(APPEND codes ${code})
      list(APPEND names ${CMAKE_MATCH_2})
    endif()
  endforeach()
  set(${codes_var} ${codes} PARENT_SCOPE)
  set(${names_var} ${names} PARENT_SCOPE)
endfunction()

function(write_table text)
  file(WRITE ${OUTPUT}.new "// Generated from ${INPUT}; do not edit.\n${text}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${OUTPUT}.new ${OUTPUT})
  file(REMOVE ${OUTPUT}.new)
endfunction()
