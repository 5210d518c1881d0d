# Picture codecs and their fuzz target (the corpus is replayed as a test).
tavrel_test(platform_picture_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/PictureTest.cpp
  LIBS tavrel_platform)
tavrel_test(platform_picture_holder_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/PictureHolderTest.cpp
  LIBS tavrel_platform_qt)
tavrel_fuzzer(platform_picture_fuzzer
  SOURCE ${CMAKE_CURRENT_LIST_DIR}/../fuzz/PictureFuzz.cpp
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/../fuzz/corpus/pictures
  LIBS tavrel_platform)
