# Warnings and sanitizers for OrvJson's own targets (never for RapidJSON's
# headers, which are included as system headers).
add_library(orvjson_compile_options INTERFACE)

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  target_compile_options(orvjson_compile_options INTERFACE -Wall -Wextra -Wpedantic)
  # The source and build folders' paths stay out of the objects (their debug
  # information names them), so that the same sources built in two folders
  # give the same library, build id included. The build folder is mapped
  # last, so that it wins where it lies inside the source folder.
  target_compile_options(orvjson_compile_options INTERFACE "-ffile-prefix-map=${PROJECT_SOURCE_DIR}=src"
    "-ffile-prefix-map=${CMAKE_BINARY_DIR}=.")
  if(ORVJSON_WERROR)
    target_compile_options(orvjson_compile_options INTERFACE -Werror)
  endif()
endif()

if(ORVJSON_SANITIZE)
  set(_orvjson_sanitize -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    # RapidJSON 1.1.0 does pointer arithmetic on a null base in its internal
    # stack; those reports are RapidJSON's own, so its headers are ignored.
    list(APPEND _orvjson_sanitize
      "-fsanitize-ignorelist=${CMAKE_CURRENT_LIST_DIR}/sanitizer-ignorelist.txt")
  endif()
  add_compile_options(${_orvjson_sanitize})
  add_link_options(-fsanitize=address,undefined)
endif()

if(ORVJSON_SANITIZE_THREAD)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

if(ORVJSON_BUILD_FUZZ)
  # Coverage for libFuzzer in every object; the targets add the fuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
