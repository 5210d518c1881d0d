tavrel_test(report_variables_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/frxVariablesTest.cpp
  LIBS tavrel_report)
tavrel_test(report_object_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/frxClassReportTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frxClassReportLoadTest.cpp
  LIBS tavrel_report)
