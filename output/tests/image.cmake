# Tests of the image export (drawing needs a GUI application: offscreen).
tavrel_test(output_image_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/frxExportImageTest.cpp
  LIBS tavrel_output)
if(TARGET output_image_tests)
  target_include_directories(output_image_tests PRIVATE ${PROJECT_SOURCE_DIR}/prepared/tests
    ${PROJECT_SOURCE_DIR}/platform/tests ${CMAKE_CURRENT_LIST_DIR})
endif()

# Run as: output_image_bench (release flavour for figures that mean something).
tavrel_benchmark(output_image_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/../bench/frxExportImageBench.cpp
  LIBS tavrel_output)
if(TARGET output_image_bench)
  target_include_directories(output_image_bench PRIVATE ${PROJECT_SOURCE_DIR}/prepared/tests
    ${PROJECT_SOURCE_DIR}/platform/tests ${CMAKE_CURRENT_LIST_DIR})
endif()
