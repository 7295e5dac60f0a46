file(REMOVE_RECURSE
  "CMakeFiles/testsupport_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/testsupport_autogen.dir/ParseCache.txt"
  "testsupport_autogen"
  "CMakeFiles/testsupport.dir/FakePlatform.cpp.o"
  "CMakeFiles/testsupport.dir/FakePlatform.cpp.o.d"
  "CMakeFiles/testsupport.dir/testsupport_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/testsupport.dir/testsupport_autogen/mocs_compilation.cpp.o.d"
  "libtestsupport.a"
  "libtestsupport.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/testsupport.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
