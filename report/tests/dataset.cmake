tavrel_test(report_dataset_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/frxClassDataSetTest.cpp
  LIBS tavrel_report)
