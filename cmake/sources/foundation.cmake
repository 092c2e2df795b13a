# History, scaling and the toolkit's handle owners and base object.
list(APPEND TARVELO_CORE_SOURCES
  app/TrafficHistory.cpp
  render/Scaling.cpp
)
list(APPEND TARVELO_CORE_TESTS
  tests/core/TrafficHistoryTest.cpp
  tests/core/ScalingTest.cpp
)
list(APPEND TARVELO_WIN32_SOURCES
  toolkit/Handles.cpp
  toolkit/BaseObject.cpp
)
