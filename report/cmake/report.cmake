# The report object (frxClass): TfrxReport with its options, dataset list, styles,
# loading, saving and preparing; the report variables (frxVariables); and the seams
# where the script engine, the engine, the prepared pages and the windows plug in.
list(APPEND REPORT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxVariables.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxReportSeams.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_report.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_report_options.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_report_collections.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_report_load.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_report_prepare.cpp)
