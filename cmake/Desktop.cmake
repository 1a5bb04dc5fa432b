# The desktop side of the program, included from app/CMakeLists.txt: its help and icons beside the
# program in the build tree, its built-in pictures, and the install rules.
#
#   cmake --install build                         system-wide under CMAKE_INSTALL_PREFIX (/usr/local)
#   cmake --install build --prefix ~/.local       for one user, without root
#
# Installs the program, its help (share/quorvela-viewer/hlp), the icons (application and the two file
# types, PNG in several sizes and SVG), a desktop entry with the two MIME types, the MIME package and
# the man page, then refreshes the MIME, desktop and icon caches of that prefix when the tools exist.
include(GNUInstallDirs)
set(QV_RESOURCES ${PROJECT_SOURCE_DIR}/resources)

# Pictures the program carries inside: the about picture, the file-type icon of the Registry dialog,
# the tool bar's icons (rendered through Qt SVG) and the application's icon, the one installed.
set_source_files_properties(${QV_RESOURCES}/icons/hicolor/32x32/mimetypes/application-x-quorvela-mnf.png
  PROPERTIES QT_RESOURCE_ALIAS mnf.png)
file(GLOB qv_toolbar_icons CONFIGURE_DEPENDS ${QV_RESOURCES}/icons/toolbar/*.svg)
qt_add_resources(qv_app qv_pictures PREFIX /qv BASE ${QV_RESOURCES} FILES
  ${QV_RESOURCES}/about.jpg
  ${QV_RESOURCES}/icons/hicolor/32x32/mimetypes/application-x-quorvela-mnf.png
  ${QV_RESOURCES}/icons/hicolor/scalable/apps/quorvela-viewer.svg
  ${qv_toolbar_icons})
target_link_libraries(qv_app PUBLIC JPEG::JPEG)

# The help and the icons beside the program, so that the build tree runs like an installed copy.
add_custom_target(qv_program_files ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory $<TARGET_FILE_DIR:quorvela-viewer>/hlp
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PROJECT_SOURCE_DIR}/hlp/Quorvela3DViewer.html
          $<TARGET_FILE_DIR:quorvela-viewer>/hlp/Quorvela3DViewer.html
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${QV_RESOURCES}/icons $<TARGET_FILE_DIR:quorvela-viewer>/icons
  COMMENT "Help and icons beside the program"
  VERBATIM)
add_dependencies(quorvela-viewer qv_program_files)

install(FILES ${PROJECT_SOURCE_DIR}/hlp/Quorvela3DViewer.html DESTINATION ${CMAKE_INSTALL_DATADIR}/quorvela-viewer/hlp)
install(DIRECTORY ${QV_RESOURCES}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${QV_RESOURCES}/quorvela-viewer.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QV_RESOURCES}/quorvela-viewer.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${QV_RESOURCES}/quorvela-viewer.thumbnailer DESTINATION ${CMAKE_INSTALL_DATADIR}/thumbnailers)
install(FILES ${QV_RESOURCES}/quorvela-viewer.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(CODE [[
  if(NOT DEFINED ENV{DESTDIR} OR "$ENV{DESTDIR}" STREQUAL "")
    set(share "${CMAKE_INSTALL_PREFIX}/share")
    find_program(QV_UPDATE_MIME update-mime-database)
    find_program(QV_UPDATE_DESKTOP update-desktop-database)
    find_program(QV_UPDATE_ICONS gtk-update-icon-cache)
    if(QV_UPDATE_MIME)
      execute_process(COMMAND ${QV_UPDATE_MIME} "${share}/mime" RESULT_VARIABLE r OUTPUT_QUIET ERROR_QUIET)
    endif()
    if(QV_UPDATE_DESKTOP)
      execute_process(COMMAND ${QV_UPDATE_DESKTOP} "${share}/applications" OUTPUT_QUIET ERROR_QUIET)
    endif()
    if(QV_UPDATE_ICONS AND EXISTS "${share}/icons/hicolor/index.theme")
      execute_process(COMMAND ${QV_UPDATE_ICONS} -q -t "${share}/icons/hicolor" OUTPUT_QUIET ERROR_QUIET)
    endif()
  endif()
]])
