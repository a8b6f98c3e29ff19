# Waiting for pages, reloading a page that hangs, and recovering a lost login.
add_library(ovek_navigation STATIC ${CMAKE_CURRENT_SOURCE_DIR}/navigator.cpp)
target_include_directories(ovek_navigation PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(ovek_navigation PUBLIC ovek_site_core ovek_snapshot ovek_common PRIVATE ovek_settings)
target_link_libraries(ovek_site INTERFACE ovek_navigation)

ovek_add_test(navigator_test
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/navigator_test.cpp
  LIBS ovek_navigation ovek_testsupport)
