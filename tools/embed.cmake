# Turns a binary file into a C++ source defining `const unsigned char NAME[]`
# and `const unsigned NAMESize`, declared in HEADER.
#   cmake -DINPUT=file -DOUTPUT=file.cpp -DNAME=game -DHEADER=core/game.h -P embed.cmake
if(NOT NAME)
  set(NAME game)
  set(HEADER core/game.h)
endif()
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT} "// Generated from ${INPUT}; do not edit.\n#include \"${HEADER}\"\n\nconst unsigned char ${NAME}[] = {\n${bytes}\n};\nconst unsigned ${NAME}Size = ${size};\n")
