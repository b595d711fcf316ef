# Third-party code: GoogleTest built from Debian's sources per target, zlib, stb_image, libcurl (for
# MinGW, the static build that scripts/setup leaves in the dependency cache), Google Benchmark.

set(TOLVANE_DEPS_DIR "/var/cache/tolvane-deps" CACHE PATH "Where scripts/setup keeps the MinGW libcurl builds")

if(TOLVANE_BUILD_TESTS)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()

# stb_image: header only; the one translation unit that implements it lives in skin/.
add_library(stb_headers INTERFACE)
target_include_directories(stb_headers SYSTEM INTERFACE /usr/include/stb)

if(WIN32)
  find_library(ZLIB_STATIC NAMES libz.a REQUIRED)
  add_library(tolvane_zlib INTERFACE)
  target_link_libraries(tolvane_zlib INTERFACE ${ZLIB_STATIC})

  file(GLOB _curl_dirs "${TOLVANE_DEPS_DIR}/curl-*-${CMAKE_SYSTEM_PROCESSOR}")
  list(SORT _curl_dirs)
  list(POP_BACK _curl_dirs TOLVANE_CURL_DIR)
  if(NOT TOLVANE_CURL_DIR OR NOT EXISTS "${TOLVANE_CURL_DIR}/lib/libcurl.a")
    message(FATAL_ERROR "No MinGW libcurl for ${CMAKE_SYSTEM_PROCESSOR} in ${TOLVANE_DEPS_DIR}: run scripts/setup")
  endif()
  add_library(tolvane_curl INTERFACE)
  target_include_directories(tolvane_curl SYSTEM INTERFACE ${TOLVANE_CURL_DIR}/include)
  target_compile_definitions(tolvane_curl INTERFACE CURL_STATICLIB)
  target_link_libraries(tolvane_curl INTERFACE ${TOLVANE_CURL_DIR}/lib/libcurl.a
    ws2_32 crypt32 bcrypt advapi32 secur32)
else()
  find_package(ZLIB REQUIRED)
  add_library(tolvane_zlib INTERFACE)
  target_link_libraries(tolvane_zlib INTERFACE ZLIB::ZLIB)
  find_package(CURL)
  if(CURL_FOUND)
    add_library(tolvane_curl INTERFACE)
    target_link_libraries(tolvane_curl INTERFACE CURL::libcurl)
  endif()
  if(TOLVANE_BUILD_BENCHMARKS)
    find_package(benchmark REQUIRED)
    find_package(pugixml)
  endif()
endif()
