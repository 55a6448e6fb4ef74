# The release: tarnby.exe with its companions (restart.exe, and tarnby.com for
# the command line), its guide and the licence, as one folder (cmake
# --install) and as one archive (cpack, tools/package.sh).
install(TARGETS tarnby tarnby_com restart RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/resources/readme.txt ${PROJECT_SOURCE_DIR}/LICENSE.txt DESTINATION .)

# The static C++ runtime brings debug sections along; a release ships without them.
foreach(exe tarnby tarnby_com restart)
  target_link_options(${exe} PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>)
endforeach()

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tarnby)
set(CPACK_PACKAGE_VENDOR Tarnby)
set(CPACK_PACKAGE_FILE_NAME "Tarnby-${PROJECT_VERSION}-win64")
# The programs, the guide and the licence sit at the top of the archive.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE.txt)
include(CPack)
