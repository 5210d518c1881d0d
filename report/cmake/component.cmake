# The report component tree (frxClass): published-property declarations and the class
# registry, components, views, frames, drawing and the difference form.
list(APPEND REPORT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_props.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_component.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_draw.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_differences.cpp)
