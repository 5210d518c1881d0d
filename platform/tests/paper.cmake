tavrel_test(platform_paper_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/PaperTest.cpp
  LIBS tavrel_platform)
tavrel_test(platform_printer_paper_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/PrinterPaperTest.cpp
  LIBS tavrel_platform_qt)
