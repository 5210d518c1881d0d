tavrel_test(platform_system_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/ConvertTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FileSystemTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/IniFileTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SingleInstanceTest.cpp
  LIBS tavrel_platform)
tavrel_fuzzer(platform_ini_fuzzer
  SOURCE ${CMAKE_CURRENT_LIST_DIR}/../fuzz/IniFuzz.cpp
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/../fuzz/corpus/ini
  LIBS tavrel_platform)
