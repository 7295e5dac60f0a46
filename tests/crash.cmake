# The crash and fault suite: drivers killed at random instants, faults of the
# host. Label "crash"; part of every test run.
add_executable(crash_reset_driver crash_reset_driver.cpp)
target_link_libraries(crash_reset_driver PRIVATE testsupport resetlogic)

add_executable(test_crash_reset test_crash_reset.cpp)
target_link_libraries(test_crash_reset PRIVATE testsupport resetlogic GTest::gtest)
add_test(NAME test_crash_reset COMMAND test_crash_reset $<TARGET_FILE:crash_reset_driver>)
set_tests_properties(test_crash_reset PROPERTIES TIMEOUT 300 LABELS crash)

# Exports and imports killed at random instants.
add_executable(crash_copy_driver crash_copy_driver.cpp)
target_link_libraries(crash_copy_driver PRIVATE testsupport transferlogic)

add_executable(test_crash_copy test_crash_copy.cpp)
target_link_libraries(test_crash_copy PRIVATE testsupport GTest::gtest)
add_test(NAME test_crash_copy COMMAND test_crash_copy $<TARGET_FILE:crash_copy_driver>)
set_tests_properties(test_crash_copy PROPERTIES TIMEOUT 300 LABELS crash)

# Copies onto a full drive: a small tmpfs where the test may mount one, a
# file-size limit everywhere.
marlo_test(test_crash_disk_full LABELS crash TIMEOUT 120 SOURCES test_crash_disk_full.cpp
    LIBS transferlogic)

# An ordinary user (root drops to nobody) and a folder without write access.
marlo_test(test_crash_no_permission LABELS crash TIMEOUT 60 SOURCES test_crash_no_permission.cpp
    LIBS transferlogic resetlogic)

# Hostile names through the commands, the reset and the file layer.
marlo_test(test_crash_hostile_names LABELS crash TIMEOUT 60 SOURCES test_crash_hostile_names.cpp
    LIBS transferlogic resetlogic)

# Files held open by another program: the commands and the reset on real
# folders.
marlo_test(test_in_use_flows LABELS crash TIMEOUT 60 SOURCES test_in_use_flows.cpp
    LIBS transferlogic resetlogic)
