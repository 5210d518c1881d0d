# Shared value types and code pages.
list(APPEND PLATFORM_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../src/CodePage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/ErrorBox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/Graphics.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/Variant.cpp)
