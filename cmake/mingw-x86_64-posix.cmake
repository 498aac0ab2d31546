# Cross build for 64-bit Windows with the posix-thread MinGW-w64 compilers.
# The product is 32-bit; this build only runs its tests on machines that
# cannot execute 32-bit programs, and so cannot run the 32-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-posix-common.cmake)
if(NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run" --arch win64)
endif()
