# The image export: TfrxCustomImageExport and TfrxJPEGExport.
list(APPEND OUTPUT_SOURCES ${CMAKE_CURRENT_LIST_DIR}/../src/frxExportImage.cpp)
