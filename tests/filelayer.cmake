# The host file layer on real temporary folders.
marlo_test(test_file_layer LABELS unit TIMEOUT 60
    SOURCES test_file_paths.cpp test_file_operations.cpp test_file_copy.cpp test_file_members.cpp)
marlo_test(test_file_copy_kill LABELS unit TIMEOUT 60 SOURCES test_file_copy_kill.cpp)
marlo_test(test_file_in_use LABELS unit TIMEOUT 60 SOURCES test_file_in_use.cpp)
