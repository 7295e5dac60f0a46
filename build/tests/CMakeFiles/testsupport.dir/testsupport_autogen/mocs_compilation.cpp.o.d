tests/CMakeFiles/testsupport.dir/testsupport_autogen/mocs_compilation.cpp.o: \
 /work/main/build/tests/testsupport_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
