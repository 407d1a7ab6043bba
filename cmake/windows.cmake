# Windows tree: Orvalinde.exe and the tests that run under Wine.
enable_language(RC)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
# One portable exe: the C and C++ runtimes are linked in.
add_link_options(-static -static-libgcc -static-libstdc++)

set(ORV_WIN32_SEAM_SOURCES ${ORV_SEAM_SOURCES})
list(FILTER ORV_WIN32_SEAM_SOURCES EXCLUDE REGEX "platform/memory/")
add_library(orvalinde_win32 STATIC ${ORV_WIN32_SEAM_SOURCES})
target_link_libraries(orvalinde_win32 PUBLIC orvalinde_core advapi32 shell32 user32 gdi32 ole32
                      uuid)
target_compile_options(orvalinde_win32 PRIVATE ${ORV_WARNINGS})

add_library(orvalinde_toolkit STATIC ${ORV_TOOLKIT_SOURCES})
target_link_libraries(orvalinde_toolkit PUBLIC orvalinde_win32 comctl32)
target_compile_options(orvalinde_toolkit PRIVATE ${ORV_WARNINGS})

set(ORV_WINDOW_LIBRARY_SOURCES ${ORV_WINDOW_SOURCES})
list(REMOVE_ITEM ORV_WINDOW_LIBRARY_SOURCES src/app/main.cpp)
add_library(orvalinde_windows STATIC ${ORV_WINDOW_LIBRARY_SOURCES})
target_link_libraries(orvalinde_windows PUBLIC orvalinde_toolkit comctl32 comdlg32 ole32)
target_compile_options(orvalinde_windows PRIVATE ${ORV_WARNINGS})

add_executable(Orvalinde WIN32 src/app/main.cpp src/resources/orvalinde.rc)
# The dialog templates are included by orvalinde.rc; a change to one rebuilds the resources.
file(GLOB ORV_DIALOG_TEMPLATES CONFIGURE_DEPENDS src/dialogs/*.rc src/dialogs/*_ids.h
     src/columns/*.rc src/columns/*_ids.h src/annotations/*.rc src/annotations/*_ids.h)
set_source_files_properties(src/resources/orvalinde.rc PROPERTIES OBJECT_DEPENDS "${ORV_DIALOG_TEMPLATES}")
target_link_libraries(Orvalinde PRIVATE orvalinde_windows)
target_link_options(Orvalinde PRIVATE -municode)
target_compile_options(Orvalinde PRIVATE ${ORV_WARNINGS})
set_target_properties(Orvalinde PROPERTIES OUTPUT_NAME Orvalinde)

include(cmake/windows_tests.cmake)

# The benchmark's Windows side (bench/run drives it); not part of the tests.
add_executable(orv_bench bench/bench_tool.cpp)
target_link_libraries(orv_bench PRIVATE orvalinde_win32 comctl32 psapi)
target_link_options(orv_bench PRIVATE -municode)
target_compile_options(orv_bench PRIVATE ${ORV_WARNINGS})
