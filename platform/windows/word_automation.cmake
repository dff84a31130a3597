# Word's automation through COM, plain Win32 without Qt, so that the hand-off can be
# tested on its own. Included by the Windows build: include(platform/windows/word_automation.cmake)
add_library(zelm_word_automation STATIC ${CMAKE_CURRENT_LIST_DIR}/word_automation.cpp)
target_include_directories(zelm_word_automation PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(zelm_word_automation PUBLIC ole32 oleaut32 uuid)
