file(REMOVE_RECURSE
  "../bin/dbtransfer"
  "../bin/dbtransfer.pdb"
  "CMakeFiles/dbtransfer_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/dbtransfer_autogen.dir/ParseCache.txt"
  "dbtransfer_autogen"
  "CMakeFiles/dbtransfer.dir/dbtransfer_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/dbtransfer.dir/dbtransfer_autogen/mocs_compilation.cpp.o.d"
  "CMakeFiles/dbtransfer.dir/main.cpp.o"
  "CMakeFiles/dbtransfer.dir/main.cpp.o.d"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/dbtransfer.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
