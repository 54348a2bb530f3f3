# The setup program is named apart from the zip.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "callerid-${CPACK_PACKAGE_VERSION}-setup")
endif()
