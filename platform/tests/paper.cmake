tavrel_test(platform_paper_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/PaperTest.cpp
  LIBS tavrel_platform)
