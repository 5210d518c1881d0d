# The locale record and the number, date and text conversions written and read with it.
list(APPEND PLATFORM_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../src/DateTime.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/Format.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/FormatDateTime.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/FormatFloat.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/FormatNumber.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/FormatSettings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/FormatVariant.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/TextCase.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/TextToValue.cpp)
