# Empty dependencies file for test_database_files.
# This may be replaced when dependencies are built.
