# Byte streams: the stream interface, memory and file streams.
list(APPEND PLATFORM_SOURCES ${CMAKE_CURRENT_LIST_DIR}/../src/Stream.cpp)
