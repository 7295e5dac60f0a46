# Empty custom commands generated dependencies file for testsupport_autogen.
# This may be replaced when dependencies are built.
