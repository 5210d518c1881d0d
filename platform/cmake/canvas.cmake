# The drawing surface: the canvas base and the recording surface need no drawing
# library; the bitmap, widget and printer backends draw with Qt.
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets PrintSupport)
list(APPEND PLATFORM_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../src/Canvas.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/Recording.cpp)
list(APPEND PLATFORM_QT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../src/QtCanvas.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/QtBitmap.cpp)
list(APPEND PLATFORM_QT_LIBS Qt6::Core Qt6::Gui Qt6::Widgets Qt6::PrintSupport)
