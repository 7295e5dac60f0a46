# Empty compiler generated dependencies file for common.
# This may be replaced when dependencies are built.
