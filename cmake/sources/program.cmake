# tarvelo.exe: the main form, its resources, and the end-to-end check.
list(APPEND TARVELO_WIN32_SOURCES
  app/uStats.cpp
)

function(program_win32_targets)
  set(TARVELO_VERSION_BUILD 0)
  configure_file(${CMAKE_SOURCE_DIR}/resources/Version.h.in ${CMAKE_BINARY_DIR}/generated/Version.h @ONLY)
  add_executable(tarvelo WIN32 app/main.cpp resources/tarvelo.rc)
  target_include_directories(tarvelo PRIVATE ${CMAKE_BINARY_DIR}/generated)
  set_source_files_properties(resources/tarvelo.rc PROPERTIES
    OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/resources/tarvelo.ico;${CMAKE_SOURCE_DIR}/resources/statsform_imagelist.bmp;${CMAKE_SOURCE_DIR}/resources/hand.cur;${CMAKE_SOURCE_DIR}/resources/tarvelo.manifest")
  target_link_libraries(tarvelo PRIVATE tarvelo_win32)
  # small: no unused sections, stripped outside debug builds
  target_compile_options(tarvelo_win32 PRIVATE -ffunction-sections -fdata-sections)
  target_compile_options(tarvelo_core PRIVATE -ffunction-sections -fdata-sections)
  target_link_options(tarvelo PRIVATE -Wl,--gc-sections $<$<NOT:$<CONFIG:Debug>>:-s>)

  tarvelo_add_wine_test(program_win32_tests tests/win32/StartupTest.cpp)
  add_dependencies(program_win32_tests tarvelo)

  add_test(NAME e2e_veth_traffic
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/veth_traffic.sh $<TARGET_FILE:tarvelo> ${CMAKE_BINARY_DIR}/e2e)
  set_tests_properties(e2e_veth_traffic PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)
endfunction()
list(APPEND TARVELO_WIN32_TARGET_HOOKS program_win32_targets)
