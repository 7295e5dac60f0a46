marlo_test(test_transfer_commands LABELS unit SOURCES test_transfer_commands.cpp LIBS transferlogic)
marlo_test(test_qt_common_dialog LABELS qt TIMEOUT 60
    SOURCES test_qt_common_dialog.cpp qt_test_main.cpp LIBS qtplatform)
marlo_test(test_import_window LABELS qt TIMEOUT 60
    SOURCES test_import_window.cpp qt_test_main.cpp LIBS transferwindow)
marlo_test(test_progress_copy LABELS qt TIMEOUT 120
    SOURCES test_progress_copy.cpp qt_test_main.cpp LIBS transferwindow)
marlo_test(test_progress_texts LABELS unit SOURCES test_progress_texts.cpp LIBS transferwindow)
