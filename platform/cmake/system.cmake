# Operating-system layers: INI files, file system, integer conversion, one instance.
list(APPEND PLATFORM_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../src/Convert.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/FileSystem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/IniFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/SingleInstance.cpp)
