# Byte streams: the stream interface, memory and file streams; returning freed memory.
list(APPEND PLATFORM_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../src/Memory.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/Stream.cpp)
