# GoogleTest for both builds: the system's for the native one, built from the
# Debian sources (/usr/src/googletest) for MinGW, which has no packaged library.
if(WIN32)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  # googletest's own sources are not ours to keep warning-free
  foreach(t gtest gtest_main gmock gmock_main)
    if(TARGET ${t})
      target_compile_options(${t} PRIVATE -w)
    endif()
  endforeach()
else()
  find_package(GTest REQUIRED)
  find_package(benchmark QUIET)
  include(GoogleTest)
endif()

# A Win32 test program, run by CTest under Wine through the emulator wrapper.
# One CTest entry per program: each Wine start costs time, so tests share a process.
function(tarvelo_add_wine_test name)
  if(NOT WIN32)
    return()
  endif()
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE tarvelo_win32 gtest_main gmock)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()
