# ostrel_library(NAME DEPS...): a static library from every source in the calling folder.
function(ostrel_library name)
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(ostrel_${name} STATIC ${_src})
  target_include_directories(ostrel_${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(ostrel_${name} PUBLIC ${ARGN})
endfunction()

# ostrel_tests(NAME DEPS...): one GoogleTest executable from tests/NAME/*.cpp, run under the offscreen platform.
function(ostrel_tests name)
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_executable(tests_${name} ${_src})
  target_link_libraries(tests_${name} PRIVATE ostrel_testmain ${ARGN})
  gtest_discover_tests(tests_${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
endfunction()
