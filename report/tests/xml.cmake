tavrel_test(report_xml_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/frxXMLTest.cpp
  LIBS tavrel_report)

tavrel_fuzzer(report_xml_fuzzer
  SOURCE ${CMAKE_CURRENT_LIST_DIR}/../fuzz/frxXMLFuzz.cpp
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/../fuzz/corpus/xml
  LIBS tavrel_report)

# The benchmark compares with pugixml's DOM parser, a benchmark-only dependency.
if(TAVREL_BENCHMARKS AND NOT TAVREL_FUZZ)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(PUGIXML REQUIRED IMPORTED_TARGET pugixml)
  tavrel_benchmark(report_xml_benchmark
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/../bench/frxXMLBench.cpp
    LIBS tavrel_report PkgConfig::PUGIXML)
endif()
