# Tests of the export filter framework.
tavrel_test(output_export_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/frxExportWalkTest.cpp
  LIBS tavrel_output)
if(TARGET output_export_tests)
  target_include_directories(output_export_tests PRIVATE ${PROJECT_SOURCE_DIR}/prepared/tests
    ${CMAKE_CURRENT_LIST_DIR})
endif()
