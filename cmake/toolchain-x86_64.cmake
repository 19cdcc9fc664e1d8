# The 64-bit twin of the same sources, run by the test suite under 64-bit Wine.
# GoogleTest needs std::mutex, which only the posix-threads variant provides.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TANDREL_TRIPLE x86_64-w64-mingw32)
set(TANDREL_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
