# Empty custom commands generated dependencies file for dbtransfer_autogen.
# This may be replaced when dependencies are built.
