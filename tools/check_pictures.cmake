# The documents' pictures: every picture a document links exists, each the
# guide or the README shows is one `make screenshots` takes (so it is
# taken again with the others and never drifts from the program), and the
# Makefile has that target.
#   cmake -DROOT=<source dir> -P tools/check_pictures.cmake
set(scenario ${ROOT}/tools/screenshots.sh)
file(READ ${ROOT}/Makefile makefile)
if(NOT makefile MATCHES "\nscreenshots:[^\n]*\n\t[^\n]*tools/screenshots\\.sh" OR NOT EXISTS ${scenario})
  message(FATAL_ERROR "the Makefile has no screenshots target running tools/screenshots.sh")
endif()
file(READ ${scenario} scenario_text)

set(failures "")
foreach(document README.md docs/guide.md docs/development.md)
  get_filename_component(dir ${ROOT}/${document} DIRECTORY)
  file(READ ${ROOT}/${document} text)
  string(REGEX MATCHALL "!\\[[^]]*\\]\\([^)]+\\)" pictures "${text}")
  foreach(picture IN LISTS pictures)
    string(REGEX REPLACE "^!\\[[^]]*\\]\\(([^)]+)\\)$" "\\1" path "${picture}")
    if(NOT EXISTS ${dir}/${path})
      string(APPEND failures "${document}: ${path} does not exist\n")
    endif()
    get_filename_component(name ${path} NAME_WE)
    if(path MATCHES "(^|/)images/" AND NOT scenario_text MATCHES "[\n;] *(shot|snap) ${name}( |\n)")
      string(APPEND failures "${document}: ${path} is not taken by tools/screenshots.sh\n")
    endif()
  endforeach()
endforeach()
if(failures)
  message(FATAL_ERROR "${failures}")
endif()
