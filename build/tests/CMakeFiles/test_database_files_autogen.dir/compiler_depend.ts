# CMAKE generated file: DO NOT EDIT!
# Timestamp file for custom commands dependencies management for test_database_files_autogen.
