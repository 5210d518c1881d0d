# Report pages and bands (frxClass): the page classes, the band kinds, and the
# DataSet / DataSetName pair they share with views.
list(APPEND REPORT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_datasetlink.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_band.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_standard.cpp)
