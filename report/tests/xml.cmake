tavrel_test(report_xml_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/frxXMLTest.cpp
  LIBS tavrel_report)
