tavrel_test(frxRes_test
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tests/frxRes_test.cpp
  LIBS tavrel_report)
