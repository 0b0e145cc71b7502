# After a direct install, refresh the desktop's caches so that the file type, the icon and the
# menu entry take effect at once. A staged install (DESTDIR) leaves that to the package.
if(NOT "$ENV{DESTDIR}" STREQUAL "")
  return()
endif()
set(data "${CMAKE_INSTALL_PREFIX}/share")
find_program(update_mime update-mime-database)
if(update_mime)
  execute_process(COMMAND ${update_mime} "${data}/mime")
endif()
# An icon cache only where the theme is a full one: a stale cache in a user's own folder
# would hide icons installed later.
find_program(update_icons gtk-update-icon-cache)
if(update_icons AND EXISTS "${data}/icons/hicolor/index.theme")
  execute_process(COMMAND ${update_icons} -q -f "${data}/icons/hicolor")
endif()
find_program(update_desktop update-desktop-database)
if(update_desktop)
  execute_process(COMMAND ${update_desktop} -q "${data}/applications")
endif()
