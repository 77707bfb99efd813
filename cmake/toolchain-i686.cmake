set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QUELORA_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# The oldest Windows the 32-bit programs support, as major.minor: Windows XP.
set(QUELORA_OLDEST_WINDOWS 5.1)
