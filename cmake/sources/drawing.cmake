# The toolkit's drawing half: colours, drawing tools, canvas, bitmaps, image strips.
list(APPEND TARVELO_WIN32_SOURCES
  toolkit/Colour.cpp
  toolkit/DrawTool.cpp
  toolkit/DrawCanvas.cpp
  toolkit/DrawBitmap.cpp
  toolkit/ImageStrip.cpp
)
function(drawing_win32_targets)
  tarvelo_add_wine_test(drawing_win32_tests tests/win32/DrawingTest.cpp)
  # a timing program run by hand under Wine, not a test
  add_executable(drawing_tools_bench bench/DrawingToolsBench.cpp)
  target_link_libraries(drawing_tools_bench PRIVATE tarvelo_win32)
endfunction()
list(APPEND TARVELO_WIN32_TARGET_HOOKS drawing_win32_targets)
