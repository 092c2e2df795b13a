# Settings store and catalogue, transfer totals and the daily log.
list(APPEND TARVELO_CORE_SOURCES
  traffic/TransferTotals.cpp
  settings/SettingsCatalogue.cpp
)
list(APPEND TARVELO_CORE_TESTS
  tests/core/TransferTotalsTest.cpp
  tests/core/SettingsCatalogueTest.cpp
  tests/core/SettingsFuzzTest.cpp
)
list(APPEND TARVELO_WIN32_SOURCES
  settings/miniReg.cpp
  settings/uSettingsReg.cpp
  traffic/SystemClock.cpp
)
function(settings_win32_targets)
  tarvelo_add_wine_test(settings_win32_tests tests/win32/RegSettingsTest.cpp)
endfunction()
list(APPEND TARVELO_WIN32_TARGET_HOOKS settings_win32_targets)
