# Keyed message texts (frxRes): the table and the resource documents the library carries.
# Every *.xml in report/res is compiled into the library, in name order; a later document
# overrides the texts of an earlier one.
file(GLOB frxres_documents CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/res/*.xml)
list(SORT frxres_documents)
set(frxres_generated ${CMAKE_CURRENT_BINARY_DIR}/frxRes_carried.cpp)
add_custom_command(
  OUTPUT ${frxres_generated}
  COMMAND ${CMAKE_COMMAND} -DOUTPUT=${frxres_generated} "-DINPUTS=${frxres_documents}"
          -P ${CMAKE_CURRENT_SOURCE_DIR}/res/embed.cmake
  DEPENDS ${frxres_documents} ${CMAKE_CURRENT_SOURCE_DIR}/res/embed.cmake
  COMMENT "Embedding the message text documents"
  VERBATIM)

list(APPEND REPORT_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/src/frxRes.cpp
  ${frxres_generated})
