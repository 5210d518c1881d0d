tavrel_test(report_variables_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/frxVariablesTest.cpp
  LIBS tavrel_report)
