# Fails when the freshly built game disk differs from the checked-in one,
# which builds without cc65 embed.
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${BUILT} ${CHECKED}
                RESULT_VARIABLE differ)
if(differ)
  message(FATAL_ERROR "${CHECKED} differs from the engine just built (${BUILT}); "
                      "update it: cmake --build build --target update-game-atr")
endif()
