# The real program on a real X server of its own (Xvfb), driven through real input. Each test
# starts its own server, so they run in parallel and beside a desktop without touching it.
find_package(Python3 COMPONENTS Interpreter)
find_program(QUENDRAVO_XVFB Xvfb)
find_program(QUENDRAVO_XDOTOOL xdotool)
find_program(QUENDRAVO_IMPORT import)
find_program(QUENDRAVO_DESKTOP_FILE_VALIDATE desktop-file-validate)

if(NOT Python3_Interpreter_FOUND OR NOT QUENDRAVO_XVFB OR NOT QUENDRAVO_XDOTOOL
   OR NOT QUENDRAVO_IMPORT)
  message(WARNING "python3, Xvfb, xdotool or ImageMagick missing: no end-to-end tests "
                  "(scripts/bootstrap installs them)")
  return()
endif()

get_property(e2e_picture_dir GLOBAL PROPERTY QUENDRAVO_PICTURE_DIR)
set(e2e_dir ${CMAKE_CURRENT_LIST_DIR})
set(e2e_artifacts ${CMAKE_BINARY_DIR}/e2e-artifacts)

foreach(case window keyboard close-during-run close-when-idle keys-after-error-box)
  add_test(NAME e2e.${case}
    COMMAND ${Python3_EXECUTABLE} ${e2e_dir}/e2e.py ${case}
            --program $<TARGET_FILE:quendravo> --pictures ${e2e_picture_dir}
            --artifacts ${e2e_artifacts})
  set_tests_properties(e2e.${case} PROPERTIES TIMEOUT 60 LABELS e2e)
endforeach()

if(QUENDRAVO_DESKTOP_FILE_VALIDATE)
  add_test(NAME e2e.install
    COMMAND ${Python3_EXECUTABLE} ${e2e_dir}/e2e.py install
            --build ${CMAKE_BINARY_DIR} --cmake ${CMAKE_COMMAND} --artifacts ${e2e_artifacts})
  set_tests_properties(e2e.install PROPERTIES TIMEOUT 60 LABELS e2e)
endif()

# A short run of the monkey: random clicks, keys and drags, the program must live and answer.
add_test(NAME e2e.monkey-smoke
  COMMAND ${e2e_dir}/monkey 20 --program $<TARGET_FILE:quendravo> --pictures ${e2e_picture_dir}
          --artifacts ${e2e_artifacts})
set_tests_properties(e2e.monkey-smoke PROPERTIES TIMEOUT 90 LABELS e2e)
