# Empty custom commands generated dependencies file for test_database_files_autogen.
# This may be replaced when dependencies are built.
