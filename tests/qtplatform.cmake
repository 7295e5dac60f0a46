marlo_test(test_qt_platform LABELS qt TIMEOUT 60
    SOURCES test_qt_platform.cpp test_qt_program_start.cpp qt_test_main.cpp LIBS qtplatform)
