# Pictures: plain pixels, JPEG through libjpeg(-turbo), PNG through libpng, our own
# bitmap and icon reader, metafiles converted to SVG by libemf2svg (enhanced) and
# libwmf (Windows), and the picture holder. Canvases draw the SVG with Qt SVG.
find_package(JPEG REQUIRED)
find_package(PNG REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBWMF REQUIRED IMPORTED_TARGET libwmf)
find_library(EMF2SVG_LIBRARY NAMES emf2svg REQUIRED)
find_package(Qt6 REQUIRED COMPONENTS Svg)
list(APPEND PLATFORM_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../src/Picture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/Jpeg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/Png.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/BitmapFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/Metafile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/PictureHolder.cpp)
list(APPEND PLATFORM_LIBS JPEG::JPEG PNG::PNG ${EMF2SVG_LIBRARY} PkgConfig::LIBWMF)
list(APPEND PLATFORM_QT_LIBS Qt6::Svg)
