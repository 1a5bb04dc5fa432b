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
          share/man/man1/quorvela-viewer.1 share/thumbnailers/quorvela-viewer.thumbnailer
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

# The thumbnailer's Exec line run as a file manager runs it: %i the document, %o the picture, %s the
# size. A PNG of at most 128 pixels on its longer side comes out; a damaged document gives none and a
# failing exit status.
file(STRINGS "${prefix}/share/thumbnailers/quorvela-viewer.thumbnailer" exec REGEX "^Exec=")
string(REGEX REPLACE "^Exec=" "" exec "${exec}")
separate_arguments(exec UNIX_COMMAND "${exec}")
function(run_thumbnailer in out)
  set(command)
  foreach(word IN LISTS exec)
    string(REPLACE "%i" "${in}" word "${word}")
    string(REPLACE "%o" "${out}" word "${word}")
    string(REPLACE "%s" "128" word "${word}")
    list(APPEND command "${word}")
  endforeach()
  execute_process(COMMAND env "PATH=${prefix}/bin:$ENV{PATH}" ${command} RESULT_VARIABLE r OUTPUT_QUIET ERROR_QUIET
    TIMEOUT 30)
  set(status "${r}" PARENT_SCOPE)
endfunction()
run_thumbnailer("${SAMPLES}/demo.mnf" "${WORK}/demo.png")
if(NOT status EQUAL 0 OR NOT EXISTS "${WORK}/demo.png")
  message(FATAL_ERROR "the thumbnailer gave status ${status} for the demo")
endif()
file(READ "${WORK}/demo.png" png HEX LIMIT 26)
string(SUBSTRING "${png}" 0 16 magic)
string(SUBSTRING "${png}" 32 8 w)
string(SUBSTRING "${png}" 40 8 h)
string(SUBSTRING "${png}" 50 2 colour)
math(EXPR w "0x${w}")
math(EXPR h "0x${h}")
if(NOT magic STREQUAL "89504e470d0a1a0a" OR NOT colour STREQUAL "06")
  message(FATAL_ERROR "the thumbnail is no PNG with transparency: ${png}")
endif()
if(NOT (w EQUAL 128 OR h EQUAL 128) OR w GREATER 128 OR h GREATER 128)
  message(FATAL_ERROR "the thumbnail is ${w} x ${h}, not 128 on its longer side")
endif()
file(WRITE "${WORK}/damaged.mnf" "damaged")
run_thumbnailer("${WORK}/damaged.mnf" "${WORK}/damaged.png")
if(status EQUAL 0 OR EXISTS "${WORK}/damaged.png")
  message(FATAL_ERROR "a damaged document gave status ${status} and a picture")
endif()
