# Shared compile settings, carried by one INTERFACE target that every target
# of the project links.
add_library(ovek_settings INTERFACE)
target_compile_features(ovek_settings INTERFACE cxx_std_20)
target_compile_options(ovek_settings INTERFACE -Wall -Wextra)
# Literal text must state its encoding: QStringLiteral / u"" for Japanese,
# so a stray char* never goes through a locale-dependent conversion.
target_compile_definitions(ovek_settings INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_NO_FOREACH)
if(DEFINED ENV{CI} AND "$ENV{CI}" STREQUAL "true")
  target_compile_options(ovek_settings INTERFACE -Werror)
endif()

# A GoogleTest executable from the listed sources, registered with CTest.
# LOCK names a resource its tests hold alone (the demo site's fixed ports).
function(ovek_add_test name)
  cmake_parse_arguments(ARG "" "LABEL;LOCK" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ovek_settings GTest::gtest GTest::gtest_main ${ARG_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  set(properties ENVIRONMENT QT_QPA_PLATFORM=offscreen)
  if(ARG_LABEL)
    list(APPEND properties LABELS ${ARG_LABEL})
  endif()
  if(ARG_LOCK)
    list(APPEND properties RESOURCE_LOCK ${ARG_LOCK})
  endif()
  gtest_discover_tests(${name} PROPERTIES ${properties} DISCOVERY_TIMEOUT 60)
endfunction()

# One include root for the whole project: every include names its folder
# ("common/datafile.h"), so the layer shows in each include line.
target_include_directories(ovek_settings INTERFACE ${PROJECT_SOURCE_DIR})
