# Empty custom commands generated dependencies file for common_autogen.
# This may be replaced when dependencies are built.
