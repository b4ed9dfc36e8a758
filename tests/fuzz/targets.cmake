# The fuzz targets, one a file in tests/fuzz: built with libFuzzer (tests/fuzz/) and
# replayed on their seeds in every test run (tests/).
set(TAVIK_FUZZ_TARGETS
  fuzz_csv.cpp
  fuzz_dictionary.cpp
  fuzz_fielddata.cpp
  fuzz_freq_table_files.cpp
  fuzz_gzip_table.cpp
  fuzz_membership.cpp
  fuzz_saved_table.cpp
  fuzz_settings.cpp
  fuzz_zstd_table.cpp)
