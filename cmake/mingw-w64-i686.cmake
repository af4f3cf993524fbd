# Cross-compile for 32-bit Windows: the release build for 32-bit systems.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
# Floating point in SSE registers, as on x86-64: the x87 unit's extended precision would put
# values that lie on a rounding boundary (gradient bands, colour shifts, layout halves) on
# the other side, and the two builds would draw different pixels. Windows 8 and later
# require SSE2 anyway.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
