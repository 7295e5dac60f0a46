file(REMOVE_RECURSE
  "CMakeFiles/common_autogen"
  "common_autogen/mocs_compilation.cpp"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/common_autogen.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
