file(REMOVE_RECURSE
  "libtestsupport.a"
)
