# The export filter framework: TfrxCustomExportFilter, the filter list, page ranges and
# the walk over the prepared pages.
list(APPEND OUTPUT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_export.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_exportwalk.cpp)
