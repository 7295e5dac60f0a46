# Empty dependencies file for testsupport.
# This may be replaced when dependencies are built.
