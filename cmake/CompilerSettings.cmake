# Flags for the whole build, and vantrel_strict() for our own targets.
# Compiler differences live here and nowhere else.

if(MSVC)
    set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
    add_compile_options(/utf-8 /permissive-)
    add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN)
    # ASLR with 64-bit entropy and no executable data, stated even where they are the default.
    add_link_options(/DYNAMICBASE /NXCOMPAT /HIGHENTROPYVA)
elseif(WIN32)
    # MinGW: one self-contained exe that imports only system DLLs.
    add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN)
    add_link_options(-static $<$<CONFIG:Release,MinSizeRel>:-s>)
    # ASLR with 64-bit entropy (image base above 4 GB) and no executable data.
    add_link_options(-Wl,--dynamicbase,--nxcompat,--high-entropy-va,--image-base,0x140000000)
endif()

if(VANTREL_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

if(VANTREL_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "VANTREL_FUZZ needs clang, whose libFuzzer the fuzz targets link")
    endif()
    # Coverage feedback for all the code under test; only the fuzz targets link libFuzzer's main.
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()

function(vantrel_strict target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /WX)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
    endif()
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# For programs whose entry point is wWinMain.
function(vantrel_wide_entry target)
    if(MINGW)
        target_link_options(${target} PRIVATE -municode)
    endif()
endfunction()

# For programs that embed their manifest through their .rc file.
function(vantrel_embedded_manifest target)
    if(MSVC)
        target_link_options(${target} PRIVATE /MANIFEST:NO)
    endif()
endfunction()
