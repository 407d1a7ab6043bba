# Tests under Wine: the Win32 seam against the real registry and INI functions (win), and the
# real exe driven through its window (e2e). scripts/test prepares the prefix and the display.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

file(GLOB WIN_TEST_SOURCES CONFIGURE_DEPENDS tests/win/*.cpp)
add_executable(win_tests ${WIN_TEST_SOURCES})
target_link_libraries(win_tests PRIVATE orvalinde_win32 gtest_main)
target_compile_options(win_tests PRIVATE ${ORV_WARNINGS})
gtest_discover_tests(win_tests TEST_PREFIX "win." DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120)
