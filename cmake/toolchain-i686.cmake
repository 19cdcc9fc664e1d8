# The shipped launcher: 32-bit Windows, built with Debian's mingw-w64. It runs on
# one thread, so it takes the win32-threads variant and carries no pthread layer.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TANDREL_TRIPLE i686-w64-mingw32)
set(TANDREL_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
