# GoogleTest from source, so the native and the cross build share one version.
set(VANTREL_GOOGLETEST_DIR "/usr/src/googletest" CACHE PATH "GoogleTest source folder")

if(EXISTS "${VANTREL_GOOGLETEST_DIR}/CMakeLists.txt")
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    add_subdirectory("${VANTREL_GOOGLETEST_DIR}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
else()
    find_package(GTest REQUIRED)
endif()
include(GoogleTest)
