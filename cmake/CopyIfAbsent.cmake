# cmake -DSOURCE=from -DTARGET=to -P copy_if_absent.cmake: copies a file unless its target exists.
if(NOT EXISTS "${TARGET}")
  file(COPY_FILE "${SOURCE}" "${TARGET}")
endif()
