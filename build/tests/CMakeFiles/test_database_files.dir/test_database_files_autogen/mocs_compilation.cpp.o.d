tests/CMakeFiles/test_database_files.dir/test_database_files_autogen/mocs_compilation.cpp.o: \
 /work/main/build/tests/test_database_files_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
