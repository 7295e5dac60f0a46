file(REMOVE_RECURSE
  "CMakeFiles/testsupport_autogen"
  "testsupport_autogen/mocs_compilation.cpp"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/testsupport_autogen.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
