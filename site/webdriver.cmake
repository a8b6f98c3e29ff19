# The browser backend: Chromium driven through chromedriver over WebDriver.
add_library(ovek_webdriver STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/webdriverbrowser.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/webdriverclient.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/chromedriverprocess.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/orphanguard_posix.cpp)
target_include_directories(ovek_webdriver PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(ovek_webdriver PUBLIC Qt6::Core Qt6::Network ovek_site_core ovek_snapshot PRIVATE ovek_settings)
target_link_libraries(ovek_site INTERFACE ovek_webdriver)

# End to end against demosite, chromedriver and a headless Chromium. The
# demosite path is a generator expression: that target is defined after this
# folder, and the expression resolves once every target is known.
if(EXISTS ${CMAKE_SOURCE_DIR}/demosite/CMakeLists.txt)
  ovek_add_test(webdriverbrowser_test
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/webdriverbrowser_test.cpp
    LIBS ovek_webdriver ovek_navigation ovek_testsupport Qt6::Network
    LABEL e2e)
  target_compile_definitions(webdriverbrowser_test PRIVATE OVEK_DEMOSITE_PROGRAM="$<TARGET_FILE:demosite>")
  add_dependencies(webdriverbrowser_test demosite)
endif()
