tavrel_test(report_component_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/frxClassComponentTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frxClassDrawTest.cpp
  LIBS tavrel_report tavrel_platform_qt)
