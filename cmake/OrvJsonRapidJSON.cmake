# RapidJSON is header-only. Debian's rapidjson-dev ships a CMake package that
# names its include folder; a cross build can point ORVJSON_RAPIDJSON_INCLUDE_DIR
# at a folder holding only the rapidjson headers instead.
set(ORVJSON_RAPIDJSON_INCLUDE_DIR "" CACHE PATH "Folder that holds rapidjson/document.h")

if(NOT ORVJSON_RAPIDJSON_INCLUDE_DIR)
  find_package(RapidJSON CONFIG QUIET)
  if(RapidJSON_FOUND AND RAPIDJSON_INCLUDE_DIRS)
    set(ORVJSON_RAPIDJSON_INCLUDE_DIR "${RAPIDJSON_INCLUDE_DIRS}")
  else()
    find_path(ORVJSON_RAPIDJSON_FOUND_DIR rapidjson/document.h)
    set(ORVJSON_RAPIDJSON_INCLUDE_DIR "${ORVJSON_RAPIDJSON_FOUND_DIR}")
  endif()
endif()

if(NOT EXISTS "${ORVJSON_RAPIDJSON_INCLUDE_DIR}/rapidjson/document.h")
  message(FATAL_ERROR "RapidJSON not found: install rapidjson-dev or set ORVJSON_RAPIDJSON_INCLUDE_DIR")
endif()

add_library(orvjson_rapidjson INTERFACE)
add_library(OrvJson::rapidjson ALIAS orvjson_rapidjson)
target_include_directories(orvjson_rapidjson SYSTEM INTERFACE "${ORVJSON_RAPIDJSON_INCLUDE_DIR}")
