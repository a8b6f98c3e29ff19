# The pure page readers: marker extraction, the player's own lord and
# villages, the alliance member table.
add_library(ovek_readers STATIC
  extractbetween.cpp extractbetween.h
  ownlord.cpp ownlord.h
  membertable.cpp membertable.h)
target_include_directories(ovek_readers PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(ovek_readers PUBLIC ovek_site_core ovek_snapshot ovek_common Qt6::Core PRIVATE ovek_settings)
target_link_libraries(ovek_site INTERFACE ovek_readers)

ovek_add_test(readers_test
  SOURCES extractbetween_test.cpp ownlord_test.cpp membertable_test.cpp
  LIBS ovek_readers)
