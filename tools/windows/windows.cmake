# The Windows build's own parts, included at the end of the top-level
# CMakeLists.txt when cross-compiling with tools/windows/toolchain.cmake
# (or building with mingw-w64 on Windows):
#   - zelbun-kreator.exe, a GUI program without a console window, with the
#     icon and version information in its resources;
#   - zelbun-kreator.com beside it, the same program as a console program,
#     for the command-line subcommands (see below);
#   - SDL.dll and SDL2.dll copied beside every program that needs them;
#   - the install rules of one folder and, made from them, the portable zip
#     and the installer;
#   - the test suite without the test files that need POSIX.

enable_language(RC)
set(ZELBUN_WIN_DIR ${CMAKE_CURRENT_LIST_DIR})

# The subsystem belongs to each program, not to the library: sdl.pc's
# -mwindows would make every program linking SDL (the tests too) a GUI
# program, whose output a console never shows.
foreach(sdl_target PkgConfig::SDL PkgConfig::SDLGFX)
  get_target_property(options ${sdl_target} INTERFACE_LINK_OPTIONS)
  if(options)
    list(REMOVE_ITEM options -mwindows)
    set_target_properties(${sdl_target} PROPERTIES INTERFACE_LINK_OPTIONS "${options}")
  endif()
endforeach()

# The icon, drawn by the data generator from the same art as the window
# and desktop icons.
set(ZELBUN_ICO ${CMAKE_BINARY_DIR}/windows/zelbun-kreator.ico)
add_custom_command(OUTPUT ${ZELBUN_ICO}
  COMMAND zelbun-gendata ico ${CMAKE_SOURCE_DIR}/data/src/icon.txt ${ZELBUN_ICO}
  DEPENDS zelbun-gendata ${CMAKE_SOURCE_DIR}/data/src/icon.txt
  COMMENT "Drawing the Windows icon")
# One target owns the command, so that the two programs do not both run it.
add_custom_target(zelbun-windows-icon DEPENDS ${ZELBUN_ICO})

set(ZELBUN_MANIFEST ${CMAKE_BINARY_DIR}/windows/zelbun-kreator.manifest)
configure_file(${ZELBUN_WIN_DIR}/zelbun-kreator.manifest.in ${ZELBUN_MANIFEST} @ONLY)

# resources.rc.in for a program file named `file_name`, added to `target`.
function(zelbun_add_resources target file_name)
  set(ZELBUN_FILE_NAME ${file_name})
  set(rc ${CMAKE_BINARY_DIR}/windows/${file_name}.rc)
  configure_file(${ZELBUN_WIN_DIR}/resources.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  set_source_files_properties(${rc} TARGET_DIRECTORY ${target} PROPERTIES
    OBJECT_DEPENDS "${ZELBUN_ICO};${ZELBUN_MANIFEST}")
  add_dependencies(${target} zelbun-windows-icon)
endfunction()

# The console twin below is built from the same file with the same
# libraries, taken before the editor gets its resources.
get_target_property(editor_dir zelbun-kreator SOURCE_DIR)
get_target_property(editor_libraries zelbun-kreator LINK_LIBRARIES)

zelbun_add_resources(zelbun-kreator zelbun-kreator.exe)
set_target_properties(zelbun-kreator PROPERTIES WIN32_EXECUTABLE ON)

# The subcommands print and return a status; a GUI program can do neither
# for cmd.exe or PowerShell, which do not wait for it (so the prompt comes
# back before the output, and %ERRORLEVEL% and $LASTEXITCODE stay unset),
# and attaching it to the parent's console afterwards still races the
# prompt. So the same program is also built as a console program named
# zelbun-kreator.com: typed as `zelbun-kreator`, both shells find the .com
# first (PATHEXT lists .COM before .EXE) and wait for it, while Explorer,
# shortcuts and file associations start the .exe without a console. The
# .com is an ordinary PE file; Windows goes by its header, not its name.
add_executable(zelbun-kreator-console ${editor_dir}/main.cpp)
target_link_libraries(zelbun-kreator-console PRIVATE ${editor_libraries})
target_compile_options(zelbun-kreator-console PRIVATE ${ZELBUN_HARDENING_FLAGS})
zelbun_add_resources(zelbun-kreator-console zelbun-kreator.com)
# Its own name for the import library the linker leaves beside programs.
set_target_properties(zelbun-kreator-console PROPERTIES OUTPUT_NAME zelbun-kreator SUFFIX .com
  ARCHIVE_OUTPUT_NAME zelbun-kreator-console)

# SDL's DLLs beside the programs that load them, all in one folder as
# Windows looks for a program's DLLs beside it; in place before the test
# discovery after linking starts the suite.
set(dlls)
foreach(dll SDL.dll SDL2.dll)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${dll}
    COMMAND ${CMAKE_COMMAND} -E copy ${SDL_PREFIX}/bin/${dll} ${CMAKE_BINARY_DIR}/${dll}
    DEPENDS ${SDL_PREFIX}/bin/${dll})
  list(APPEND dlls ${CMAKE_BINARY_DIR}/${dll})
