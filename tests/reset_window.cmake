marlo_test(test_reset_window LABELS qt TIMEOUT 90
    SOURCES test_reset_window.cpp test_reset_window_run.cpp qt_test_main.cpp LIBS resetwindow)
