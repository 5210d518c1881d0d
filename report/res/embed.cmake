# Build-time step: turns the resource documents into a C++ source that holds their bytes,
# so the library always carries its message texts, wherever it is installed.
#   cmake -DOUTPUT=<file.cpp> -DINPUTS=<a.xml;b.xml> -P embed.cmake
if(NOT OUTPUT OR NOT INPUTS)
  message(FATAL_ERROR "embed.cmake needs OUTPUT and INPUTS")
endif()

set(arrays "")
set(entries "")
set(index 0)
foreach(input ${INPUTS})
  file(READ "${input}" hex HEX)
  string(LENGTH "${hex}" hex_length)
  if(hex_length EQUAL 0)
    message(FATAL_ERROR "resource document ${input} is empty")
  endif()
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
  # Break the initialiser into lines of 16 bytes (CMake's regular expressions have no
  # counted repetition, hence the spelled-out group).
  string(REPEAT "'[^']+'," 16 sixteen)
  string(REGEX REPLACE "(${sixteen})" "\\1\n  " bytes "${bytes}")
  get_filename_component(name "${input}" NAME)
  string(APPEND arrays "constexpr char kDocument${index}[] = {\n  ${bytes}\n};\n")
  string(APPEND entries "    {\"${name}\", std::string_view(kDocument${index}, sizeof kDocument${index})},\n")
  math(EXPR index "${index} + 1")
endforeach()

set(source "// Generated at build time from the resource documents in report/res; do not edit.
#include \"frxRes_carried.h\"

namespace {
${arrays}
constexpr frxres::CarriedDocument kCarried[] = {
${entries}};
}  // namespace

namespace frxres {

std::span<const CarriedDocument> CarriedDocuments() { return kCarried; }

}  // namespace frxres
")

# Rewrite only on change, so an unchanged document does not rebuild the library.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" previous)
  if(previous STREQUAL source)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${source}")
