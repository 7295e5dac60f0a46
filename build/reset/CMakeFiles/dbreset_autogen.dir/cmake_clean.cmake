file(REMOVE_RECURSE
  "CMakeFiles/dbreset_autogen"
  "dbreset_autogen/mocs_compilation.cpp"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/dbreset_autogen.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
