transfer/CMakeFiles/dbtransfer.dir/dbtransfer_autogen/mocs_compilation.cpp.o: \
 /work/main/build/transfer/dbtransfer_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
