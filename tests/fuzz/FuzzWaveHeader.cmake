# libFuzzer target over the wave readers. Needs clang; include it from the tests' CMakeLists.txt:
#   include(${CMAKE_CURRENT_SOURCE_DIR}/fuzz/FuzzWaveHeader.cmake)
# The sound code and the platform layer are compiled into the target itself so that libFuzzer sees their
# coverage. The test runs it for a short, bounded time from an empty corpus with the wave dictionary.
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    file(GLOB fuzz_wave_platform CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/*.cpp)
    add_executable(FuzzWaveHeader
        ${CMAKE_CURRENT_LIST_DIR}/FuzzWaveHeader.cpp
        ${CMAKE_SOURCE_DIR}/engine/SoundError.cpp
        ${CMAKE_SOURCE_DIR}/engine/Wave.cpp
        ${CMAKE_SOURCE_DIR}/engine/WaveFile.cpp
        ${CMAKE_SOURCE_DIR}/engine/WaveHeader.cpp
        ${CMAKE_SOURCE_DIR}/engine/WaveStream.cpp
        ${fuzz_wave_platform})
    target_include_directories(FuzzWaveHeader PRIVATE ${CMAKE_SOURCE_DIR})
    target_compile_options(FuzzWaveHeader PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(FuzzWaveHeader PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(FuzzWaveHeader PRIVATE PkgConfig::SDL2 PkgConfig::FREETYPE Threads::Threads)
    add_test(NAME FuzzWaveHeader
             COMMAND FuzzWaveHeader -max_total_time=20 -rss_limit_mb=2048 -seed=1
                     -dict=${CMAKE_CURRENT_LIST_DIR}/wave.dict)
endif()
