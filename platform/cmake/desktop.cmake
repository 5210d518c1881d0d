# Desktop services of the program: printers, message boxes.
find_package(Qt6 REQUIRED COMPONENTS Widgets PrintSupport)
list(APPEND PLATFORM_QT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../src/MessageBox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/Printers.cpp)
list(APPEND PLATFORM_QT_LIBS Qt6::Widgets Qt6::PrintSupport)
