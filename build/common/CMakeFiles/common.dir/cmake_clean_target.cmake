file(REMOVE_RECURSE
  "libcommon.a"
)
