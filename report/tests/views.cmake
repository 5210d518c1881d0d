tavrel_test(report_views_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/frxClassMemoTest.cpp
  LIBS tavrel_report tavrel_platform_qt)
