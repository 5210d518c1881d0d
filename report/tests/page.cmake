tavrel_test(report_page_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/frxClassPageTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frxClassBandTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frxClassStylesTest.cpp
  LIBS tavrel_report)
