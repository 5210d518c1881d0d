# The concrete report views (frxClass): memos with their highlight and display format,
# lines, shapes and subreports, and the pixel helpers their drawing shares.
list(APPEND REPORT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_drawing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_memo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_memo_expand.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_memo_format.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_memo_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_line.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_shape.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_subreport.cpp)
