# The page snapshot: gumbo parse, legacy markup, body text and links.
find_package(PkgConfig REQUIRED)
pkg_check_modules(GUMBO REQUIRED IMPORTED_TARGET gumbo)

add_library(ovek_snapshot STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/document.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/markupserializer.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/bodytext.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/gumbotree.cpp)
target_include_directories(ovek_snapshot PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(ovek_snapshot PUBLIC Qt6::Core ovek_common PRIVATE PkgConfig::GUMBO ovek_settings)
target_link_libraries(ovek_site INTERFACE ovek_snapshot)

ovek_add_test(snapshot_test
  SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/document_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/markupserializer_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/bodytext_test.cpp
  LIBS ovek_snapshot)
