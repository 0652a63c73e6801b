# Kelvaro as a portable folder: the catalogue lives beside the program, so
# the programs, the icon, the desktop entry and the catalogue share one
# folder that the user owns.
#
#   cmake --install build --prefix DIR   lays out DIR, or updates it
#   cpack -G TGZ (in build/)             kelvaro-<version>-linux-<arch>.tar.gz
#
# An update replaces the programs, the icon and the entry; the catalogue
# (jixing.dat and the machine files) is only ever written by the program.

set(kelvaro_examples "${PROJECT_SOURCE_DIR}/docs/examples/catalogue")
set(kelvaro_desktop_template "${CMAKE_CURRENT_LIST_DIR}/kelvaro.desktop.in")
set(kelvaro_folder_script "${CMAKE_CURRENT_LIST_DIR}/folder.cmake")

install(TARGETS kelvaro kelvaro-calc RUNTIME DESTINATION .)
install(FILES "${PROJECT_SOURCE_DIR}/resources/kelvaro.png" DESTINATION .)
install(CODE "include(\"${kelvaro_folder_script}\")
kelvaro_install_folder(\"${kelvaro_examples}\" \"${kelvaro_desktop_template}\")")

# A build opens with the example machines too (scripts/run.sh): they are
# copied beside the built program where it has no catalogue yet.
add_custom_target(kelvaro_example_catalogue ALL
    COMMAND "${CMAKE_COMMAND}" "-DKELVARO_EXAMPLES=${kelvaro_examples}"
            "-DKELVARO_TO=$<TARGET_FILE_DIR:kelvaro>" -P "${kelvaro_folder_script}"
    VERBATIM)
add_dependencies(kelvaro kelvaro_example_catalogue)

# The tarball holds the same folder under kelvaro-<version>-linux-<arch>/.
# Unpacked anywhere, its entry can only name the program and the icon;
# scripts/install.sh writes an entry with the folder's paths.
string(TOLOWER "${CMAKE_SYSTEM_PROCESSOR}" kelvaro_arch)
set(CPACK_GENERATOR TGZ)
set(CPACK_PACKAGE_NAME kelvaro)
set(CPACK_PACKAGE_FILE_NAME "kelvaro-${PROJECT_VERSION}-linux-${kelvaro_arch}")
set(CPACK_STRIP_FILES ON)
set(CPACK_VERBATIM_VARIABLES ON)
# CPackConfig.cmake keeps only CPACK_ variables, hence these names.
set(CPACK_KELVARO_DESKTOP_TEMPLATE "${kelvaro_desktop_template}")
set(CPACK_KELVARO_FOLDER_SCRIPT "${kelvaro_folder_script}")
set(CPACK_PRE_BUILD_SCRIPTS "${CMAKE_CURRENT_LIST_DIR}/tarball_entry.cmake")
include(CPack)
