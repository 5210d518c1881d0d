tavrel_test(platform_values_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/CodePageTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/VariantTest.cpp
  LIBS tavrel_platform)
