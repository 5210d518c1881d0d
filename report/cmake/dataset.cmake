# Report datasets (frxClass): the dialog-component base, TfrxDataSet, TfrxUserDataSet and
# the application-wide dataset list.
list(APPEND REPORT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_dataset.cpp)
