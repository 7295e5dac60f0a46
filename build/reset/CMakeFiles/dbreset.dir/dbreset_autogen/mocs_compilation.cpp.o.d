reset/CMakeFiles/dbreset.dir/dbreset_autogen/mocs_compilation.cpp.o: \
 /work/main/build/reset/dbreset_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
