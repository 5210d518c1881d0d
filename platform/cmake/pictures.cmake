# Pictures as plain pixels, JPEG through libjpeg(-turbo) and PNG through libpng.
find_package(JPEG REQUIRED)
find_package(PNG REQUIRED)
list(APPEND PLATFORM_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../src/Picture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/Jpeg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/Png.cpp)
list(APPEND PLATFORM_LIBS JPEG::JPEG PNG::PNG)
