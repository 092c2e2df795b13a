# Main graph, rate boxes, hover readout and the colour helpers.
list(APPEND TARVELO_CORE_SOURCES
  render/ColorTools.cpp
  render/GraphRenderer.cpp
  render/RateBoxes.cpp
)
list(APPEND TARVELO_CORE_TESTS
  tests/core/ColorToolsTest.cpp
  tests/core/GraphRendererTest.cpp
  tests/core/RateBoxesTest.cpp
)

function(renderers_win32_targets)
  tarvelo_add_wine_test(renderers_win32_tests tests/win32/GraphPixelsTest.cpp)
  # a timing program run by hand under Wine, not a test
  add_executable(draw_graph_bench bench/DrawGraphBench.cpp)
  target_link_libraries(draw_graph_bench PRIVATE tarvelo_win32)
endfunction()
list(APPEND TARVELO_WIN32_TARGET_HOOKS renderers_win32_targets)
