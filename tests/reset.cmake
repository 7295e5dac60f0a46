marlo_test(test_reset_sequence LABELS unit SOURCES test_reset_sequence.cpp LIBS resetlogic)
marlo_test(test_reset_on_disk LABELS unit SOURCES test_reset_on_disk.cpp LIBS resetlogic)
