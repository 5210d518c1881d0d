# Report datasets over the job tables (frxDBSet) and the main window's four job datasets.
target_sources(tavrel_tables PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxDBSet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/JobDataSets.cpp)
target_link_libraries(tavrel_tables PUBLIC tavrel_report)

tavrel_test(tables_dataset_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/../tests/frxDBSetTest.cpp
  LIBS tavrel_tables)

tavrel_benchmark(tables_dataset_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/../bench/JobDataSetsBench.cpp
  LIBS tavrel_tables)
