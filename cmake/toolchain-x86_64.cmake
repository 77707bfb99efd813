set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUELORA_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# The oldest Windows the 64-bit programs support, as major.minor: Windows XP x64 Edition.
set(QUELORA_OLDEST_WINDOWS 5.2)
