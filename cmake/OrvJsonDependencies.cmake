# The header-only dependencies: RapidJSON (the document model, parser and
# writer) and fast_float (exact decimal to double conversion). Debian's
# rapidjson-dev and libfast-float-dev provide them; a cross build points
# ORVJSON_RAPIDJSON_INCLUDE_DIR and ORVJSON_FASTFLOAT_INCLUDE_DIR at a folder
# holding only their headers, so that no host C library header leaks in.
set(ORVJSON_RAPIDJSON_INCLUDE_DIR "" CACHE PATH "Folder that holds rapidjson/document.h")
set(ORVJSON_FASTFLOAT_INCLUDE_DIR "" CACHE PATH "Folder that holds fast_float/fast_float.h")

if(NOT ORVJSON_RAPIDJSON_INCLUDE_DIR)
  find_package(RapidJSON CONFIG QUIET)
  if(RapidJSON_FOUND AND RAPIDJSON_INCLUDE_DIRS)
    set(ORVJSON_RAPIDJSON_INCLUDE_DIR "${RAPIDJSON_INCLUDE_DIRS}")
  else()
    find_path(ORVJSON_RAPIDJSON_FOUND_DIR rapidjson/document.h)
    set(ORVJSON_RAPIDJSON_INCLUDE_DIR "${ORVJSON_RAPIDJSON_FOUND_DIR}")
  endif()
endif()
if(NOT ORVJSON_FASTFLOAT_INCLUDE_DIR)
  find_path(ORVJSON_FASTFLOAT_FOUND_DIR fast_float/fast_float.h)
  set(ORVJSON_FASTFLOAT_INCLUDE_DIR "${ORVJSON_FASTFLOAT_FOUND_DIR}")
endif()

if(NOT EXISTS "${ORVJSON_RAPIDJSON_INCLUDE_DIR}/rapidjson/document.h")
  message(FATAL_ERROR "RapidJSON not found: install rapidjson-dev or set ORVJSON_RAPIDJSON_INCLUDE_DIR")
endif()
if(NOT EXISTS "${ORVJSON_FASTFLOAT_INCLUDE_DIR}/fast_float/fast_float.h")
  message(FATAL_ERROR "fast_float not found: install libfast-float-dev or set ORVJSON_FASTFLOAT_INCLUDE_DIR")
endif()

add_library(orvjson_rapidjson INTERFACE)
add_library(OrvJson::rapidjson ALIAS orvjson_rapidjson)
target_include_directories(orvjson_rapidjson SYSTEM INTERFACE "${ORVJSON_RAPIDJSON_INCLUDE_DIR}")

add_library(orvjson_fastfloat INTERFACE)
target_include_directories(orvjson_fastfloat SYSTEM INTERFACE "${ORVJSON_FASTFLOAT_INCLUDE_DIR}")
