tavrel_test(report_variables_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/frxVariablesTest.cpp
  LIBS tavrel_report)
tavrel_test(report_object_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/frxClassReportTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frxClassMemoExpandTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frxClassReportLoadTest.cpp
  LIBS tavrel_report)

tavrel_fuzzer(report_load_fuzzer
  SOURCE ${CMAKE_CURRENT_LIST_DIR}/../fuzz/frxReportLoadFuzz.cpp
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/../fuzz/corpus/report
  LIBS tavrel_report)
