file(REMOVE_RECURSE
  "../bin/dbreset"
  "../bin/dbreset.pdb"
  "CMakeFiles/dbreset_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/dbreset_autogen.dir/ParseCache.txt"
  "dbreset_autogen"
  "CMakeFiles/dbreset.dir/dbreset_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/dbreset.dir/dbreset_autogen/mocs_compilation.cpp.o.d"
  "CMakeFiles/dbreset.dir/main.cpp.o"
  "CMakeFiles/dbreset.dir/main.cpp.o.d"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/dbreset.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
