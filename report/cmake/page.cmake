# Report pages, bands and styles (frxClass): the page classes, the band kinds, the
# named styles, and the DataSet / DataSetName pair pages and bands share with views.
list(APPEND REPORT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_datasetlink.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_band.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_standard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_styles.cpp)
