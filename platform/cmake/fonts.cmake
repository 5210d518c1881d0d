# Fonts: face name and style to a font file (fontconfig), metrics, advances, raw tables
# and shaping (FreeType, HarfBuzz, FriBidi). No Qt here: every canvas measures with it.
find_package(PkgConfig REQUIRED)
pkg_check_modules(TAVREL_FONTS REQUIRED IMPORTED_TARGET fontconfig freetype2 harfbuzz fribidi)
list(APPEND PLATFORM_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../src/Fonts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/FontBidi.cpp)
list(APPEND PLATFORM_LIBS PkgConfig::TAVREL_FONTS)
