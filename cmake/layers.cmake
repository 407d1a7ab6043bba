# The layers, enforced: every build checks the includes of src/ before it compiles anything,
# and the tests check that the checker refuses an include that runs up (tests/fixtures/layers).
set(ORV_LAYER_LIST ${CMAKE_BINARY_DIR}/layers.txt)
set(ORV_LAYER_LINES "")
foreach(layer CORE SEAM TOOLKIT WINDOW)
  foreach(source ${ORV_${layer}_SOURCES})
    string(APPEND ORV_LAYER_LINES "${layer} ${source}\n")
  endforeach()
endforeach()
file(CONFIGURE OUTPUT ${ORV_LAYER_LIST} CONTENT "${ORV_LAYER_LINES}")

file(GLOB_RECURSE ORV_ALL_SOURCE_FILES CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/src/*.h ${CMAKE_SOURCE_DIR}/src/*.cpp)
set(ORV_LAYER_STAMP ${CMAKE_BINARY_DIR}/layers.checked)
add_custom_command(
  OUTPUT ${ORV_LAYER_STAMP}
  COMMAND ${CMAKE_COMMAND} -DROOT=${CMAKE_SOURCE_DIR} -DLIST=${ORV_LAYER_LIST}
          -DSTAMP=${ORV_LAYER_STAMP} -P ${CMAKE_SOURCE_DIR}/cmake/check_layers.cmake
  DEPENDS ${ORV_ALL_SOURCE_FILES} ${ORV_LAYER_LIST} ${CMAKE_SOURCE_DIR}/cmake/check_layers.cmake
  COMMENT "No include runs up a layer"
  VERBATIM)
add_custom_target(orvalinde_layers ALL DEPENDS ${ORV_LAYER_STAMP})
add_dependencies(orvalinde_core orvalinde_layers)

if(NOT WIN32)
  set(ORV_LAYER_FIXTURE ${CMAKE_SOURCE_DIR}/tests/fixtures/layers)
  add_test(NAME layers.TheSourcesKeepTheirLayers
           COMMAND ${CMAKE_COMMAND} -DROOT=${CMAKE_SOURCE_DIR} -DLIST=${ORV_LAYER_LIST}
                   -P ${CMAKE_SOURCE_DIR}/cmake/check_layers.cmake)
  # Each fixture breaks one rule; the checker must name the include that breaks it.
  set(ORV_LAYER_CASES
      "upward_folder|refused: src/operations/drop.cpp includes app/finder.h from a folder above operations"
      "upward_layer|refused: src/ui/box.cpp includes app/window.h from the windows layer, above the toolkit"
      "windows_in_core|refused: src/catalogue/scan.h includes <windows.h> in the portable core"
      "angle_brackets|refused: src/ui/menu.cpp includes app/frame.h from the windows layer, above the toolkit")
  foreach(entry ${ORV_LAYER_CASES})
    string(REPLACE "|" ";" parts "${entry}")
    list(GET parts 0 case)
    list(GET parts 1 expected)
    add_test(NAME layers.Refuses.${case}
             COMMAND ${CMAKE_COMMAND} -DROOT=${ORV_LAYER_FIXTURE}/${case}
                     -DLIST=${ORV_LAYER_FIXTURE}/${case}/layers.txt
                     -P ${CMAKE_SOURCE_DIR}/cmake/check_layers.cmake)
    set_tests_properties(layers.Refuses.${case} PROPERTIES PASS_REGULAR_EXPRESSION "${expected}")
  endforeach()
endif()
