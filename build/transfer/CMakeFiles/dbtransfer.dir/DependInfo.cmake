
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/build/transfer/dbtransfer_autogen/mocs_compilation.cpp" "transfer/CMakeFiles/dbtransfer.dir/dbtransfer_autogen/mocs_compilation.cpp.o" "gcc" "transfer/CMakeFiles/dbtransfer.dir/dbtransfer_autogen/mocs_compilation.cpp.o.d"
  "/work/main/transfer/main.cpp" "transfer/CMakeFiles/dbtransfer.dir/main.cpp.o" "gcc" "transfer/CMakeFiles/dbtransfer.dir/main.cpp.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/main/build/common/CMakeFiles/common.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
