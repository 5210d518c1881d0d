tavrel_test(report_serializer_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/frxXMLSerializerTest.cpp
  LIBS tavrel_report)

tavrel_fuzzer(report_template_fuzzer
  SOURCE ${CMAKE_CURRENT_LIST_DIR}/../fuzz/frxXMLSerializerFuzz.cpp
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/../fuzz/corpus/template
  LIBS tavrel_report)
