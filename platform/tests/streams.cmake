tavrel_test(platform_streams_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/StreamTest.cpp
  LIBS tavrel_platform)
