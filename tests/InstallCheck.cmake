# Installs the build into a private prefix, as a user would with `cmake --install build --prefix
# ~/.local`, and checks that the desktop finds the program, its help, icons, MIME types and man page.
#   -DBUILD=<build folder> -DWORK=<scratch folder>
file(REMOVE_RECURSE "${WORK}")
set(prefix "${WORK}/prefix")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD}" --prefix "${prefix}"
  RESULT_VARIABLE r OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT r EQUAL 0)
  message(FATAL_ERROR "install failed: ${err}")
endif()

foreach(f bin/quorvela-viewer share/quorvela-viewer/hlp/Quorvela3DViewer.html
          share/applications/quorvela-viewer.desktop share/mime/packages/quorvela-viewer.xml
          share/man/man1/quorvela-viewer.1
          share/icons/hicolor/scalable/apps/quorvela-viewer.svg
          share/icons/hicolor/48x48/apps/quorvela-viewer.png
          share/icons/hicolor/16x16/mimetypes/application-x-quorvela-mnf.png
          share/icons/hicolor/256x256/mimetypes/application-x-quorvela-mvf.png
          share/icons/hicolor/scalable/mimetypes/application-x-quorvela-mvf.svg)
  if(NOT EXISTS "${prefix}/${f}")
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()

# The MIME database of the prefix was refreshed and knows both file types.
file(READ "${prefix}/share/mime/globs2" globs)
foreach(g "application/x-quorvela-mnf:\\*.mnf" "application/x-quorvela-mvf:\\*.mvf")
  if(NOT globs MATCHES "${g}")
    message(FATAL_ERROR "MIME database of the prefix lacks ${g}")
  endif()
endforeach()

# With nothing chosen by the user, the desktop opens both types with the installed viewer.
file(MAKE_DIRECTORY "${WORK}/empty")
foreach(type application/x-quorvela-mnf application/x-quorvela-mvf)
  execute_process(COMMAND env -u XDG_CURRENT_DESKTOP -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID -u DESKTOP_SESSION
      "PATH=${prefix}/bin:$ENV{PATH}" "XDG_DATA_HOME=${WORK}/empty" "XDG_CONFIG_HOME=${WORK}/empty"
      "XDG_CONFIG_DIRS=${WORK}/empty" "XDG_DATA_DIRS=${prefix}/share" xdg-mime query default ${type}
    OUTPUT_VARIABLE app OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT app STREQUAL "quorvela-viewer.desktop")
    message(FATAL_ERROR "xdg-mime gives '${app}' for ${type}")
  endif()
endforeach()
