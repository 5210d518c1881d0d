# Paper sizes: the standard table of Windows paper codes and the default paper of the
# current printer, shared by report pages and printing.
list(APPEND PLATFORM_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../src/Paper.cpp)
