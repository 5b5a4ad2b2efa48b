# Flags for the whole build, and vantrel_strict() for our own targets.
# Compiler differences live here and nowhere else.

if(MSVC)
    set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
    add_compile_options(/utf-8 /permissive-)
    add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN)
    # ASLR (with 64-bit entropy in the x64 build), no executable data and terminal-server awareness,
    # stated even where they are the default; a hash, not the clock, as time stamp.
    # Control Flow Guard checks every indirect call against the image's table of targets.
    add_compile_options(/Brepro /guard:cf)
    add_link_options(/DYNAMICBASE /NXCOMPAT /TSAWARE /Brepro /guard:cf)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        add_link_options(/HIGHENTROPYVA)
    else()
        add_link_options(/LARGEADDRESSAWARE)
    endif()
    # Windows 7 is the oldest system the manifest names.
    set(CMAKE_CREATE_WIN32_EXE "/subsystem:windows,6.01")
    set(CMAKE_CREATE_CONSOLE_EXE "/subsystem:console,6.01")
elseif(WIN32)
    # MinGW: one self-contained exe that imports only system DLLs.
    add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN)
    # Release images are stripped; with VANTREL_DEBUG_FILE the debug information goes
    # to a file of its own instead (vantrel_debug_file).
    add_link_options(-static)
    if(VANTREL_DEBUG_FILE)
        add_compile_options(-g)
    else()
        add_link_options($<$<CONFIG:Release,MinSizeRel>:-s>)
    endif()
    # ASLR and no executable data.
    add_link_options(-Wl,--dynamicbase,--nxcompat)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        # 64-bit entropy needs an image base above 4 GB.
        add_link_options(-Wl,--high-entropy-va,--image-base,0x140000000)
    else()
        # 4 GB of address space instead of 2 under 64-bit Windows, 3 GB with /3GB.
        add_link_options(-Wl,--large-address-aware)
    endif()
    # Without terminal-server awareness, Remote Desktop servers hand the program a
    # private per-user Windows folder.
    add_link_options(-Wl,--tsaware)
    # Windows 7 is the oldest system the manifest names.
    add_link_options(-Wl,--major-subsystem-version,6,--minor-subsystem-version,1)
    # The stack protector's runtime (libssp) is linked statically like the rest.
    add_link_options(-fstack-protector-strong)
    # Ld takes the PE time stamp from SOURCE_DATE_EPOCH; the build fixes it once, at
    # configure time, from the environment or the last commit.
    include("${CMAKE_CURRENT_LIST_DIR}/SourceDateEpoch.cmake")
    set(CMAKE_CXX_LINKER_LAUNCHER
        "${CMAKE_COMMAND};-E;env;SOURCE_DATE_EPOCH=${VANTREL_SOURCE_DATE_EPOCH}")
endif()

if(WIN32 AND NOT MSVC)
    # Build folders stay out of the image and its debug information: sources are
    # named from the top of the tree. GCC tries the last mapping first.
    add_compile_options("-ffile-prefix-map=${PROJECT_SOURCE_DIR}=." "-ffile-prefix-map=${PROJECT_BINARY_DIR}=.")
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
        if(WIN32)
            # What Visual Studio reports at /W4 and GCC only when asked: signed and
            # unsigned mixed (C4245, C4365, C4018), narrowing (C4244, C4267) and
            # shadowing (C4456 to C4459). Unused parameters and locals (C4100, C4189)
            # are in -Wextra already.
            target_compile_options(${target} PRIVATE -Wconversion -Wsign-conversion -Wshadow)
        endif()
        if(WIN32 AND CMAKE_BUILD_TYPE MATCHES "Rel")
            # Checked copies and canaries where MinGW links their runtime statically.
            target_compile_options(${target} PRIVATE -fstack-protector-strong)
            target_compile_definitions(${target} PRIVATE _FORTIFY_SOURCE=2)
        endif()
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

# With VANTREL_DEBUG_FILE: the program's debug information in <exe>.debug beside it, and
# the exe stripped, naming that file in its debug link (so gdb finds it).
function(vantrel_debug_file target)
    if(NOT VANTREL_DEBUG_FILE)
        return()
    endif()
    if(MSVC)
        target_link_options(${target} PRIVATE /DEBUG /OPT:REF /OPT:ICF)
        return()
    endif()
    set(env "${CMAKE_COMMAND}" -E env "SOURCE_DATE_EPOCH=${VANTREL_SOURCE_DATE_EPOCH}")
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${env} "${CMAKE_OBJCOPY}" --only-keep-debug "$<TARGET_FILE_NAME:${target}>"
                "$<TARGET_FILE_NAME:${target}>.debug"
        COMMAND ${env} "${CMAKE_OBJCOPY}" --strip-all
                "--add-gnu-debuglink=$<TARGET_FILE_NAME:${target}>.debug" "$<TARGET_FILE_NAME:${target}>"
        WORKING_DIRECTORY "$<TARGET_FILE_DIR:${target}>"
        VERBATIM)
endfunction()
