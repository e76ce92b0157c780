# Reading and decoding card pictures: the file lookup, the JPEG class, and a replay of the fuzzing
# corpus through the fuzz target built with the normal compiler.
quendravo_add_test(tst_picturefile SOURCES tst_picturefile.cpp LIBS platform)
quendravo_add_test(tst_jpegimage SOURCES tst_jpegimage.cpp LIBS platform jpegencoder JPEG::JPEG)
set_target_properties(tst_picturefile tst_jpegimage PROPERTIES AUTOMOC ON)

add_executable(fuzz_jpeg_replay fuzz/fuzz_jpeg.cpp fuzz/replay_main.cpp)
target_link_libraries(fuzz_jpeg_replay PRIVATE platform)
add_test(NAME fuzz_jpeg_replay
         COMMAND fuzz_jpeg_replay ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/corpus)
set_tests_properties(fuzz_jpeg_replay PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
                                                 TIMEOUT 120)
