# Empty dependencies file for dbtransfer.
# This may be replaced when dependencies are built.
