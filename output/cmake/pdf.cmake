# PDF export: the object writer, the security handler, the fonts and the filter.
find_package(PkgConfig REQUIRED)
pkg_check_modules(TAVREL_PDF REQUIRED IMPORTED_TARGET harfbuzz-subset nettle zlib uuid)

list(APPEND OUTPUT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxExportPDF.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxExportPDF_content.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxExportPDF_crypt.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxExportPDF_document.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxExportPDF_writer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxPDFFont.cpp)
list(APPEND OUTPUT_LIBS PkgConfig::TAVREL_PDF)
