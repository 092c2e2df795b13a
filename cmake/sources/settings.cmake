# Settings store and catalogue, transfer totals and the daily log.
list(APPEND TARVELO_CORE_SOURCES
  traffic/TransferTotals.cpp
  settings/SettingsCatalogue.cpp
)
list(APPEND TARVELO_CORE_TESTS
  tests/core/TransferTotalsTest.cpp
  tests/core/SettingsCatalogueTest.cpp
)
