# Empty dependencies file for dbreset.
# This may be replaced when dependencies are built.
