# CMake generated Testfile for 
# Source directory: /work/main/tests
# Build directory: /work/main/build/tests
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
add_test([=[test_database_files]=] "/work/main/build/bin/test_database_files")
set_tests_properties([=[test_database_files]=] PROPERTIES  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=1" LABELS "unit" TIMEOUT "60" _BACKTRACE_TRIPLES "/work/main/tests/CMakeLists.txt;18;add_test;/work/main/tests/common.cmake;1;marlo_test;/work/main/tests/common.cmake;0;;/work/main/tests/CMakeLists.txt;27;include;/work/main/tests/CMakeLists.txt;0;")
