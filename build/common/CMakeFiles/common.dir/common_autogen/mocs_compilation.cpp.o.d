common/CMakeFiles/common.dir/common_autogen/mocs_compilation.cpp.o: \
 /work/main/build/common/common_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
