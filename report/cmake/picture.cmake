# The picture view (frxClass): TfrxPictureView and its picture sub-object.
list(APPEND REPORT_SOURCES ${CMAKE_CURRENT_LIST_DIR}/../src/frxClass_picture.cpp)
