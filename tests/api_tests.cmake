# The tests of the C++ interface, which also run through the C++ layer over
# the C interface (here and in tests/other_runtime). Paths are relative to tests/.
set(ORVJSON_API_TEST_FILES
  test_array_members.cpp
  test_fuzz_replay.cpp
  test_hostile.cpp
  test_keyed_getters.cpp
  test_lifecycle.cpp
  test_load.cpp
  test_load_file.cpp
  test_nesting.cpp
  test_object_copies.cpp
  test_root_array.cpp
  test_save.cpp
  test_scenarios.cpp
  test_setters.cpp
  test_threads.cpp
  test_type_queries.cpp
  test_write.cpp
  ../fuzz/api_checks.cpp
  ../fuzz/text_checks.cpp
)
