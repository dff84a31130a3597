# The Windows seams that speak COM and OLE, plain Win32 without Qt, so that each can be
# tested on its own. Included by the Windows build: include(platform/windows/com.cmake)
# Word's automation for File → "Печать в Word's".
add_library(zelm_word_automation STATIC ${CMAKE_CURRENT_LIST_DIR}/word_automation.cpp)
target_include_directories(zelm_word_automation PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(zelm_word_automation PUBLIC ole32 oleaut32 uuid)

# The clipboard handed over before the process ends at once.
add_library(zelm_clipboard_flush STATIC ${CMAKE_CURRENT_LIST_DIR}/clipboard_flush.cpp)
target_include_directories(zelm_clipboard_flush PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(zelm_clipboard_flush PUBLIC ole32)
