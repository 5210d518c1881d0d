tavrel_test(report_xml_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/frxXMLTest.cpp
  LIBS tavrel_report)

tavrel_fuzzer(report_xml_fuzzer
  SOURCE ${CMAKE_CURRENT_LIST_DIR}/../fuzz/frxXMLFuzz.cpp
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/../fuzz/corpus/xml
  LIBS tavrel_report)
