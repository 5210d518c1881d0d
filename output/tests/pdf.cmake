tavrel_test(output_pdf_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/frxExportPDF_document_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frxExportPDF_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frxExportPDF_writer_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frxPDFFont_test.cpp
  LIBS tavrel_output)
target_include_directories(output_pdf_tests PRIVATE ${PROJECT_SOURCE_DIR}/platform/tests
  ${PROJECT_SOURCE_DIR}/prepared/tests ${CMAKE_CURRENT_LIST_DIR})
