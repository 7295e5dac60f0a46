
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/tests/test_database_files.cpp" "tests/CMakeFiles/test_database_files.dir/test_database_files.cpp.o" "gcc" "tests/CMakeFiles/test_database_files.dir/test_database_files.cpp.o.d"
  "/work/main/build/tests/test_database_files_autogen/mocs_compilation.cpp" "tests/CMakeFiles/test_database_files.dir/test_database_files_autogen/mocs_compilation.cpp.o" "gcc" "tests/CMakeFiles/test_database_files.dir/test_database_files_autogen/mocs_compilation.cpp.o.d"
  "/work/main/tests/test_error_policies.cpp" "tests/CMakeFiles/test_database_files.dir/test_error_policies.cpp.o" "gcc" "tests/CMakeFiles/test_database_files.dir/test_error_policies.cpp.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/main/build/tests/CMakeFiles/testsupport.dir/DependInfo.cmake"
  "/work/main/build/common/CMakeFiles/common.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
