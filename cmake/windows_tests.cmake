# Tests under Wine: the Win32 seam against the real registry and INI functions (win), and the
# real exe driven through its window (e2e). scripts/test prepares the prefix and the display.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

file(GLOB WIN_TEST_SOURCES CONFIGURE_DEPENDS tests/win/*.cpp)
add_executable(win_tests ${WIN_TEST_SOURCES} tests/win/short_translation.rc
                         tests/win/guarded_dialog.rc)
target_link_libraries(win_tests PRIVATE orvalinde_windows gtest_main)
target_compile_options(win_tests PRIVATE ${ORV_WARNINGS})
# Saves the settings and "appdata" until it is killed; killed_save_test.cpp kills it.
add_executable(save_loop WIN32 tests/win/helpers/save_loop.cpp)
target_link_libraries(save_loop PRIVATE orvalinde_win32)
target_link_options(save_loop PRIVATE -municode)
target_compile_options(save_loop PRIVATE ${ORV_WARNINGS})
add_dependencies(win_tests save_loop)
gtest_discover_tests(win_tests TEST_PREFIX "win." DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120)

# The driver runs in the same prefix as the exe it drives; run_e2e.sh makes that prefix.
add_executable(e2e_driver tests/e2e/window_driver.cpp
                          tests/e2e/program_list_e2e_test.cpp
                          tests/e2e/uninstall_road_e2e_test.cpp
                          tests/e2e/gui_resources_e2e_test.cpp
                          tests/e2e/annotations_e2e_test.cpp
                          tests/e2e/main_window_e2e_test.cpp
                          tests/e2e/list_commands_e2e_test.cpp
                          tests/e2e/program_operations_e2e_test.cpp
                          tests/e2e/property_window_e2e_test.cpp
                          tests/e2e/hostile_registry_e2e_test.cpp)
target_include_directories(e2e_driver PRIVATE src)
target_link_libraries(e2e_driver PRIVATE gtest_main comctl32 ole32 uuid advapi32)
target_compile_options(e2e_driver PRIVATE ${ORV_WARNINGS})
# Planted as C:\\Program.exe and as msiexec.exe beside the exe; it must never be started.
add_executable(planted_marker WIN32 tests/e2e/planted_marker.cpp)
target_link_options(planted_marker PRIVATE -municode)
target_compile_options(planted_marker PRIVATE ${ORV_WARNINGS})
add_dependencies(e2e_driver planted_marker)
add_test(NAME e2e.window
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/run_e2e.sh ${CMAKE_BINARY_DIR}
                 ${CMAKE_BINARY_DIR}/e2e_driver.exe)
set_tests_properties(e2e.window PROPERTIES TIMEOUT 1500)
