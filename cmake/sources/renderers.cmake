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
