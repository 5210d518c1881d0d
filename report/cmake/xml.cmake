# The XML tree of templates and prepared reports: items, document, reader, writer.
list(APPEND REPORT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxXML.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxXML_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxXML_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxXML_writer.cpp)
