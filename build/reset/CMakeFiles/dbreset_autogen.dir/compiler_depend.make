# Empty custom commands generated dependencies file for dbreset_autogen.
# This may be replaced when dependencies are built.
