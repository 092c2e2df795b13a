# Traffic engine: byte formatters, adapter sampling, the tick.
list(APPEND TARVELO_CORE_SOURCES
  app/ByteFormat.cpp
  traffic/AdapterSampling.cpp
  app/Tick.cpp
)
list(APPEND TARVELO_CORE_TESTS
  tests/core/ByteFormatTest.cpp
  tests/core/AdapterSamplingTest.cpp
  tests/core/TickTest.cpp
)
