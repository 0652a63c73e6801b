# Run by CPack on the staged folder before it is packed: the tarball's
# desktop entry names the program and the icon, since the folder may be
# unpacked anywhere.
include("${CPACK_KELVARO_FOLDER_SCRIPT}")
kelvaro_write_desktop_entry("${CPACK_KELVARO_DESKTOP_TEMPLATE}"
    "${CPACK_TEMPORARY_DIRECTORY}/kelvaro.desktop" kelvaro kelvaro)
