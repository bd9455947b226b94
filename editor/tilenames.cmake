# Writes a C++ table of the tile names of data/src/tiles.txt for the status
# line (see tools/tiletable.cmake).
include(${CMAKE_CURRENT_LIST_DIR}/../tools/tiletable.cmake)
read_tile_headers(codes names)
set(entries "")
foreach(code name IN ZIP_LISTS codes names)
  string(APPEND entries "    {${code}, \"${name}\"},\n")
endforeach()
write_table("#include \"editor/tilenames.h\"\n\nnamespace {\nconst struct {\n    int code;\n    const char* name;\n} names[] = {\n${entries}};\n} // namespace\n\nconst char* tileName(int code)\n{\n    for (const auto& entry : names)\n        if (entry.code == code)\n            return entry.name;\n    return nullptr;\n}\n")
