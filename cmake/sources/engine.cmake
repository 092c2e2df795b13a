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
list(APPEND TARVELO_WIN32_SOURCES
  traffic/IfTableReader.cpp
)
function(engine_win32_targets)
  tarvelo_add_wine_test(engine_win32_tests tests/win32/IfTableReaderTest.cpp)
  target_link_libraries(engine_win32_tests PRIVATE ws2_32)
endfunction()
list(APPEND TARVELO_WIN32_TARGET_HOOKS engine_win32_targets)
function(engine_native_targets)
  if(TARGET benchmark::benchmark)
    add_executable(tick_bench bench/TickBench.cpp)
    target_link_libraries(tick_bench PRIVATE tarvelo_core benchmark::benchmark)
  endif()
endfunction()
list(APPEND TARVELO_NATIVE_TARGET_HOOKS engine_native_targets)
