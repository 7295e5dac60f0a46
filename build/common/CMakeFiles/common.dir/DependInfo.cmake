
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/common/DatabaseFiles.cpp" "common/CMakeFiles/common.dir/DatabaseFiles.cpp.o" "gcc" "common/CMakeFiles/common.dir/DatabaseFiles.cpp.o.d"
  "/work/main/build/common/common_autogen/mocs_compilation.cpp" "common/CMakeFiles/common.dir/common_autogen/mocs_compilation.cpp.o" "gcc" "common/CMakeFiles/common.dir/common_autogen/mocs_compilation.cpp.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
