file(REMOVE_RECURSE
  "CMakeFiles/common_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/common_autogen.dir/ParseCache.txt"
  "common_autogen"
  "CMakeFiles/common.dir/DatabaseFiles.cpp.o"
  "CMakeFiles/common.dir/DatabaseFiles.cpp.o.d"
  "CMakeFiles/common.dir/common_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/common.dir/common_autogen/mocs_compilation.cpp.o.d"
  "libcommon.a"
  "libcommon.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/common.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
