file(REMOVE_RECURSE
  "CMakeFiles/dbtransfer_autogen"
  "dbtransfer_autogen/mocs_compilation.cpp"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/dbtransfer_autogen.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
