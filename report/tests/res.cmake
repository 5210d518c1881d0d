tavrel_test(frxRes_test
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tests/frxRes_test.cpp
  LIBS tavrel_report)

tavrel_fuzzer(frxRes_fuzz
  SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/frxRes_fuzz.cpp
  CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/corpus/frxRes
  LIBS tavrel_report)
