# The Windows build's own parts, included at the end of the top-level
# CMakeLists.txt when cross-compiling with tools/windows/toolchain.cmake
# (or building with mingw-w64 on Windows):
#   - zelbun-kreator.exe, a GUI program without a console window, with the
#     icon and version information in its resources;
#   - zelbun-kreator.com beside it, the same program as a console program,
#     for the command-line subcommands (see below);
#   - SDL.dll and SDL2.dll copied beside every program that needs them;
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

# resources.rc.in for a program file named `file_name`.
function(zelbun_resources out file_name)
  set(ZELBUN_FILE_NAME ${file_name})
  set(rc ${CMAKE_BINARY_DIR}/windows/${file_name}.rc)
  configure_file(${ZELBUN_WIN_DIR}/resources.rc.in ${rc} @ONLY)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${ZELBUN_ICO})
  set(${out} ${rc} PARENT_SCOPE)
endfunction()

zelbun_resources(editor_rc zelbun-kreator.exe)
target_sources(zelbun-kreator PRIVATE ${editor_rc})
set_target_properties(zelbun-kreator PROPERTIES WIN32_EXECUTABLE ON)
add_dependencies(zelbun-kreator zelbun-windows-icon)

# The subcommands print and return a status; a GUI program can do neither
# for cmd.exe or PowerShell, which do not wait for it (so the prompt comes
# back before the output, and %ERRORLEVEL% and $LASTEXITCODE stay unset),
# and attaching it to the parent's console afterwards still races the
# prompt. So the same program is also built as a console program named
# zelbun-kreator.com: typed as `zelbun-kreator`, both shells find the .com
# first (PATHEXT lists .COM before .EXE) and wait for it, while Explorer,
# shortcuts and file associations start the .exe without a console. The
# .com is an ordinary PE file; Windows goes by its header, not its name.
zelbun_resources(console_rc zelbun-kreator.com)
add_executable(zelbun-kreator-console ${CMAKE_SOURCE_DIR}/app/main.cpp ${console_rc})
target_link_libraries(zelbun-kreator-console PRIVATE zelbun)
# Its own name for the import library the linker leaves beside programs.
set_target_properties(zelbun-kreator-console PROPERTIES OUTPUT_NAME zelbun-kreator SUFFIX .com
  ARCHIVE_OUTPUT_NAME zelbun-kreator-console)
add_dependencies(zelbun-kreator-console zelbun-windows-icon)

# SDL's DLLs beside every program that loads them; before linking, as the
# test discovery after linking already starts the program.
set(ZELBUN_SDL_DLLS ${SDL_PREFIX}/bin/SDL.dll ${SDL_PREFIX}/bin/SDL2.dll)
foreach(program zelbun-kreator zelbun-kreator-console zelbun_tests)
  if(TARGET ${program})
    add_custom_command(TARGET ${program} PRE_LINK
      COMMAND ${CMAKE_COMMAND} -E make_directory $<TARGET_FILE_DIR:${program}>
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${ZELBUN_SDL_DLLS} $<TARGET_FILE_DIR:${program}>
      VERBATIM)
  endif()
endforeach()

# Test files that drive POSIX itself (fork and wait, poll, pipes and fifos,
# resource limits, a shell's quoting) and have no Windows counterpart yet.
# platform_test.cpp builds to nothing on Windows by itself.
set(ZELBUN_POSIX_ONLY_TESTS
  app_test.cpp           # starts the editor with fork/exec, poll, waitpid; X11 window ids
  data_test.cpp          # runs the generator through sh quoting, status by WIFEXITED
  documentfiles_test.cpp # mkfifo; the platform's PATH-searching constructor
  enginedata_test.cpp    # runs the generator through sh quoting, status by WIFEXITED
  fileio_test.cpp        # setrlimit, mkfifo, fork and wait
)
if(TARGET zelbun_tests)
  get_target_property(test_sources zelbun_tests SOURCES)
  foreach(name ${ZELBUN_POSIX_ONLY_TESTS})
    list(FILTER test_sources EXCLUDE REGEX "/${name}$")
  endforeach()
  set_property(TARGET zelbun_tests PROPERTY SOURCES ${test_sources})
endif()

if(CMAKE_CROSSCOMPILING_EMULATOR)
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
endif()
