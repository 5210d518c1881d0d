tavrel_test(report_views_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/frxClassMemoTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frxClassShapesTest.cpp
  LIBS tavrel_report tavrel_platform_qt)
