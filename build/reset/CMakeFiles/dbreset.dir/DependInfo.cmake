
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/build/reset/dbreset_autogen/mocs_compilation.cpp" "reset/CMakeFiles/dbreset.dir/dbreset_autogen/mocs_compilation.cpp.o" "gcc" "reset/CMakeFiles/dbreset.dir/dbreset_autogen/mocs_compilation.cpp.o.d"
  "/work/main/reset/main.cpp" "reset/CMakeFiles/dbreset.dir/main.cpp.o" "gcc" "reset/CMakeFiles/dbreset.dir/main.cpp.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/main/build/common/CMakeFiles/common.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
