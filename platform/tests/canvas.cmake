# Drawing surface, fonts and the recording surface.
tavrel_test(platform_canvas_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/CanvasPixelTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FontsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RecordingTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PrinterCanvasTest.cpp
  LIBS tavrel_platform_qt)
tavrel_benchmark(platform_canvas_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/../bench/CanvasBench.cpp
  LIBS tavrel_platform_qt)
