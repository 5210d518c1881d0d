# The template serializer (frxXMLSerializer): objects to XML elements and back, the
# property byte streams of raw-data attributes, and the template streaming of components.
list(APPEND REPORT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxXMLSerializer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxXMLSerializer_propdata.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_streaming.cpp)
