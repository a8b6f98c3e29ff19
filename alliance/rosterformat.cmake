#The roster file's line format and the home-castle reader of a profile page.
add_library(ovek_rosterformat STATIC rosterformat.cpp rosterformat.h)
    target_include_directories(ovek_rosterformat PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
        target_link_libraries(ovek_rosterformat PUBLIC ovek_readers PRIVATE ovek_settings)

            ovek_add_test(rosterformat_test SOURCES rosterformat_test.cpp LIBS ovek_rosterformat)
