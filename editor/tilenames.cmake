# Writes a C++ table of the tile names of data/src/tiles.txt ("tile CODE
# NAME ..." lines) for the status line: cmake -DINPUT=... -DOUTPUT=... -P
file(STRINGS ${INPUT} headers REGEX "^tile ")
set(entries "")
foreach(header ${headers})
  if(header MATCHES "^tile +([0-9a-fA-Fx]+) +([a-z0-9-]+)")
    math(EXPR code "${CMAKE_MATCH_1}")
    string(APPEND entries "    {${code}, \"${CMAKE_MATCH_2}\"},\n")
  endif()
endforeach()
file(WRITE ${OUTPUT}.new "// Generated from ${INPUT}; do not edit.\n#include \"editor/tilenames.h\"\n\nnamespace {\nconst struct {\n    int code;\n    const char* name;\n} names[] = {\n${entries}};\n} // namespace\n\nconst char* tileName(int code)\n{\n    for (const auto& entry : names)\n        if (entry.code == code)\n            return entry.name;\n    return nullptr;\n}\n")
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${OUTPUT}.new ${OUTPUT})
file(REMOVE ${OUTPUT}.new)
