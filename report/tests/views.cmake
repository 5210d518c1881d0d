tavrel_test(report_views_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/frxClassMemoTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frxClassMemoLayoutTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frxClassShapesTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frxClassSubreportTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frxClassViewsTemplateTest.cpp
  LIBS tavrel_report tavrel_platform_qt)
if(TARGET report_views_tests)
  target_include_directories(report_views_tests PRIVATE ${PROJECT_SOURCE_DIR}/platform/tests)
endif()
tavrel_fuzzer(report_memo_fuzzer
  SOURCE ${CMAKE_CURRENT_LIST_DIR}/../fuzz/frxMemoExpandFuzz.cpp
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/../fuzz/corpus/memo
  LIBS tavrel_report)
