# The picture view: templates, recognition, drawing, filling; the recognition fuzz target.
tavrel_test(report_picture_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/frxClassPictureTest.cpp
  LIBS tavrel_report tavrel_platform_qt)
# The sample pictures are shared with the platform's picture tests.
target_include_directories(report_picture_tests PRIVATE ${PROJECT_SOURCE_DIR}/platform/tests)

tavrel_fuzzer(report_picture_fuzzer
  SOURCE ${CMAKE_CURRENT_LIST_DIR}/../fuzz/frxPictureFuzz.cpp
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/../fuzz/corpus/picture
  LIBS tavrel_report)
