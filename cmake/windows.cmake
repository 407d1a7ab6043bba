# Windows tree: Orvalinde.exe and the tests that run under Wine.
enable_language(RC)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
# One portable exe: the C and C++ runtimes are linked in.
add_link_options(-static -static-libgcc -static-libstdc++)

add_library(orvalinde_win32 STATIC
  src/platform/win32/win32_registry.cpp
  src/platform/win32/win32_ini.cpp
  src/platform/win32/staged_ini.cpp
  src/platform/win32/win32_system.cpp
  src/platform/win32/file_output.cpp
  src/platform/win32/file_version.cpp
  src/catalogue/program_icons.cpp
  src/platform/win32/shell_link.cpp
  src/platform/win32/system_error.cpp
)
target_link_libraries(orvalinde_win32 PUBLIC orvalinde_core advapi32 shell32 user32 gdi32 ole32
                      uuid)
target_compile_options(orvalinde_win32 PRIVATE ${ORV_WARNINGS})

add_library(orvalinde_ui STATIC
  src/ui/action.cpp
  src/ui/window.cpp
  src/annotations/tag_edit_dialog.cpp
  src/app/annotation_commands.cpp
  src/ui/dialog_helpers.cpp
  src/app/main_window.cpp
  src/app/main_actions.cpp
  src/app/program_list_view.cpp
  src/app/list_sorting.cpp
  src/app/list_drawing.cpp
  src/app/main_settings.cpp
  src/app/program_commands.cpp
  src/ui/modal_dialog.cpp
  src/app/list_commands.cpp
  src/dialogs/find_dialog.cpp
  src/dialogs/about_dialog.cpp
  src/columns/display_item_dialog.cpp
  src/app/cleanup_commands.cpp
  src/app/shell_commands.cpp
  src/app/files_dropped.cpp
  src/app/entry_commands.cpp
  src/annotations/rename_dialog.cpp
  src/annotations/edit_comment_dialog.cpp
  src/dialogs/property_dialog.cpp
  src/app/startup_profile.cpp
)
target_link_libraries(orvalinde_ui PUBLIC orvalinde_win32 comctl32 comdlg32 ole32)
target_compile_options(orvalinde_ui PRIVATE ${ORV_WARNINGS})

add_executable(Orvalinde WIN32 src/app/main.cpp src/resources/orvalinde.rc)
# The dialog templates are included by orvalinde.rc; a change to one rebuilds the resources.
file(GLOB ORV_DIALOG_TEMPLATES CONFIGURE_DEPENDS src/dialogs/*.rc src/dialogs/*_ids.h
     src/columns/*.rc src/columns/*_ids.h src/annotations/*.rc src/annotations/*_ids.h)
set_source_files_properties(src/resources/orvalinde.rc PROPERTIES OBJECT_DEPENDS "${ORV_DIALOG_TEMPLATES}")
target_link_libraries(Orvalinde PRIVATE orvalinde_ui)
target_link_options(Orvalinde PRIVATE -municode)
target_compile_options(Orvalinde PRIVATE ${ORV_WARNINGS})
set_target_properties(Orvalinde PROPERTIES OUTPUT_NAME Orvalinde)

include(cmake/windows_tests.cmake)

# The benchmark's Windows side (bench/run drives it); not part of the tests.
add_executable(orv_bench bench/bench_tool.cpp)
target_link_libraries(orv_bench PRIVATE orvalinde_win32 comctl32 psapi)
target_link_options(orv_bench PRIVATE -municode)
target_compile_options(orv_bench PRIVATE ${ORV_WARNINGS})