endforeach()
add_custom_target(zelbun-sdl-dlls DEPENDS ${dlls})
foreach(program zelbun-kreator zelbun-kreator-console zelbun_tests)
  get_target_property(program_dir ${program} RUNTIME_OUTPUT_DIRECTORY)
  if(NOT program_dir STREQUAL CMAKE_BINARY_DIR)
    message(FATAL_ERROR "${program} is not built into ${CMAKE_BINARY_DIR}, beside SDL's DLLs")
  endif()
  add_dependencies(${program} zelbun-sdl-dlls)
endforeach()

# Installed as one folder, as Windows programs are: the two programs and
# SDL's DLLs, the data beside them (where core/datafiles.cpp looks, after
# the working directory), the documents as text files (the guide with its pictures), and the licence of
# everything linked in or shipped.
set(data ${CMAKE_SOURCE_DIR}/data)
set(shipped_data ${data}/tiles.bmp ${data}/paleta.bmp ${data}/tiles.cfg ${data}/icon.bmp)
set(shipped_texts README.md:README.txt LICENSE:LICENSE.txt data/TILES.md:TILES.txt docs/guide.md:GUIDE.txt)
# The guide's pictures, where its links find them beside GUIDE.txt.
file(GLOB shipped_pictures CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/images/*.png)
install(TARGETS zelbun-kreator zelbun-kreator-console RUNTIME DESTINATION .)
install(FILES ${dlls} ${shipped_data} DESTINATION .)
install(FILES ${shipped_pictures} DESTINATION images)
set(shipped_text_files)
foreach(text ${shipped_texts})
  string(REPLACE ":" ";" text ${text})
  list(GET text 0 source)
  list(GET text 1 name)
  install(FILES ${CMAKE_SOURCE_DIR}/${source} DESTINATION . RENAME ${name})
  list(APPEND shipped_text_files ${CMAKE_SOURCE_DIR}/${source})
endforeach()
# SDL2, sdl12-compat, SDL_gfx, zlib and libpng as build-deps.sh kept them;
# the compiler's runtime and winpthreads (mingw-w64), CLI11 and JSON for
# Modern C++ from the Debian packages the build took them from.
install(DIRECTORY ${SDL_PREFIX}/share/licenses/ DESTINATION licenses)
foreach(package mingw-w64:mingw-w64-common gcc-runtime:gcc-mingw-w64-base CLI11:libcli11-dev
        nlohmann-json:nlohmann-json3-dev)
  string(REPLACE ":" ";" package ${package})
  list(GET package 0 name)
  list(GET package 1 debian)
  if(EXISTS /usr/share/doc/${debian}/copyright)
    install(FILES /usr/share/doc/${debian}/copyright DESTINATION licenses/${name})
  endif()
endforeach()

# `make windows` makes both packages; `cmake --install` runs inside the
# build for them, once everything it installs is built.
set(ZELBUN_PACKAGE_NAME zelbun-kreator-${PROJECT_VERSION}-win64)
set(ZELBUN_ZIP ${CMAKE_BINARY_DIR}/${ZELBUN_PACKAGE_NAME}.zip)
set(ZELBUN_SETUP ${CMAKE_BINARY_DIR}/${ZELBUN_PACKAGE_NAME}-setup.exe)
add_custom_command(OUTPUT ${ZELBUN_ZIP} ${ZELBUN_SETUP}
  COMMAND bash ${ZELBUN_WIN_DIR}/package.sh ${CMAKE_BINARY_DIR} ${ZELBUN_PACKAGE_NAME} ${PROJECT_VERSION} ${ZELBUN_ICO}
  DEPENDS zelbun-kreator zelbun-kreator-console ${dlls} ${shipped_data} ${shipped_text_files} ${shipped_pictures}
          ${ZELBUN_ICO}
          ${ZELBUN_WIN_DIR}/package.sh ${ZELBUN_WIN_DIR}/installer.nsi ${ZELBUN_WIN_DIR}/windows.cmake
  COMMENT "Packing ${ZELBUN_PACKAGE_NAME}.zip and the installer")
add_custom_target(zelbun-windows-package ALL DEPENDS ${ZELBUN_ZIP} ${ZELBUN_SETUP})

# Test files that drive POSIX itself and have their Windows counterpart
# elsewhere: windows_test.cpp for the files and the emulator start,
# tests/windows/window_test.sh for the real window under Wine.
# platform_test.cpp and emulatorchoice_test.cpp (zenity, kdialog,
# xdg-open, desktop entries) build to nothing on Windows by themselves.
set(ZELBUN_POSIX_ONLY_TESTS
  app_test.cpp           # starts the editor with posix_spawn, poll, waitpid; X11 window ids
  fileio_test.cpp        # setrlimit, mkfifo, fork and wait; links, hard links, modes, in-place saves
  window_test.cpp        # Xvfb and xdotool driving the program started with posix_spawn
)
if(TARGET zelbun_tests)
  get_target_property(test_sources zelbun_tests SOURCES)
  foreach(name ${ZELBUN_POSIX_ONLY_TESTS})
    list(FILTER test_sources EXCLUDE REGEX "/${name}$")
  endforeach()
  set_property(TARGET zelbun_tests PROPERTY SOURCES ${test_sources})
  # The emulator the tests start: a program that says what it was given. A
  # GUI program, as emulators are: no console window comes up for it.
  add_executable(zelbun_standin WIN32 ${CMAKE_SOURCE_DIR}/tests/windows/standin.cpp)
  add_dependencies(zelbun_tests zelbun_standin)
endif()

if(CMAKE_CROSSCOMPILING_EMULATOR)
  # Under Wine each process costs about half a second to start, more than
  # most cases take: the suite runs as two processes, one per core, each
  # taking every other case (gtest's shards). A shard passes with status 0
  # and gtest's own PASSED line (wine-run.sh); a failure names its cases.
  foreach(shard 0 1)
    add_test(NAME WindowsSuite.shard${shard} COMMAND zelbun_tests --gtest_filter=*)
    set_tests_properties(WindowsSuite.shard${shard} PROPERTIES TIMEOUT 600
      ENVIRONMENT "${ZELBUN_TEST_ENVIRONMENT};GTEST_TOTAL_SHARDS=2;GTEST_SHARD_INDEX=${shard}")
  endforeach()
  # The one case that needs a file size limit, under one, as a full disk.
  add_test(NAME WindowsSuite.writeCutShort COMMAND zelbun_tests --gtest_filter=WindowsFiles.AWriteCutShortLosesNothing)
  set_tests_properties(WindowsSuite.writeCutShort PROPERTIES
    ENVIRONMENT "${ZELBUN_TEST_ENVIRONMENT};ZELBUN_FILE_SIZE_LIMIT=32" FAIL_REGULAR_EXPRESSION "\\[  SKIPPED \\]")

  # wine-run.sh must fail a test program that crashes or ends without
  # gtest's summary; the probe plays both, and a plain run of it passes.
  add_executable(zelbun_wine_probe ${ZELBUN_WIN_DIR}/probe.cpp)
  foreach(mode crash silent plain)
    add_test(NAME WineRun.${mode} COMMAND zelbun_wine_probe ${mode} --gtest_filter=*)
  endforeach()
  set_tests_properties(WineRun.crash WineRun.silent PROPERTIES WILL_FAIL TRUE)

  # The programs as a user meets them: subsystems, the DLLs they need, and
  # the subcommands typed into cmd.exe.
  add_test(NAME Windows.ConsoleCommands
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/windows/console_test.sh ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR}
            ${CMAKE_CROSSCOMPILING_EMULATOR})
  add_test(NAME Windows.Installer
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/windows/installer_test.sh ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR}
            ${CMAKE_CROSSCOMPILING_EMULATOR} ${ZELBUN_PACKAGE_NAME})
  set_tests_properties(Windows.Installer PROPERTIES TIMEOUT 300)
  add_test(NAME Windows.RealWindow
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/windows/window_test.sh ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR}
            ${CMAKE_CROSSCOMPILING_EMULATOR})
  set_tests_properties(Windows.RealWindow PROPERTIES TIMEOUT 300 SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
  # The same answers as the Linux build's program, which `make test` builds.
  set(ZELBUN_HOST_PROGRAM ${CMAKE_SOURCE_DIR}/build/zelbun-kreator CACHE FILEPATH
      "The Linux build's program, whose answers the Windows program's must equal")
  add_test(NAME Windows.SameAnswersAsLinux
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/windows/equality_test.sh ${ZELBUN_HOST_PROGRAM} ${CMAKE_BINARY_DIR}
            ${CMAKE_SOURCE_DIR} ${CMAKE_CROSSCOMPILING_EMULATOR})
  set_tests_properties(Windows.SameAnswersAsLinux PROPERTIES TIMEOUT 300
    SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
endif()
