file(REMOVE_RECURSE
  "../bin/test_database_files"
  "../bin/test_database_files.pdb"
  "CMakeFiles/test_database_files_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/test_database_files_autogen.dir/ParseCache.txt"
  "test_database_files_autogen"
  "CMakeFiles/test_database_files.dir/test_database_files.cpp.o"
  "CMakeFiles/test_database_files.dir/test_database_files.cpp.o.d"
  "CMakeFiles/test_database_files.dir/test_database_files_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/test_database_files.dir/test_database_files_autogen/mocs_compilation.cpp.o.d"
  "CMakeFiles/test_database_files.dir/test_error_policies.cpp.o"
  "CMakeFiles/test_database_files.dir/test_error_policies.cpp.o.d"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/test_database_files.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
