tavrel_test(platform_formats_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/DateTimeTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FormatDateTimeTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FormatFloatTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FormatSettingsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FormatTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TextCaseTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TextToValueTest.cpp
  LIBS tavrel_platform)
tavrel_fuzzer(platform_format_fuzzer
  SOURCE ${CMAKE_CURRENT_LIST_DIR}/../fuzz/FormatFuzz.cpp
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/../fuzz/corpus/formats
  LIBS tavrel_platform)
