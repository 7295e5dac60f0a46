marlo_test(test_reset_sequence LABELS unit SOURCES test_reset_sequence.cpp LIBS resetlogic)
