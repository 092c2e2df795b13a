# The window toolkit: objects, windows and dispatch, menus, timers, the notification icon.
list(APPEND TARVELO_CORE_SOURCES
  toolkit/MenuTemplate.cpp
)
list(APPEND TARVELO_CORE_TESTS
  tests/core/MenuTemplateTest.cpp
)
list(APPEND TARVELO_WIN32_SOURCES
  toolkit/PtrList.cpp
  toolkit/Utils.cpp
  toolkit/WindowObject.cpp
  toolkit/Timers.cpp
  toolkit/Menu.cpp
  toolkit/NotifyIcon.cpp
)
function(toolkit_win32_targets)
  # Separate programs where process-wide state needs a fresh process: the menu
  # command ids start at 4096, and a process has one message loop.
  set(toolkit_tests toolkit_objects_tests toolkit_window_tests toolkit_menu_tests
    toolkit_timer_icon_tests toolkit_loop_tests)
  tarvelo_add_wine_test(toolkit_objects_tests tests/win32/ToolkitObjectsTest.cpp)
  tarvelo_add_wine_test(toolkit_window_tests tests/win32/ToolkitWindowTest.cpp)
  tarvelo_add_wine_test(toolkit_menu_tests tests/win32/ToolkitMenuTest.cpp)
  tarvelo_add_wine_test(toolkit_timer_icon_tests tests/win32/ToolkitTimerIconTest.cpp)
  tarvelo_add_wine_test(toolkit_loop_tests tests/win32/ToolkitLoopTest.cpp)
  # Figures for the dispatch paths; a program to run by hand, not a test.
  add_executable(toolkit_dispatch_bench bench/ToolkitDispatchBench.cpp)
  target_link_libraries(toolkit_dispatch_bench PRIVATE tarvelo_win32)
  # Without a window manager (a bare Xvfb) Wine waits two seconds for every hidden
  # window to be withdrawn; the toolkit's test programs run with unmanaged windows.
  add_test(NAME toolkit_wine_unmanaged_windows
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh reg import Z:${CMAKE_SOURCE_DIR}/tests/win32/toolkit_unmanaged.reg)
  set_tests_properties(toolkit_wine_unmanaged_windows PROPERTIES FIXTURES_SETUP toolkit_wine TIMEOUT 300)
  set_tests_properties(${toolkit_tests} PROPERTIES FIXTURES_REQUIRED toolkit_wine)
endfunction()
list(APPEND TARVELO_WIN32_TARGET_HOOKS toolkit_win32_targets)
