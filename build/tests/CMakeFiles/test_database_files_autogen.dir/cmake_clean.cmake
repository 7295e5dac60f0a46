file(REMOVE_RECURSE
  "CMakeFiles/test_database_files_autogen"
  "test_database_files_autogen/mocs_compilation.cpp"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/test_database_files_autogen.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
